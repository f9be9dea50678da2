#include "sales/ui/counter_form.h"

#include "core/format.h"
#include "data/table.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "platform/ui/list_keys.h"
#include "sales/product_list_model.h"
#include "sales/product_picker.h"
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

namespace {
const char* const kOldLabels[] = {"Eski", "EskiTarih", "EskiNo", "Duzeltme"};
}

CounterForm::CounterForm(Session& session, TAraJenDlg* search, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), search_(search)
{
}

CounterForm::~CounterForm() = default;

QLabel* CounterForm::addLabel(const QString& name, const QString& text)
{
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    labels_.insert(name, l);
    return l;
}

QPushButton* CounterForm::addButton(const QString& name, const QString& caption, std::function<void()> run)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [this, run] { command(run); });
    buttons_.insert(name, b);
    return b;
}

void CounterForm::addKey(const QKeySequence& key, std::function<void()> run)
{
    auto* s = new QShortcut(key, this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, [this, run] {
        leaveBox();
        command(run);
    });
}

void CounterForm::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

void CounterForm::command(const std::function<void()>& f)
{
    guarded(f);
    guarded([this] { refresh(); });
}

// ---------------------------------------------------------------- building

void CounterForm::createProductList()
{
    products_ = createProductListView(this);
    products_->installEventFilter(this);
    connect(products_, &QTableView::doubleClicked, this, [this] { command([this] { enterInProductList(); }); });
}

QTableView* CounterForm::createLinesView(const QString& name, QAbstractItemModel* model)
{
    auto* v = new QTableView(this);
    v->setObjectName(name);
    v->setSelectionBehavior(QAbstractItemView::SelectItems);
    v->verticalHeader()->hide();
    v->installEventFilter(this);
    v->setModel(model);
    v->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    return v;
}

void CounterForm::addLinesKey(QTableView* lines, int column)
{
    auto* s = new QShortcut(QKeySequence(u"Ctrl+L"_s), this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, [lines, column] {
        lines->setFocus();
        // Keys typed at once go to the first line, also right after an old sale was loaded.
        if (!lines->currentIndex().isValid() && lines->model()->rowCount() > 0)
            lines->setCurrentIndex(lines->model()->index(0, column));
    });
}

std::function<void()> CounterForm::refreshLater()
{
    return [this] { QTimer::singleShot(0, this, [this] { guarded([this] { refresh(); }); }); };
}

QFont CounterForm::createProductLabels()
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
    return bold;
}

void CounterForm::createOldLabels(const QFont& bold)
{
    for (QLabel* l : {addLabel(u"Eski"_s, u"ESKİ"_s), addLabel(u"EskiTarih"_s), addLabel(u"EskiNo"_s),
                      addLabel(u"Duzeltme"_s, u"DÜZELTME"_s)}) {
        l->setFont(bold);
        l->setStyleSheet(u"color: #a00000"_s);
    }
}

