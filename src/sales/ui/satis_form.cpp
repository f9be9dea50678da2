#include "sales/ui/satis_form.h"

#include "platform/ui/command.h"
#include "platform/ui/list_keys.h"

#include "core/format.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/table.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/product_list_model.h"
#include "sales/ui/arajen_dlg.h"
#include "sales/ui/eskism_form.h"
#include "sales/ui/product_list_view.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- sale lines

SaleLinesModel::SaleLinesModel(SatisLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void SaleLinesModel::reload()
{
    beginResetModel();
    lines_ = logic_.lines();
    endResetModel();
}

QVariant SaleLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    const SaleLine& l = lines_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Type ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole) {
        if (index.column() == Quantity) return l.quantity;
        if (index.column() == Price) return numberText(l.price, 2);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case No: return l.no;
    case Name: return l.name;
    case Quantity: return l.quantity;
    case Price: return formatMask(u"#,##0"_s, l.price);
    case Type: return prescriptionTypeText(l.prescriptionType);
    case Amount: return formatMask(u"#,##0"_s, l.price * l.quantity);
    }
    return {};
}

QVariant SaleLinesModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"S.No"_s, u"Ürün Adı"_s, u"Miktar"_s, u"Fiyatı"_s, u"Reçete Tipi"_s, u"Tutarı"_s};
    return titles.value(section);
}

Qt::ItemFlags SaleLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Quantity || index.column() == Price) f |= Qt::ItemIsEditable;
    return f;
}

bool SaleLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= lines_.size()) return false;
    SaleLine l = lines_[index.row()];
    double v = 0;
    if (!parseNumber(value.toString(), &v)) return false;
    if (index.column() == Quantity) l.quantity = int(v);
    else if (index.column() == Price) l.price = v;
    else return false;
    const auto edit = [&] { logic_.editLine(l.no, l.quantity, l.price, l.prescriptionType); };
    if (prompter) runCommand(*prompter, edit);
    else edit();
    reload();
    if (onChanged) onChanged();
    return true;
}

// ---------------------------------------------------------------- the window

TSatisForm::TSatisForm(Session& session, SaleWindowLinks links, TAraJenDlg* search, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), logic_(session, nullptr, [&] {
          if (!links.chooseOldRecordKind)
              links.chooseOldRecordKind = [this] {
                  TEskiSMForm chooser(this);
                  return chooser.choose();
              };
          return links;
      }()),
      search_(search)
{
    setObjectName(u"TSatisForm"_s);
    setWindowTitle(u"SATIŞ İŞLEMLERİ"_s);
    createLists();
    createBoxes();
    createButtons();
    layOut();
    createShortcuts();
    resize(1100, 760);
}

QLabel* TSatisForm::addLabel(const QString& name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

QPushButton* TSatisForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [this, run] { command(run); });
    buttons_.insert(name, b);
    return b;
}

void TSatisForm::createLists()
{
    products_ = createProductListView(this);
    products_->installEventFilter(this);
    connect(products_, &QTableView::doubleClicked, this, [this] { command([this] { logic_.enterInProductList(); }); });

    lines_ = new QTableView(this);
    lines_->setObjectName(u"SaleList"_s);
    lines_->setSelectionBehavior(QAbstractItemView::SelectItems);
    lines_->verticalHeader()->hide();
    lines_->installEventFilter(this);
    lineModel_ = new SaleLinesModel(logic_, this);
    lineModel_->prompter = &session_.prompter;
    // The total and the paid amount follow every posted line; after the editor has closed.
    lineModel_->onChanged = [this] { QTimer::singleShot(0, this, [this] { guarded([this] { refresh(); }); }); };
    lines_->setModel(lineModel_);
    lines_->horizontalHeader()->setSectionResizeMode(SaleLinesModel::Name, QHeaderView::Stretch);
    lines_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
}

