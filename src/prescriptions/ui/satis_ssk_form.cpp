#include "prescriptions/ui/satis_ssk_form.h"

#include "core/format.h"
#include "data/codes.h"
#include "data/table.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "platform/ui/list_keys.h"
#include "sales/product_list_model.h"
#include "sales/ui/arajen_dlg.h"
#include "sales/ui/product_list_view.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- the working list

SskLinesModel::SskLinesModel(SatisSskLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void SskLinesModel::reload()
{
    beginResetModel();
    lines_ = logic_.lines();
    endResetModel();
}

QVariant SskLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    const SskLine& l = lines_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Given || index.column() == Prescribed ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                         : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole && index.column() == Price) return numberText(l.price, 2);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case No: return l.no;
    case Given: return l.name;
    case Prescribed: return l.prescribedName;
    case Equivalence: return l.equivalence;
    case DailyUse: return l.dailyUse;
    case Dose: return l.dose;
    case Quantity: return l.quantity;
    case Price: return formatMask(u"#,##0"_s, l.price);
    }
    return {};
}

QVariant SskLinesModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"No"_s,       u"Verilen Ürün Adı"_s, u"Reçetedeki İlaç Adı"_s, u"Eşd.Kod"_s,
                                    u"Gün.Kul."_s, u"Doz"_s,              u"Adet"_s,                u"Fiyatı"_s};
    return titles.value(section);
}

Qt::ItemFlags SskLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() >= Equivalence) f |= Qt::ItemIsEditable;
    return f;
}

bool SskLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= lines_.size()) return false;
    SskLine l = lines_[index.row()];
    const QString text = value.toString();
    double v = 0;
    switch (index.column()) {
    case Equivalence: l.equivalence = text.left(3); break;
    case DailyUse: l.dailyUse = text.left(1); break;
    case Dose: l.dose = text.left(3); break;
    case Quantity:
        if (!parseNumber(text, &v)) return false;
        l.quantity = int(v);
        break;
    case Price:
        if (!parseNumber(text, &v)) return false;
        l.price = v;
        break;
    default: return false;
    }
    const auto post = [&] { logic_.postLine(l); };
    if (prompter) runCommand(*prompter, post);
    else post();
    reload();
    if (onChanged) onChanged();
    return true;
}

// ---------------------------------------------------------------- the window

TSatisSSKForm::TSatisSSKForm(Session& session, SskSaleLinks links, TAraJenDlg* search, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), logic_(session, nullptr, std::move(links)), search_(search)
{
    setObjectName(u"TSatisSSKForm"_s);
    setWindowTitle(u"SSK REÇETELERİ İÇİN SATIŞ İŞLEMLERİ"_s);
    setWindowModality(Qt::ApplicationModal);
    createLists();
    createBoxes();
    createButtons();
    layOut();
    createShortcuts();
    resize(1100, 760);
}

TSatisSSKForm::~TSatisSSKForm() = default;

QLabel* TSatisSSKForm::addLabel(const QString& name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

QPushButton* TSatisSSKForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [this, run] { command(run); });
    buttons_.insert(name, b);
    return b;
}

void TSatisSSKForm::createLists()
{
    products_ = createProductListView(this);
    products_->installEventFilter(this);
    connect(products_, &QTableView::doubleClicked, this, [this] { command([this] { logic_.enterInProductList(); }); });

    lines_ = new QTableView(this);
    lines_->setObjectName(u"SskList"_s);
    lines_->setSelectionBehavior(QAbstractItemView::SelectItems);
    lines_->verticalHeader()->hide();
    lines_->installEventFilter(this);
    lineModel_ = new SskLinesModel(logic_, this);
    lineModel_->prompter = &session_.prompter;
    // The total follows every posted line, after the editor has closed.
    lineModel_->onChanged = [this] { QTimer::singleShot(0, this, [this] { guarded([this] { refresh(); }); }); };
    lines_->setModel(lineModel_);
    lines_->horizontalHeader()->setSectionResizeMode(SskLinesModel::Given, QHeaderView::Stretch);
    lines_->horizontalHeader()->setSectionResizeMode(SskLinesModel::Prescribed, QHeaderView::Stretch);
    lines_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
}

