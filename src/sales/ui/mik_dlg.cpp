#include "sales/ui/mik_dlg.h"

#include "platform/ui/command.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/codes.h"
#include "data/errors.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/ui/zam_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QString priceText(double v) { return format(u"%g", v); }

QLineEdit* readOnlyBox(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}
}  // namespace

TMikDlg::TMikDlg(Session& session, QWidget* parent) : TMikDlg(session, MikRules{}, parent) {}

TMikDlg::TMikDlg(Session& session, MikRules rules, QWidget* parent)
    : QDialog(parent), session_(session), rules_(rules), logic_(session, rules)
{
    setObjectName(rules.ssk ? u"TMikSSKDlg"_s : u"TMikDlg"_s);
    setWindowTitle(u"Ürün Değerlerini Belirleme"_s);
    setModal(true);
    normalPalette_ = palette();
    logic_.setPriceIncreaseCheck(
        [this](qint64 productNo, double newPrice) { return ZamOnay(session_, productNo, newPrice, this); });
    QLayout* values = createValues();
    createTypes();
    createPurchasePanel();
    createHistory();
    QLayout* buttons = createButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(productName_);
    layout->addLayout(values);
    layout->addWidget(typeBox_);
    layout->addWidget(purchase_);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    purchase_->hide();
    grid_->hide();
    historyClose_->hide();
    setTabOrder(quantity_, price_);
}

QLayout* TMikDlg::createValues()
{
    productName_ = new QLabel(this);
    productName_->setObjectName(u"ProductName"_s);
    QFont bold = productName_->font();
    bold.setBold(true);
    productName_->setFont(bold);

    price_ = new QLineEdit(this);
    price_->setObjectName(u"FIYAT"_s);
    priceLabel_ = new QLabel(this);
    priceLabel_->setBuddy(price_);
    priceDate_ = readOnlyBox(this, u"TARIH"_s);
    stock_ = readOnlyBox(this, u"ELDEMIK"_s);
    quantity_ = new QLineEdit(this);
    quantity_->setObjectName(u"SATISMIK"_s);
    quantityLabel_ = new QLabel(u"Satış Mik&tarı"_s, this);
    quantityLabel_->setBuddy(quantity_);

    auto* values = new QGridLayout;
    values->addWidget(priceLabel_, 0, 0);
    values->addWidget(price_, 0, 1);
    values->addWidget(new QLabel(u"Fiyat Tarihi"_s, this), 0, 2);
    values->addWidget(priceDate_, 0, 3);
    values->addWidget(quantityLabel_, 1, 0);
    values->addWidget(quantity_, 1, 1);
    values->addWidget(new QLabel(u"Mevcut Miktar"_s, this), 1, 2);
    values->addWidget(stock_, 1, 3);
    if (rules_.ssk) {
        dailyUse_ = new QLineEdit(this);
        dailyUse_->setObjectName(u"GUN_KUL"_s);
        dailyUse_->setMaxLength(1);
        dailyUse_->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9 ]?"_s), dailyUse_));
        auto* dailyLabel = new QLabel(u"&Gün.Kul."_s, this);
        dailyLabel->setBuddy(dailyUse_);
        dose_ = new QLineEdit(this);
        dose_->setObjectName(u"BIRKUL_ALMIK"_s);
        dose_->setMaxLength(3);
        dose_->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9 ]{0,3}"_s), dose_));
        auto* doseLabel = new QLabel(u"&Doz"_s, this);
        doseLabel->setBuddy(dose_);
        values->addWidget(dailyLabel, 2, 0);
        values->addWidget(dailyUse_, 2, 1);
        values->addWidget(doseLabel, 2, 2);
        values->addWidget(dose_, 2, 3);
        connect(dailyUse_, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setDailyUse(t); });
        connect(dose_, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.setDose(t); });
    }
    return values;
}