void TSatisForm::createBoxes()
{
    addLabel(u"Aranan"_s);
    QLabel* modeLabel = addLabel(u"Mode"_s);
    QFont bold = modeLabel->font();
    bold.setBold(true);
    modeLabel->setFont(bold);
    addLabel(u"Grup"_s);
    addLabel(u"Jenerik"_s);
    addLabel(u"Endikasyon"_s);
    addLabel(u"ReceteTipi"_s)->setFont(bold);
    leaflet_ = new QPlainTextEdit(this);
    leaflet_->setObjectName(u"Prospektus"_s);
    leaflet_->installEventFilter(this);
    leaflet_->setMaximumHeight(90);
    for (QLabel* l : {addLabel(u"Eski"_s, u"ESKİ"_s), addLabel(u"EskiTarih"_s), addLabel(u"EskiNo"_s),
                      addLabel(u"Duzeltme"_s, u"DÜZELTME"_s)}) {
        l->setFont(bold);
        l->setStyleSheet(u"color: #a00000"_s);
    }
    addLabel(u"Toplam"_s)->setFont(bold);
    discountBox_ = new QLineEdit(this);
    discountBox_->setObjectName(u"Iskonto"_s);
    paidBox_ = new QLineEdit(this);
    paidBox_->setObjectName(u"Odenen"_s);
    dateBox_ = new QLineEdit(this);
    dateBox_->setObjectName(u"EskiFiyatTarihi"_s);
    dateBox_->setInputMask(u"00.00.0000;_"_s);  // digits optional, so leaving a half-typed date is seen
    dateBox_->setMaximumWidth(110);
    connect(discountBox_, &QLineEdit::editingFinished, this, &TSatisForm::takeDiscount);
    connect(paidBox_, &QLineEdit::editingFinished, this, &TSatisForm::takePaid);
    connect(dateBox_, &QLineEdit::editingFinished, this, &TSatisForm::takeDateBox);
}

void TSatisForm::takeDiscount()
{
    double v = 0;
    parseNumber(discountBox_->text(), &v);
    command([&] { logic_.discountLeft(v); });
}

void TSatisForm::takePaid()
{
    double v = 0;
    if (!parseNumber(paidBox_->text(), &v)) v = logic_.paid();
    command([&] { logic_.paidLeft(v); });
}

void TSatisForm::takeDateBox()
{
    logic_.setDateBox(dateBox_->displayText().replace(u'_', u' '));
    logic_.dateBoxLeft();
    if (logic_.dateBox().trimmed().isEmpty() || logic_.dateBox().remove(u'.').trimmed().isEmpty()) dateBox_->clear();
}

void TSatisForm::leaveBox()
{
    // A shortcut does not leave the box, so its editingFinished would come too late:
    // the discount typed before F7 would miss the sale it was typed for.
    QWidget* w = focusWidget();
    if (w == discountBox_) takeDiscount();
    else if (w == paidBox_) takePaid();
    else if (w == dateBox_) takeDateBox();
    else return;
    products_->setFocus();
}