void TSatisSSKForm::createBoxes()
{
    addLabel(u"Aranan"_s);
    QLabel* modeLabel = addLabel(u"Mode"_s);
    QFont bold = modeLabel->font();
    bold.setBold(true);
    modeLabel->setFont(bold);
    addLabel(u"Grup"_s);
    addLabel(u"Jenerik"_s);
    addLabel(u"Endikasyon"_s);
    QLabel* type = addLabel(u"ReceteTipi"_s);
    type->setFont(bold);
    type->setAutoFillBackground(true);
    for (QLabel* l : {addLabel(u"Eski"_s, u"ESKİ"_s), addLabel(u"EskiTarih"_s), addLabel(u"EskiNo"_s),
                      addLabel(u"Duzeltme"_s, u"DÜZELTME"_s)}) {
        l->setFont(bold);
        l->setStyleSheet(u"color: #a00000"_s);
    }
    addLabel(u"Toplam"_s)->setFont(bold);
    dateBox_ = new QLineEdit(this);
    dateBox_->setObjectName(u"ReceteTarihi"_s);
    dateBox_->setInputMask(u"00.00.0000;_"_s);
    dateBox_->setMaximumWidth(110);
    connect(dateBox_, &QLineEdit::editingFinished, this, &TSatisSSKForm::takeDateBox);
}

void TSatisSSKForm::takeDateBox()
{
    logic_.setDateBox(dateBox_->displayText().replace(u'_', u' '));
    guarded([this] { logic_.dateBoxLeft(); });
    if (logic_.dateBox().remove(u'.').trimmed().isEmpty()) dateBox_->clear();
}

void TSatisSSKForm::leaveBox()
{
    // A shortcut does not leave the box, so its editingFinished would come too late.
    if (focusWidget() != dateBox_) return;
    takeDateBox();
    products_->setFocus();
}