void TMikDlg::createTypes()
{
    // The twelve prescription types in three columns; an SSK line has the first ten.
    typeBox_ = new QGroupBox(rules_.ssk ? u"&REÇETE TİPİ"_s : QString(), this);
    types_ = new QButtonGroup(this);
    auto* typeGrid = new QGridLayout(typeBox_);
    const QStringList codes = rules_.ssk ? prescriptionTypeCodes().mid(0, 10) : prescriptionTypeCodes();
    const int perColumn = int((codes.size() + 2) / 3);
    for (int i = 0; i < codes.size(); ++i) {
        auto* r = new QRadioButton(prescriptionTypeCaption(codes[i]), typeBox_);
        r->setObjectName(u"RECKOD_"_s + codes[i]);
        types_->addButton(r, i);
        typeGrid->addWidget(r, i % perColumn, i / perColumn);
    }
    connect(types_, &QButtonGroup::idClicked, this,
            [this](int id) { logic_.setPrescriptionType(prescriptionTypeCodes().value(id)); });
}

void TMikDlg::createPurchasePanel()
{
    // Purchase panel.
    purchase_ = new QFrame(this);
    purchase_->setObjectName(u"PurchasePanel"_s);
    purchase_->setFrameShape(QFrame::StyledPanel);
    lineDiscount_ = new QLineEdit(purchase_);
    lineDiscount_->setObjectName(u"FarkliIskonto"_s);
    lineDiscount_->setMaxLength(2);
    lineDiscount_->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9 ]{0,2}"_s), lineDiscount_));
    auto* lineDiscountLabel = new QLabel(u"Farklı İ&sk.%"_s, purchase_);
    lineDiscountLabel->setBuddy(lineDiscount_);
    freeGoods_ = new QLineEdit(purchase_);
    freeGoods_->setObjectName(u"MalFazlasi"_s);
    freeGoods_->setMaxLength(3);
    freeGoods_->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9 ]{0,3}"_s), freeGoods_));
    auto* freeGoodsLabel = new QLabel(u"M&al Fazlası"_s, purchase_);
    freeGoodsLabel->setBuddy(freeGoods_);
    auto* note = new QLabel(u"Not: Alınan Miktar Mal Fazlasıyla yazmalıdır."_s, purchase_);
    auto* vatBox = new QGroupBox(u"MFKDV yi Ekle"_s, purchase_);
    freeVat_ = new QButtonGroup(this);
    auto* vatLayout = new QHBoxLayout(vatBox);
    const QString vatCaptions[] = {u"&Evet"_s, u"&Hayır"_s};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(vatCaptions[i], vatBox);
        freeVat_->addButton(r, i);
        vatLayout->addWidget(r);
    }
    auto* discountBox = new QGroupBox(u"İskonto Tipi"_s, purchase_);
    discounts_ = new QButtonGroup(this);
    auto* discountGrid = new QGridLayout(discountBox);
    for (int i = 0; i < 9; ++i) {
        auto* r = new QRadioButton(discountTypeCaption(i), discountBox);
        r->setObjectName(u"ALISTIP_"_s + QString::number(i));
        discounts_->addButton(r, i);
        discountGrid->addWidget(r, i % 3, i / 3);
    }
    auto* purchaseLayout = new QGridLayout(purchase_);
    purchaseLayout->addWidget(lineDiscountLabel, 0, 0);
    purchaseLayout->addWidget(lineDiscount_, 0, 1);
    purchaseLayout->addWidget(freeGoodsLabel, 0, 2);
    purchaseLayout->addWidget(freeGoods_, 0, 3);
    purchaseLayout->addWidget(note, 1, 0, 1, 4);
    purchaseLayout->addWidget(vatBox, 2, 0, 1, 1);
    purchaseLayout->addWidget(discountBox, 2, 1, 1, 3);
    connect(lineDiscount_, &QLineEdit::textChanged, this, [this](const QString& t) { logic_.setLineDiscountText(t); });
    connect(freeGoods_, &QLineEdit::textChanged, this, [this](const QString& t) { logic_.setFreeGoodsText(t); });
    connect(freeVat_, &QButtonGroup::idClicked, this, [this](int id) { logic_.setFreeGoodsVatChoice(id); });
    connect(discounts_, &QButtonGroup::idClicked, this, [this](int id) {
        logic_.setDiscountType(id);
        showPriceLabel();
    });
}