void TSatisForm::createButtons()
{
    addButton(u"EskiSatislar"_s, u"Eski Satışlar"_s, [this] { logic_.eskiSatislar(); });
    addButton(u"Perakende"_s, u"Perakende Kayıt"_s, [this] { logic_.perakendeKayit(); });
    addButton(u"Recete"_s, u"Reçete Kayıt"_s, [this] { logic_.receteKayit(); });
    addButton(u"Fatura"_s, u"Fatura Kayıt"_s, [this] { logic_.faturaKayit(); });
    addButton(u"Veresiye"_s, u"Prk.Veresiye Kayıt"_s, [this] { logic_.veresiyeKayit(); })
        ->setToolTip(u"Veresiye kaydından sonra F7 ile perakende kaydı yapın."_s);
    addButton(u"Iptal"_s, u"Satış Listesi İptali"_s, [this] { logic_.satisListesiIptali(); });
    addButton(u"UrunKarti"_s, u" Ürün Kartı"_s, [this] { logic_.productCard(0); });
    addButton(u"StokKarti"_s, u" Stok Kartı"_s, [this] { logic_.stockCard(); });
    addButton(u"JenerikAra"_s, u"Jenerik (F11)"_s, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    addButton(u"EndikasyonAra"_s, u"Endikasyon (F12)"_s, [this] { searchByClass(AraJenLogic::Kind::Indication); });
    addButton(u"GrupAra"_s, u"Ürün Grubu"_s, [this] { searchByClass(AraJenLogic::Kind::Group); });
    addButton(u"Hesap"_s, u"Hesap Makinesi"_s, [this] {
        if (session_.platform && !session_.platform->startCalculator())
            session_.prompter.warning(u"Hesap makinesi bulunamadı."_s);
    });
    addButton(u"ListeYaz"_s, u"Satıs Listesini Yaz"_s, [this] { logic_.writeSaleList(); });
    addButton(u"AramaModu"_s, u"Barkodla Ara ( F5 Tuşu )"_s, [this] { logic_.toggleSearchMode(); });
}

void TSatisForm::layOut()
{
    // Products and the current product on top, the sale below.
    auto* info = new QGridLayout;
    info->addWidget(new QLabel(u"Grubu :"_s, this), 0, 0);
    info->addWidget(labels_[u"Grup"_s], 0, 1);
    info->addWidget(new QLabel(u"Jeneriği :"_s, this), 1, 0);
    info->addWidget(labels_[u"Jenerik"_s], 1, 1);
    info->addWidget(new QLabel(u"Endikasyonu :"_s, this), 2, 0);
    info->addWidget(labels_[u"Endikasyon"_s], 2, 1);
    info->addWidget(labels_[u"ReceteTipi"_s], 3, 0, 1, 2);
    info->addWidget(leaflet_, 4, 0, 1, 2);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(labels_[u"Mode"_s]);
    searchRow->addWidget(buttons_[u"AramaModu"_s]);
    searchRow->addWidget(labels_[u"Aranan"_s], 1);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addWidget(products_, 1);
    top->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    right->addLayout(info);
    for (const char* b : {"UrunKarti", "StokKarti", "JenerikAra", "EndikasyonAra", "GrupAra", "Hesap", "ListeYaz"})
        right->addWidget(buttons_[QString::fromLatin1(b)]);
    right->addStretch();
    top->addLayout(right, 1);

    auto* oldRow = new QHBoxLayout;
    for (const char* l : {"Eski", "EskiTarih", "EskiNo", "Duzeltme"}) oldRow->addWidget(labels_[QString::fromLatin1(l)]);
    oldRow->addStretch();
    oldRow->addWidget(new QLabel(u"Eski Fyt.lı Reç.Trh."_s, this));
    oldRow->addWidget(dateBox_);
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Toplam :"_s, this));
    totals->addWidget(labels_[u"Toplam"_s]);
    totals->addSpacing(20);
    totals->addWidget(new QLabel(u"İskonto :"_s, this));
    totals->addWidget(discountBox_);
    totals->addWidget(new QLabel(u"Ödenen :"_s, this));
    totals->addWidget(paidBox_);
    totals->addStretch();
    auto* commands = new QHBoxLayout;
    for (const char* b : {"EskiSatislar", "Perakende", "Recete", "Fatura", "Veresiye", "Iptal"})
        commands->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addLayout(oldRow);
    layout->addWidget(lines_, 2);
    layout->addLayout(totals);
    layout->addLayout(commands);
}

void TSatisForm::createShortcuts()
{
    auto key = [this](const QKeySequence& seq, std::function<void()> run) {
        auto* s = new QShortcut(seq, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, run] {
            leaveBox();
            command(run);
        });
    };
    key(Qt::Key_F1, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 2);
    });
    key(Qt::Key_F3, [this] {
        if (buttons_[u"EskiSatislar"_s]->isEnabled()) logic_.eskiSatislar();
    });
    key(Qt::Key_F4, [this] { dateBox_->setFocus(); });
    key(Qt::Key_F5, [this] { logic_.toggleSearchMode(); });
    key(Qt::Key_F6, [this] { products_->setFocus(); });
    key(Qt::Key_F7, [this] { logic_.perakendeKayit(); });
    key(Qt::Key_F8, [this] { logic_.receteKayit(); });
    key(Qt::Key_F9, [this] { logic_.faturaKayit(); });
    key(Qt::Key_F10, [this] { logic_.veresiyeKayit(); });
    key(Qt::Key_F11, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    key(Qt::Key_F12, [this] { searchByClass(AraJenLogic::Kind::Indication); });
    // Only the focus moves: no command, so the list keeps the line made current.
    auto* toLines = new QShortcut(QKeySequence(u"Ctrl+L"_s), this);
    toLines->setContext(Qt::WindowShortcut);
    connect(toLines, &QShortcut::activated, this, [this] { focusSaleList(); });
}