void TSatisSSKForm::createButtons()
{
    addButton(u"EskiReceteler"_s, u"Eski Reçeteler"_s, [this] { logic_.eskiReceteler(); });
    addButton(u"Kayit"_s, u"SSK Reçete Kayıt"_s, [this] { logic_.sskReceteKayit(); });
    addButton(u"EsdegerYaz"_s, u"Eşdeğerini Yazdır"_s, [this] { writeEquivalent(); });
    addButton(u"EsdegerSil"_s, u"Eşdeğerini Sil"_s, [this] {
        if (const int no = currentLineNo()) logic_.clearEquivalent(no);
    });
    addButton(u"Iptal"_s, u"Satış Listesi İptali"_s, [this] { logic_.satisListesiIptali(); });
    addButton(u"UrunKarti"_s, u" Ürün Kartı"_s, [this] { logic_.productCard(0); });
    addButton(u"StokKarti"_s, u" Stok Kartı"_s, [this] { logic_.stockCard(); });
    addButton(u"JenerikAra"_s, u"Jenerik (F11)"_s, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    addButton(u"EndikasyonAra"_s, u"Endikasyon (F12)"_s, [this] { searchByClass(AraJenLogic::Kind::Indication); });
    addButton(u"GrupAra"_s, u"Ürün Grubu"_s, [this] { searchByClass(AraJenLogic::Kind::Group); });
    addButton(u"AramaModu"_s, u"Barkodla Ara ( F5 Tuşu )"_s, [this] { logic_.picker().toggleSearchMode(); });
}

void TSatisSSKForm::layOut()
{
    auto* info = new QGridLayout;
    info->addWidget(new QLabel(u"Grubu :"_s, this), 0, 0);
    info->addWidget(labels_[u"Grup"_s], 0, 1);
    info->addWidget(new QLabel(u"Jeneriği :"_s, this), 1, 0);
    info->addWidget(labels_[u"Jenerik"_s], 1, 1);
    info->addWidget(new QLabel(u"Endikasyonu :"_s, this), 2, 0);
    info->addWidget(labels_[u"Endikasyon"_s], 2, 1);
    info->addWidget(labels_[u"ReceteTipi"_s], 3, 0, 1, 2);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(labels_[u"Mode"_s]);
    searchRow->addWidget(buttons_[u"AramaModu"_s]);
    searchRow->addWidget(labels_[u"Aranan"_s], 1);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addWidget(products_, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(info);
    for (const char* b : {"UrunKarti", "StokKarti", "JenerikAra", "EndikasyonAra", "GrupAra"})
        right->addWidget(buttons_[QString::fromLatin1(b)]);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(right, 1);

    auto* oldRow = new QHBoxLayout;
    for (const char* l : {"Eski", "EskiTarih", "EskiNo", "Duzeltme"}) oldRow->addWidget(labels_[QString::fromLatin1(l)]);
    oldRow->addStretch();
    oldRow->addWidget(new QLabel(u"Reç.Tarihi (F4)"_s, this));
    oldRow->addWidget(dateBox_);
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Toplam :"_s, this));
    totals->addWidget(labels_[u"Toplam"_s]);
    totals->addStretch();
    for (const char* b : {"EsdegerYaz", "EsdegerSil"}) totals->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* commands = new QHBoxLayout;
    for (const char* b : {"EskiReceteler", "Kayit", "Iptal"}) commands->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addLayout(oldRow);
    layout->addWidget(lines_, 2);
    layout->addLayout(totals);
    layout->addLayout(commands);
}

void TSatisSSKForm::createShortcuts()
{
    auto key = [this](const QKeySequence& seq, std::function<void()> run) {
        auto* s = new QShortcut(seq, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, run] {
            leaveBox();
            command(run);
        });
    };
    key(Qt::Key_F3, [this] {
        if (buttons_[u"EskiReceteler"_s]->isEnabled()) logic_.eskiReceteler();
    });
    key(Qt::Key_F4, [this] { dateBox_->setFocus(); });
    key(Qt::Key_F5, [this] { logic_.picker().toggleSearchMode(); });
    key(Qt::Key_F6, [this] { products_->setFocus(); });
    key(Qt::Key_F8, [this] { logic_.sskReceteKayit(); });
    key(Qt::Key_F11, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    key(Qt::Key_F12, [this] { searchByClass(AraJenLogic::Kind::Indication); });
    auto* toLines = new QShortcut(QKeySequence(u"Ctrl+L"_s), this);
    toLines->setContext(Qt::WindowShortcut);
    connect(toLines, &QShortcut::activated, this, [this] {
        lines_->setFocus();
        if (!lines_->currentIndex().isValid() && lineModel_->rowCount() > 0)
            lines_->setCurrentIndex(lineModel_->index(0, SskLinesModel::Quantity));
    });
}

void TSatisSSKForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TSatisSSKForm::command(const std::function<void()>& f)
{
    guarded(f);
    guarded([this] { refresh(); });
}

void TSatisSSKForm::Giris()
{
    guarded([this] {
        logic_.Giris();
        if (!productModel_) {
            productModel_ = new ProductListModel(session_.db, this);
            products_->setModel(productModel_);
            products_->setColumnWidth(ProductListModel::Name, 300);
            connect(products_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this](const QModelIndex& current) {
                        if (syncing_ || !current.isValid()) return;
                        guarded([&] {
                            logic_.picker().products().gotoRowId(productModel_->rowIdAt(current.row()));
                            showProductInfo();
                        });
                    });
        } else {
            productModel_->reload();
        }
    });
    show();
    raise();
    activateWindow();
    products_->setFocus();
    guarded([this] { refresh(); });
}

void TSatisSSKForm::applyRights()
{
    buttons_[u"EskiReceteler"_s]->setEnabled(logic_.oldSalesAllowed() || logic_.correcting());
    buttons_[u"UrunKarti"_s]->setEnabled(logic_.productCardAllowed());
}

void TSatisSSKForm::showProductInfo()
{
    ProductPicker& p = logic_.picker();
    labels_[u"Grup"_s]->setText(p.groupName());
    labels_[u"Jenerik"_s]->setText(p.genericName());
    labels_[u"Endikasyon"_s]->setText(p.indicationName());
    QLabel* type = labels_[u"ReceteTipi"_s];
    type->setText(p.prescriptionTypeText());
    QPalette pal = palette();
    const QColor c = p.prescriptionTypeColor();
    if (c.isValid()) pal.setColor(QPalette::Window, c);
    type->setPalette(pal);
}

void TSatisSSKForm::refresh()
{
    syncing_ = true;
    if (productModel_) showCurrentProduct(products_, productModel_, logic_.picker().products());
    syncing_ = false;
    showProductInfo();
    ProductPicker& p = logic_.picker();
    const QString s = p.searchMode() == ProductPicker::SearchMode::Keyboard ? p.searchText() : p.barcodeText();
    labels_[u"Aranan"_s]->setText(s.isEmpty() ? QString() : u"Aranan: "_s + s);
    labels_[u"Mode"_s]->setText(p.searchModeLabel());
    buttons_[u"AramaModu"_s]->setText(p.searchButtonCaption());
    lineModel_->reload();
    labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
    if (logic_.dateBox().isEmpty()) dateBox_->clear();
    const SskCaptions c = logic_.captions();
    buttons_[u"EskiReceteler"_s]->setText(c.oldPrescriptions);
    buttons_[u"Kayit"_s]->setText(c.record);
    for (const char* l : {"Eski", "EskiTarih", "EskiNo", "Duzeltme"}) labels_[QString::fromLatin1(l)]->setVisible(c.oldLabelsShown);
    labels_[u"EskiTarih"_s]->setText(c.oldDateLabel);
    labels_[u"EskiNo"_s]->setText(c.oldNumberLabel);
    applyRights();
}

int TSatisSSKForm::currentLineNo() const
{
    const QModelIndex i = lines_->currentIndex();
    return i.isValid() && i.row() < lineModel_->lines().size() ? lineModel_->lines()[i.row()].no : 0;
}

void TSatisSSKForm::writeEquivalent()
{
    const int no = currentLineNo();
    if (no == 0) return;
    const int row = lines_->currentIndex().row();
    logic_.markEquivalent(no);
    lineModel_->reload();
    // The equivalence code is typed next; leaving its box posts the line.
    const QModelIndex code = lineModel_->index(row, SskLinesModel::Equivalence);
    lines_->setFocus();
    lines_->setCurrentIndex(code);
    lines_->edit(code);
}

void TSatisSSKForm::searchByClass(AraJenLogic::Kind kind)
{
    if (!search_) return;
    Table& p = logic_.picker().products();
    if (!p.hasRow()) return;
    const char* field = kind == AraJenLogic::Kind::Generic ? "JENERIKNO" : kind == AraJenLogic::Kind::Indication ? "ENDIKNO" : "GRUPNO";
    const QString name = search_->choose(kind, p.integer(QString::fromLatin1(field)));
    if (!name.isEmpty()) logic_.picker().positionByName(name);
}

bool TSatisSSKForm::productKey(QKeyEvent* k)
{
    const Qt::KeyboardModifiers mods = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    ProductPicker& p = logic_.picker();
    switch (k->key()) {
    case Qt::Key_F2: command([this] { logic_.scannerMark(); }); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: command([this] { logic_.enterInProductList(); }); return true;
    case Qt::Key_Backspace: command([&] { p.searchBackspace(); }); return true;
    case Qt::Key_Escape: command([&] { p.clearSearch(); }); return true;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) {
            command([&] { p.deleteProduct(); });
            return true;
        }
        break;
    case Qt::Key_Insert: command([this] { logic_.productCard(1); }); return true;
    case Qt::Key_D:
        if (mods == Qt::AltModifier) {
            if (buttons_[u"UrunKarti"_s]->isEnabled()) command([this] { logic_.productCard(0); });
            return true;
        }
        break;
    case Qt::Key_S:
        if (mods == Qt::AltModifier) {
            command([this] { logic_.stockCard(); });
            return true;
        }
        break;
    default: break;
    }
    if (isListMoveKey(k)) {
        p.clearSearch();
        labels_[u"Aranan"_s]->clear();
        return false;  // the list moves itself
    }
    if (isSearchKey(k)) {
        command([&] { p.typeSearchChar(k->text()[0]); });
        return true;
    }
    return false;
}