void TMikDlg::createHistory()
{
    // The price history.
    grid_ = new QTableWidget(0, 2, this);
    grid_->setObjectName(u"EskiFiyatlar"_s);
    grid_->setHorizontalHeaderLabels({u"Fyt.Tarihi"_s, u"Eski Fiyatları"_s});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);  // Insert starts an edit
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setTabKeyNavigation(false);
    connect(grid_, &QTableWidget::itemChanged, this, &TMikDlg::historyItemChanged);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) {
                if (!fillingGrid_) logic_.setHistoryCurrent(row);
            });
}

QLayout* TMikDlg::createButtons()
{
    ok_ = new QPushButton(u"Tamam"_s, this);
    ok_->setObjectName(u"OK"_s);
    ok_->setDefault(true);
    cancel_ = new QPushButton(u"&Vazgeç"_s, this);
    cancel_->setObjectName(u"Vazgec"_s);
    help_ = new QPushButton(u"&Yardım"_s, this);
    historyOpen_ = new QPushButton(u"Eski Fiyat &Listesi"_s, this);
    historyOpen_->setObjectName(u"EskiFiyatListesi"_s);
    historyClose_ = new QPushButton(rules_.ssk ? u"Esk. Fyt. List. Ka&pat"_s : u"Esk. Fyt. List.Ka&pat"_s, this);
    historyClose_->setObjectName(u"EskiFiyatListesiKapat"_s);
    for (QPushButton* b : {cancel_, help_, historyOpen_, historyClose_}) b->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &TMikDlg::okPressed);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 0);
    });
    connect(historyOpen_, &QPushButton::clicked, this, &TMikDlg::openHistoryList);
    connect(historyClose_, &QPushButton::clicked, this, &TMikDlg::closeHistoryList);

    help_->setVisible(!rules_.ssk);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    buttons->addStretch();
    buttons->addWidget(historyOpen_);
    buttons->addWidget(historyClose_);
    return buttons;
}

TMikDlg::~TMikDlg() = default;

void TMikDlg::guarded(const std::function<void()>& f) { runCommand(session_.prompter, f); }

ProductValuesResult TMikDlg::showModal(const ProductValuesRequest& request)
{
    bool shown = false;
    guarded([&] {
        logic_.show(request);
        shown = true;
    });
    if (!shown) return {};
    if (request.color.isValid()) {
        QPalette p = normalPalette_;
        p.setColor(QPalette::Window, request.color);
        setPalette(p);
        setAutoFillBackground(true);
    } else {
        setPalette(normalPalette_);
        setAutoFillBackground(false);
    }
    productName_->setText(request.productName);
    quantityLabel_->setText(rules_.ssk ? u"Sat. &Miktarı"_s : request.quantityLabel);
    if (rules_.ssk) {
        dailyUse_->setText(logic_.dailyUse());
        dose_->setText(logic_.dose());
    }
    purchase_->setVisible(request.purchaseMode);
    lineDiscount_->setText(logic_.lineDiscountText());
    freeGoods_->setText(logic_.freeGoodsText());
    if (QAbstractButton* b = freeVat_->button(logic_.freeGoodsVatChoice())) b->setChecked(true);
    priceEntered_ = false;
    showValues();
    showHistory();
    adjustSize();
    quantity_->setFocus();
    quantity_->selectAll();
    exec();
    return logic_.result();
}

void TMikDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // The form sees the keys before its controls: the scanner's marks and codes.
    qApp->installEventFilter(this);
    quantity_->setFocus();
    quantity_->selectAll();
}