void CounterForm::createProductButtons()
{
    addButton(u"UrunKarti"_s, u" Ürün Kartı"_s, [this] { productCard(0); });
    addButton(u"StokKarti"_s, u" Stok Kartı"_s, [this] { stockCard(); });
    addButton(u"JenerikAra"_s, u"Jenerik (F11)"_s, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    addButton(u"EndikasyonAra"_s, u"Endikasyon (F12)"_s, [this] { searchByClass(AraJenLogic::Kind::Indication); });
    addButton(u"GrupAra"_s, u"Ürün Grubu"_s, [this] { searchByClass(AraJenLogic::Kind::Group); });
    addButton(u"AramaModu"_s, u"Barkodla Ara ( F5 Tuşu )"_s, [this] { picker().toggleSearchMode(); });
    addKey(Qt::Key_F5, [this] { picker().toggleSearchMode(); });
    addKey(Qt::Key_F6, [this] { products_->setFocus(); });
    addKey(Qt::Key_F11, [this] { searchByClass(AraJenLogic::Kind::Generic); });
    addKey(Qt::Key_F12, [this] { searchByClass(AraJenLogic::Kind::Indication); });
}

QHBoxLayout* CounterForm::productRow(QWidget* underInfo, const QStringList& more)
{
    auto* info = new QGridLayout;
    info->addWidget(new QLabel(u"Grubu :"_s, this), 0, 0);
    info->addWidget(labels_[u"Grup"_s], 0, 1);
    info->addWidget(new QLabel(u"Jeneriği :"_s, this), 1, 0);
    info->addWidget(labels_[u"Jenerik"_s], 1, 1);
    info->addWidget(new QLabel(u"Endikasyonu :"_s, this), 2, 0);
    info->addWidget(labels_[u"Endikasyon"_s], 2, 1);
    info->addWidget(labels_[u"ReceteTipi"_s], 3, 0, 1, 2);
    if (underInfo) info->addWidget(underInfo, 4, 0, 1, 2);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(labels_[u"Mode"_s]);
    searchRow->addWidget(buttons_[u"AramaModu"_s]);
    searchRow->addWidget(labels_[u"Aranan"_s], 1);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addWidget(products_, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(info);
    QStringList names{u"UrunKarti"_s, u"StokKarti"_s, u"JenerikAra"_s, u"EndikasyonAra"_s, u"GrupAra"_s};
    for (const QString& b : names + more) right->addWidget(buttons_[b]);
    right->addStretch();
    auto* row = new QHBoxLayout;
    row->addLayout(left, 3);
    row->addLayout(right, 1);
    return row;
}

QHBoxLayout* CounterForm::oldRow(const QString& dateCaption, QLineEdit* dateBox)
{
    auto* row = new QHBoxLayout;
    for (const char* l : kOldLabels) row->addWidget(labels_[QString::fromLatin1(l)]);
    row->addStretch();
    row->addWidget(new QLabel(dateCaption, this));
    row->addWidget(dateBox);
    return row;
}

// ---------------------------------------------------------------- showing

void CounterForm::openProductList()
{
    if (productModel_) {
        productModel_->reload();
        return;
    }
    productModel_ = new ProductListModel(session_.db, this);
    if (discountTypeLabel_) productModel_->setPurchaseColumns(discountTypeLabel_);
    products_->setModel(productModel_);
    products_->setColumnWidth(ProductListModel::Name, 300);
    // The purchase window shows the discount type where the sale window shows the stock split.
    for (int c : {int(ProductListModel::ActiveStock), int(ProductListModel::PassiveStock)})
        products_->setColumnHidden(c, bool(discountTypeLabel_));
    products_->setColumnHidden(ProductListModel::DiscountType, !discountTypeLabel_);
    connect(products_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (syncing_ || !current.isValid()) return;
        guarded([&] {
            picker().products().gotoRowId(productModel_->rowIdAt(current.row()));
            showProductInfo();
        });
    });
}

void CounterForm::showOnTop()
{
    show();
    raise();
    activateWindow();
    products_->setFocus();
    guarded([this] { refresh(); });
}

void CounterForm::showSearchState()
{
    ProductPicker& p = picker();
    syncing_ = true;
    if (productModel_) showCurrentProduct(products_, productModel_, p.products());
    syncing_ = false;
    showProductInfo();
    const QString s = p.searchMode() == ProductPicker::SearchMode::Keyboard ? p.searchText() : p.barcodeText();
    labels_[u"Aranan"_s]->setText(s.isEmpty() ? QString() : u"Aranan: "_s + s);
    labels_[u"Mode"_s]->setText(p.searchModeLabel());
    buttons_[u"AramaModu"_s]->setText(p.searchButtonCaption());
}

void CounterForm::showProductInfo()
{
    ProductPicker& p = picker();
    labels_[u"Grup"_s]->setText(p.groupName());
    labels_[u"Jenerik"_s]->setText(p.genericName());
    labels_[u"Endikasyon"_s]->setText(p.indicationName());
    QLabel* type = labels_[u"ReceteTipi"_s];
    type->setText(p.prescriptionTypeText());
    // The colour shows where the label fills its background.
    QPalette pal = palette();
    const QColor c = p.prescriptionTypeColor();
    if (c.isValid()) pal.setColor(QPalette::Window, c);
    type->setPalette(pal);
}

void CounterForm::showOldLabels(bool shown, const QString& date, const QString& number)
{
    for (const char* l : kOldLabels) labels_[QString::fromLatin1(l)]->setVisible(shown);
    labels_[u"EskiTarih"_s]->setText(date);
    labels_[u"EskiNo"_s]->setText(number);
}

// ---------------------------------------------------------------- keys and events

void CounterForm::searchByClass(AraJenLogic::Kind kind)
{
    if (!search_) return;
    Table& p = picker().products();
    if (!p.hasRow()) return;
    const char* field = kind == AraJenLogic::Kind::Generic ? "JENERIKNO" : kind == AraJenLogic::Kind::Indication ? "ENDIKNO" : "GRUPNO";
    const QString name = search_->choose(kind, p.integer(QString::fromLatin1(field)));
    if (!name.isEmpty()) picker().positionByName(name);
}

bool CounterForm::productKey(QKeyEvent* k)
{
    const Qt::KeyboardModifiers mods = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    ProductPicker& p = picker();
    switch (k->key()) {
    case Qt::Key_F2: command([this] { scannerMark(); }); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: command([this] { enterInProductList(); }); return true;
    case Qt::Key_Backspace: command([&] { p.searchBackspace(); }); return true;
    case Qt::Key_Escape: command([&] { p.clearSearch(); }); return true;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) {
            command([&] { p.deleteProduct(); });
            return true;
        }
        break;
    case Qt::Key_Insert: command([this] { productCard(1); }); return true;
    case Qt::Key_D:
        if (mods == Qt::AltModifier) {
            if (buttons_[u"UrunKarti"_s]->isEnabled()) command([this] { productCard(0); });
            return true;
        }
        break;
    case Qt::Key_S:
        if (mods == Qt::AltModifier) {
            command([this] { stockCard(); });
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

bool CounterForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == products_ && e->type() == QEvent::KeyPress) return productKey(static_cast<QKeyEvent*>(e));
    return QWidget::eventFilter(o, e);
}

void CounterForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {  // outside the product list
        command([this] { cancelList(); });
        return;
    }
    QWidget::keyPressEvent(e);
}

bool CounterForm::event(QEvent* e)
{
    // The total is shared by the counters: each counts its own list again.
    if (e->type() == QEvent::WindowActivate && productModel_)
        guarded([this] { labels_[u"Toplam"_s]->setText(moneyText(recountTotal())); });
    return QWidget::event(e);
}

void CounterForm::closeEvent(QCloseEvent* e)
{
    guarded([this] { closing(); });
    e->accept();
}

}  // namespace selvar