bool TSatisSSKForm::lineKey(QKeyEvent* k)
{
    if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)) {
        if (const int no = currentLineNo()) command([&] { logic_.removeLine(no); });
        return true;
    }
    // The number and the names are not typed: the cursor goes on to the quantity.
    const QModelIndex current = lines_->currentIndex();
    if (current.isValid() && current.column() < SskLinesModel::Equivalence && !k->text().isEmpty() && k->text()[0].isPrint())
        lines_->setCurrentIndex(lineModel_->index(current.row(), SskLinesModel::Quantity));
    return false;
}

bool TSatisSSKForm::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (o == products_) return productKey(k);
        if (o == lines_) return lineKey(k);
    }
    return QWidget::eventFilter(o, e);
}

void TSatisSSKForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {  // outside the product list
        command([this] { logic_.satisListesiIptali(); });
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TSatisSSKForm::event(QEvent* e)
{
    // The total is shared with the sale window: each counts its own list again.
    if (e->type() == QEvent::WindowActivate && productModel_)
        guarded([this] {
            logic_.recomputeTotal();
            labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
        });
    return QWidget::event(e);
}

void TSatisSSKForm::closeEvent(QCloseEvent* e)
{
    guarded([this] { logic_.closing(); });
    lineModel_->reload();
    e->accept();
}

}  // namespace selvar