void TMikDlg::hideEvent(QHideEvent* e)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(e);
}

void TMikDlg::done(int r)
{
    if (r != Accepted && logic_.isOpen()) logic_.cancel();
    grid_->hide();
    purchase_->hide();
    historyClose_->hide();
    historyOpen_->show();
    QDialog::done(r);
}

// ---------------------------------------------------------------- showing values

void TMikDlg::showPriceLabel() { priceLabel_->setText(logic_.priceLabel()); }

void TMikDlg::showValues()
{
    showPriceLabel();
    price_->setText(priceText(logic_.price()));
    priceDate_->setText(dateText(logic_.priceDate()));
    stock_->setText(QString::number(logic_.stock()));
    quantity_->setText(QString::number(logic_.quantity()));
    const int type = int(prescriptionTypeCodes().indexOf(logic_.prescriptionType()));
    types_->setExclusive(false);
    for (QAbstractButton* b : types_->buttons()) b->setChecked(false);
    types_->setExclusive(true);
    if (QAbstractButton* b = types_->button(type)) b->setChecked(true);
    discounts_->setExclusive(false);
    for (QAbstractButton* b : discounts_->buttons()) b->setChecked(false);
    discounts_->setExclusive(true);
    if (QAbstractButton* b = discounts_->button(logic_.discountType())) b->setChecked(true);
    showHistoryButtons();
}

void TMikDlg::showHistoryButtons()
{
    const bool shown = logic_.oldPriceListShown();
    historyOpen_->setVisible(!shown);
    historyOpen_->setEnabled(logic_.oldPriceListEnabled());
    historyClose_->setVisible(shown);
}

void TMikDlg::showHistory()
{
    fillingGrid_ = true;
    const QList<PriceHistoryRow>& rows = logic_.history();
    grid_->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(dateText(rows[i].date.date())));
        grid_->setItem(i, 1, new QTableWidgetItem(priceText(rows[i].price)));
    }
    if (logic_.historyCurrent() >= 0) grid_->setCurrentCell(logic_.historyCurrent(), 0);
    fillingGrid_ = false;
    grid_->setVisible(logic_.oldPriceListShown());
    showHistoryButtons();
}

// ---------------------------------------------------------------- keys and focus

bool TMikDlg::inside(QObject* o) const
{
    auto* w = qobject_cast<QWidget*>(o);
    return w && (w == this || isAncestorOf(w));
}

bool TMikDlg::inGridEditor(QObject* o) const
{
    auto* w = qobject_cast<QWidget*>(o);
    return w && w != grid_ && grid_->isAncestorOf(w);
}

bool TMikDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (!logic_.isOpen() || !inside(watched)) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: return keyPressed(watched, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (watched == price_) {
            priceEntered_ = true;
            // The other types keep the caret where it falls; type 4 is retyped whole.
            QTimer::singleShot(0, this, [this] {
                if (!price_->hasFocus()) return;
                if (logic_.selectsWholePrice()) price_->selectAll();
                else price_->deselect();
            });
        }
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window coming up is not leaving the box.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
        if (watched == quantity_) leaveQuantityBox();
        else if (watched == price_) leavePriceBox();
        break;
    }
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