void TSatisForm::focusSaleList()
{
    lines_->setFocus();
    // Keys typed at once go to the first line, also right after an old sale was loaded.
    if (!lines_->currentIndex().isValid() && lineModel_->rowCount() > 0)
        lines_->setCurrentIndex(lineModel_->index(0, SaleLinesModel::No));
}

TSatisForm::~TSatisForm() = default;

QPushButton* TSatisForm::button(const QString& name) const { return buttons_.value(name); }
QLabel* TSatisForm::label(const QString& name) const { return labels_.value(name); }

void TSatisForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void TSatisForm::command(const std::function<void()>& f)
{
    guarded(f);
    guarded([this] { refresh(); });
}

void TSatisForm::Giris()
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
                            logic_.products().gotoRowId(productModel_->rowIdAt(current.row()));
                            showProductInfo();
                        });
                    });
        } else {
            productModel_->reload();
        }
        applyRights();
    });
    show();
    raise();
    activateWindow();
    products_->setFocus();
    guarded([this] { refresh(); });
}

void TSatisForm::applyRights()
{
    buttons_[u"EskiSatislar"_s]->setEnabled(logic_.oldSalesAllowed() || logic_.correcting());
    buttons_[u"UrunKarti"_s]->setEnabled(logic_.productCardAllowed());
}

void TSatisForm::showProductInfo()
{
    labels_[u"Grup"_s]->setText(logic_.groupName());
    labels_[u"Jenerik"_s]->setText(logic_.genericName());
    labels_[u"Endikasyon"_s]->setText(logic_.indicationName());
    labels_[u"ReceteTipi"_s]->setText(logic_.prescriptionTypeText());
    leaflet_->setPlainText(logic_.leaflet());
}

void TSatisForm::refresh()
{
    syncing_ = true;
    if (productModel_) showCurrentProduct(products_, productModel_, logic_.products());
    syncing_ = false;
    showProductInfo();
    const QString s = logic_.searchMode() == SatisLogic::SearchMode::Keyboard ? logic_.searchText() : logic_.barcodeText();
    labels_[u"Aranan"_s]->setText(s.isEmpty() ? QString() : u"Aranan: "_s + s);
    labels_[u"Mode"_s]->setText(logic_.searchModeLabel());
    buttons_[u"AramaModu"_s]->setText(logic_.searchButtonCaption());
    lineModel_->reload();
    labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
    discountBox_->setText(numberText(logic_.discount(), 1));
    paidBox_->setText(numberText(logic_.paid(), 1));
    if (logic_.dateBox().isEmpty()) dateBox_->clear();
    const SaleCaptions c = logic_.captions();
    buttons_[u"EskiSatislar"_s]->setText(c.oldSales);
    buttons_[u"Perakende"_s]->setText(c.retail);
    buttons_[u"Recete"_s]->setText(c.prescription);
    buttons_[u"Fatura"_s]->setText(c.invoice);
    for (const char* l : {"Eski", "EskiTarih", "EskiNo", "Duzeltme"}) labels_[QString::fromLatin1(l)]->setVisible(c.oldLabelsShown);
    labels_[u"EskiTarih"_s]->setText(c.oldDateLabel);
    labels_[u"EskiNo"_s]->setText(c.oldNumberLabel);
    applyRights();
}