bool TMikDlg::keyPressed(QObject* watched, QKeyEvent* k)
{
    // Only the first receiver: a key the focused control ignores travels on to its
    // parents and must not be handled a second time there.
    QWidget* first = focusWidget() ? focusWidget() : this;
    if (watched != first) return false;
    const int key = k->key();
    if (key == Qt::Key_F2) {
        scannerMark();
        return true;
    }
    const QString text = k->text();
    const bool printable = !text.isEmpty() && text[0].isPrint();
    if (printable && logic_.capturing()) {
        logic_.captureChar(text);
        return true;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (inGridEditor(watched)) return false;  // the editor's own Enter and Esc
    if (watched == quantity_ && !text.isEmpty() && !enter && key != Qt::Key_Tab && key != Qt::Key_Backtab
        && key != Qt::Key_Escape && key != Qt::Key_Delete)
        logic_.quantityTyped(text);
    if (watched == grid_) {
        if (enter) {
            takeHistoryRow();
            return true;
        }
        if (key == Qt::Key_Insert) {
            if (QTableWidgetItem* item = grid_->currentItem()) grid_->editItem(item);
            return true;
        }
    }
    if (enter) {
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && button != ok_) button->click();
        else okPressed();
        return true;
    }
    if (key == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}

void TMikDlg::scannerMark()
{
    const bool inQuantityBox = focusWidget() == quantity_;
    // The closing mark: a quantity typed before the scan counts.
    if (logic_.capturing() && quantity_->isModified()) leaveQuantityBox();
    MikLogic::ScanStep step = MikLogic::ScanStep::None;
    guarded([&] { step = logic_.scannerMark(inQuantityBox); });
    switch (step) {
    case MikLogic::ScanStep::SameProduct:
        quantity_->setText(QString::number(logic_.quantity()));
        quantity_->selectAll();
        break;
    case MikLogic::ScanStep::Accept:
        guarded([&] { logic_.ok(); });
        if (!logic_.isOpen()) accept();
        break;
    case MikLogic::ScanStep::Cancel: reject(); break;
    default: break;
    }
}

void TMikDlg::leaveQuantityBox()
{
    if (!quantity_->isModified()) return;
    guarded([&] { logic_.setQuantityText(quantity_->text()); });
    quantity_->setText(QString::number(logic_.quantity()));
}

void TMikDlg::leavePriceBox()
{
    if (!priceEntered_) return;
    priceEntered_ = false;
    if (price_->isModified() && !logic_.setPriceText(price_->text())) session_.prompter.beep();
    price_->setText(priceText(logic_.price()));
    guarded([&] { logic_.priceLeft(); });
}

void TMikDlg::okPressed()
{
    if (!logic_.isOpen()) return;
    // The price check runs before the line is taken.
    if (focusWidget() == price_) {
        priceEntered_ = true;
        leavePriceBox();
        ok_->setFocus();
    }
    leaveQuantityBox();
    if (price_->isModified() && logic_.setPriceText(price_->text())) price_->setText(priceText(logic_.price()));
    guarded([&] { logic_.ok(); });
    if (!logic_.isOpen()) accept();
}

// ---------------------------------------------------------------- the old-price list

void TMikDlg::openHistoryList()
{
    bool any = false;
    guarded([&] { any = logic_.openOldPriceList(); });
    showHistory();
    if (any) grid_->setFocus();
}

void TMikDlg::closeHistoryList()
{
    logic_.closeOldPriceList();
    showHistory();
    quantity_->setFocus();
}

void TMikDlg::takeHistoryRow()
{
    if (!logic_.takeHistoryRow()) return;
    price_->setText(priceText(logic_.price()));
    priceDate_->setText(dateText(logic_.priceDate()));
    showHistory();
    price_->setFocus();
}

void TMikDlg::historyItemChanged(QTableWidgetItem* item)
{
    if (fillingGrid_ || !item) return;
    const int row = item->row();
    const QTableWidgetItem* dateItem = grid_->item(row, 0);
    const QTableWidgetItem* priceItem = grid_->item(row, 1);
    const DateInput date = parseDateText(dateItem ? dateItem->text() : QString());
    double value = 0;
    const bool priceOk = priceItem && parseNumber(priceItem->text(), &value);
    if (!date.isValid() || !priceOk) {
        session_.prompter.beep();
    } else {
        guarded([&] { logic_.postHistoryRow(row, date.date, value); });
    }
    // Rebuilding the grid from inside its own signal would delete the item being edited.
    QTimer::singleShot(0, this, [this] {
        showHistory();
        grid_->setFocus();
    });
}

}  // namespace selvar