void TSatisForm::searchByClass(AraJenLogic::Kind kind)
{
    if (!search_) return;
    Table& p = logic_.products();
    if (!p.hasRow()) return;
    const char* field = kind == AraJenLogic::Kind::Generic ? "JENERIKNO" : kind == AraJenLogic::Kind::Indication ? "ENDIKNO" : "GRUPNO";
    const QString name = search_->choose(kind, p.integer(QString::fromLatin1(field)));
    if (!name.isEmpty()) logic_.positionByName(name);
}

bool TSatisForm::productKey(QKeyEvent* k)
{
    const Qt::KeyboardModifiers mods = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (k->key()) {
    case Qt::Key_F2: command([this] { logic_.scannerMark(); }); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: command([this] { logic_.enterInProductList(); }); return true;
    case Qt::Key_Backspace: command([this] { logic_.searchBackspace(); }); return true;
    case Qt::Key_Escape: command([this] { logic_.clearSearch(); }); return true;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) {
            command([this] { logic_.deleteProduct(); });
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
        logic_.clearSearch();
        labels_[u"Aranan"_s]->clear();
        return false;  // the list moves itself
    }
    if (isSearchKey(k)) {
        command([&] { logic_.typeSearchChar(k->text()[0]); });
        return true;
    }
    return false;
}

void TSatisForm::pickPrescriptionType(int row)
{
    if (row < 0 || row >= lineModel_->lines().size()) return;
    const SaleLine line = lineModel_->lines()[row];
    QDialog picker(this, Qt::Popup);
    picker.setObjectName(u"ReceteTipiSecimi"_s);
    auto* grid = new QGridLayout(&picker);
    auto* group = new QButtonGroup(&picker);
    const QStringList codes = prescriptionTypeCodes();
    for (int i = 0; i < codes.size(); ++i) {
        auto* b = new QRadioButton(prescriptionTypeCaption(codes[i]), &picker);
        b->setChecked(codes[i] == line.prescriptionType);
        group->addButton(b, i);
        grid->addWidget(b, i % 6, i / 6);
    }
    const QRect cell = lines_->visualRect(lineModel_->index(row, SaleLinesModel::Type));
    picker.move(lines_->viewport()->mapToGlobal(cell.bottomLeft()));
    picker.exec();  // Enter, Esc or a click outside leaves it
    const int chosen = group->checkedId();
    if (chosen >= 0 && codes[chosen] != line.prescriptionType)
        command([&] { logic_.editLine(line.no, line.quantity, line.price, codes[chosen]); });
    lines_->setFocus();
    lines_->setCurrentIndex(lineModel_->index(row, SaleLinesModel::Type));
}

bool TSatisForm::lineKey(QKeyEvent* k)
{
    const QModelIndex current = lines_->currentIndex();
    if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)) {
        if (current.isValid() && current.row() < lineModel_->lines().size()) {
            const int no = lineModel_->lines()[current.row()].no;
            command([&] { logic_.removeLine(no); });
        }
        return true;
    }
    if (current.isValid() && current.column() == SaleLinesModel::Type && !k->text().isEmpty()) {
        pickPrescriptionType(current.row());
        return true;
    }
    // The number and name columns are calculated: the cursor goes on to the quantity.
    if (current.isValid() && (current.column() == SaleLinesModel::No || current.column() == SaleLinesModel::Name)
        && !k->text().isEmpty() && k->text()[0].isPrint()) {
        lines_->setCurrentIndex(lineModel_->index(current.row(), SaleLinesModel::Quantity));
    }
    return false;
}

bool TSatisForm::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (o == products_) return productKey(k);
        if (o == lines_) return lineKey(k);
    }
    if (o == leaflet_ && e->type() == QEvent::FocusOut) guarded([this] { logic_.saveLeaflet(leaflet_->toPlainText()); });
    return QWidget::eventFilter(o, e);
}

void TSatisForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {  // outside the product list
        command([this] { logic_.satisListesiIptali(); });
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TSatisForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && productModel_)
        guarded([this] {
            logic_.recomputeTotal();
            labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
        });
    return QWidget::event(e);
}

void TSatisForm::closeEvent(QCloseEvent* e)
{
    guarded([this] { logic_.closing(); });
    lineModel_->reload();
    e->accept();
}

}  // namespace selvar
