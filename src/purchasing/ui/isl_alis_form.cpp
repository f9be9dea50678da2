#include "purchasing/ui/isl_alis_form.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/codes.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/ui/command.h"
#include "purchasing/alis_calc.h"
#include "purchasing/ui/choice_popup.h"
#include "sales/product_list_model.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QColor purchasePrescriptionColor(const QString& code)
{
    if (code == u"A"_s) return QColor(0, 255, 255);   // aqua
    if (code == u"B"_s || code == u"O"_s) return QColor(255, 255, 255);
    if (code == u"H"_s) return QColor(0, 128, 128);   // teal
    if (code == u"I"_s) return QColor(128, 128, 0);   // olive
    if (code == u"K"_s) return QColor(255, 0, 0);
    if (code == u"N"_s) return QColor(192, 192, 192); // silver
    if (code == u"R"_s) return QColor(255, 255, 0);
    if (code == u"S"_s) return QColor(255, 0, 255);   // fuchsia
    if (code == u"Y"_s) return QColor(0, 255, 0);     // lime
    return {};
}

// ---------------------------------------------------------------- the purchase list

PurchaseLinesModel::PurchaseLinesModel(IslAlisLogic& logic, QObject* parent) : QAbstractTableModel(parent), logic_(logic) {}

void PurchaseLinesModel::reload()
{
    QList<PurchaseListLine> fresh = logic_.lines();
    // The same rows with new values keep the grid's current cell.
    if (fresh.size() == lines_.size() && !fresh.isEmpty()) {
        lines_ = std::move(fresh);
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    lines_ = std::move(fresh);
    endResetModel();
}

QVariant PurchaseLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    const PurchaseListLine& l = lines_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Type || index.column() == FreeGoodsVat
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole) {
        switch (index.column()) {
        case Quantity: return l.quantity;
        case Price: return numberText(l.price, 2);
        case FreeGoods: return l.freeGoods;
        case LineDiscount: return numberText(l.lineDiscount, 1);
        default: break;
        }
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case No: return l.no;
    case Name: return l.name;
    case Quantity: return l.quantity;
    case Price: return formatMask(u"#,##0.##"_s, l.price);
    case FreeGoods: return l.freeGoods;
    case Type: return purchaseDiscountTypeLabel(l.discountType);
    case LineDiscount: return l.lineDiscount == 0 ? QVariant() : QVariant(format(u"%g", l.lineDiscount));
    case FreeGoodsVat: return l.freeGoodsVat;
    }
    return {};
}

QVariant PurchaseLinesModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"S.N"_s,   u"ÜRÜN ADI"_s, u"Mik"_s,    u"FİYAT"_s,
                                    u"Mal F"_s, u"İsk.Tipi"_s, u"%F.İsk"_s, u"Mfkdv"_s};
    return titles.value(section);
}

Qt::ItemFlags PurchaseLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int c = index.column();
    if (c == Quantity || c == Price || c == FreeGoods || c == LineDiscount) f |= Qt::ItemIsEditable;
    return f;
}

void PurchaseLinesModel::post(const PurchaseListLine& line)
{
    const auto edit = [&] { logic_.postLine(line); };
    if (prompter) runCommand(*prompter, edit);
    else edit();
    reload();
    if (onChanged) onChanged();
}

bool PurchaseLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= lines_.size()) return false;
    PurchaseListLine l = lines_[index.row()];
    double v = 0;
    const QString typed = value.toString().trimmed();
    if (typed.isEmpty()) v = 0;
    else if (!parseNumber(typed, &v)) return false;
    switch (index.column()) {
    case Quantity: l.quantity = qint64(v); break;
    case Price: l.price = v; break;
    case FreeGoods: l.freeGoods = int(v); break;
    case LineDiscount:
        if (v < 0 || v > 99.9) {  // a rate of 100 % or more is no discount
            if (prompter) prompter->beep();
            return false;
        }
        l.lineDiscount = v;
        break;
    default: return false;
    }
    post(l);
    return true;
}

// ---------------------------------------------------------------- the window

namespace {
PickerTexts purchaseTexts()
{
    PickerTexts t;
    t.toBarcodeCaption = u"Barkodla Ara(F5 tuşu)"_s;
    t.toKeyboardCaption = u"Klavyeden Ara(F5 tuşu)"_s;
    return t;
}
}  // namespace

TIslAlisForm::TIslAlisForm(Session& session, PurchaseWindowLinks links, TAraJenDlg* search, QWidget* parent)
    : CounterForm(session, search, parent), logic_(session, nullptr, links, purchaseTexts()), links_(links)
{
    setObjectName(u"TIslAlisForm"_s);
    setWindowTitle(u"ALIŞ İŞLEMLERİ"_s);
    discountTypeLabel_ = [](const QString& code) { return purchaseDiscountTypeLabel(code); };
    createProductList();
    lineModel_ = new PurchaseLinesModel(logic_, this);
    lineModel_->prompter = &session_.prompter;
    lineModel_->onChanged = refreshLater();
    lines_ = createLinesView(u"AlisListesi"_s, lineModel_);
    lines_->horizontalHeader()->setSectionResizeMode(PurchaseLinesModel::Name, QHeaderView::Stretch);
    const QFont bold = createProductLabels();
    labels_[u"ReceteTipi"_s]->setAutoFillBackground(true);
    createOldLabels(bold);
    addLabel(u"Toplam"_s)->setFont(bold);
    createButtons();
    layOut();
    createShortcuts();
    createPopupMenu();
    resize(1100, 760);
}

TIslAlisForm::~TIslAlisForm() = default;

void TIslAlisForm::createButtons()
{
    addButton(u"EskiAlislar"_s, u"Eski Alımlar"_s, [this] { logic_.eskiAlislar(); });
    addButton(u"AlisKayit"_s, u"Alış Kayıt"_s, [this] { logic_.alisKayit(); });
    addButton(u"AlisIptal"_s, u"Alış Listesi İptal"_s, [this] { logic_.listeIptal(); });
    addButton(u"SiparisAktar"_s, u"Sipariş Listesi Aktar"_s, [this] { logic_.siparisListesiAktar(); });
    createProductButtons();
    // The product's card follows the current product (Alt+D), the history waits for its window.
    buttons_[u"StokKarti"_s]->setEnabled(bool(links_.stockCard));
    addButton(u"Hesap"_s, u"Hesap Makinesi"_s, [this] {
        if (session_.platform && !session_.platform->startCalculator())
            session_.prompter.warning(u"Hesap makinesi bulunamadı."_s);
    });
}

void TIslAlisForm::layOut()
{
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(u"Toplam :"_s, this));
    totals->addWidget(labels_[u"Toplam"_s]);
    totals->addStretch();
    auto* commands = new QHBoxLayout;
    for (const char* b : {"EskiAlislar", "AlisKayit", "AlisIptal", "SiparisAktar"})
        commands->addWidget(buttons_[QString::fromLatin1(b)]);
    auto* eski = new QHBoxLayout;
    for (const char* l : {"Eski", "EskiTarih", "EskiNo", "Duzeltme"}) eski->addWidget(labels_[QString::fromLatin1(l)]);
    eski->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(productRow(nullptr, {u"Hesap"_s}), 3);
    layout->addLayout(eski);
    layout->addWidget(lines_, 2);
    layout->addLayout(totals);
    layout->addLayout(commands);
}

void TIslAlisForm::createShortcuts()
{
    addKey(Qt::Key_F1, [this] {
        if (session_.platform) session_.platform->showHelp(u"Selvar.hlp"_s, 115);
    });
    addKey(Qt::Key_F3, [this] {
        if (buttons_[u"EskiAlislar"_s]->isEnabled()) logic_.eskiAlislar();
    });
    // F7 acts as the button does when it has the focus.
    addKey(Qt::Key_F7, [this] {
        buttons_[u"AlisKayit"_s]->setFocus();
        logic_.alisKayit();
    });
    addKey(Qt::Key_F8, [this] { logic_.listeIptal(); });
    addKey(Qt::Key_F9, [this] { logic_.siparisListesiAktar(); });
    addLinesKey(lines_, PurchaseLinesModel::Quantity);
}

void TIslAlisForm::createPopupMenu()
{
    products_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(products_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const bool stockShown = !products_->isColumnHidden(ProductListModel::Stock);
        const bool expiryShown = !products_->isColumnHidden(ProductListModel::Expiry);
        menu.addAction(stockShown ? u"Adet Gizle"_s : u"Adet Göster"_s, this, [this, stockShown] {
            products_->setColumnHidden(ProductListModel::Stock, stockShown);
        });
        menu.addAction(expiryShown ? u"Miad Gizle"_s : u"Miad Göster"_s, this, [this, expiryShown] {
            products_->setColumnHidden(ProductListModel::Expiry, expiryShown);
        });
        menu.exec(products_->viewport()->mapToGlobal(at));
    });
}

void TIslAlisForm::enterInProductList()
{
    logic_.enterInProductList();
    focusAddedLine();
}

void TIslAlisForm::scannerMark()
{
    logic_.scannerMark();
    focusAddedLine();
}

void TIslAlisForm::focusAddedLine()
{
    const int no = logic_.lastAddedLine();
    if (no <= 0) return;
    // After the window has shown the new list.
    QTimer::singleShot(0, this, [this, no] {
        const QList<PurchaseListLine>& lines = lineModel_->lines();
        for (int r = 0; r < lines.size(); ++r)
            if (lines[r].no == no) {
                lines_->setFocus();
                lines_->setCurrentIndex(lineModel_->index(r, PurchaseLinesModel::Quantity));
            }
    });
}

void TIslAlisForm::Giris()
{
    guarded([this] {
        logic_.Giris();
        openProductList();
        applyRights();
    });
    // Every column in sight, the discount type included.
    const std::pair<int, int> widths[] = {{ProductListModel::Name, 250},  {ProductListModel::Price, 85},
                                          {ProductListModel::PriceDate, 80}, {ProductListModel::Stock, 50},
                                          {ProductListModel::Shelf, 45}, {ProductListModel::Expiry, 60},
                                          {ProductListModel::Vat, 35},   {ProductListModel::DiscountType, 100}};
    for (const auto& [column, width] : widths) products_->setColumnWidth(column, width);
    showOnTop();
}

void TIslAlisForm::applyRights()
{
    buttons_[u"EskiAlislar"_s]->setEnabled(logic_.oldPurchasesAllowed() || logic_.oldMode());
    buttons_[u"UrunKarti"_s]->setEnabled(logic_.productCardAllowed());
}

void TIslAlisForm::showProductInfo()
{
    CounterForm::showProductInfo();
    // Every prescription class has its own colour here.
    QLabel* type = labels_[u"ReceteTipi"_s];
    QPalette pal = palette();
    const QColor c = purchasePrescriptionColor(logic_.currentPrescriptionCode());
    if (c.isValid()) pal.setColor(QPalette::Window, c);
    type->setPalette(pal);
}

void TIslAlisForm::refresh()
{
    showSearchState();
    lineModel_->reload();
    labels_[u"Toplam"_s]->setText(moneyText(logic_.total()));
    buttons_[u"EskiAlislar"_s]->setText(logic_.oldButtonCaption());
    buttons_[u"AlisKayit"_s]->setText(logic_.recordButtonCaption());
    showOldLabels(logic_.oldMode(), logic_.oldMode() ? u"("_s + dateTimeText(logic_.oldPurchaseMoment()) + u")"_s : QString(),
                  logic_.oldMode() ? numberText(logic_.oldPurchaseNo(), 0) + u" Nolu ESKİ"_s : QString());
    applyRights();
}

double TIslAlisForm::recountTotal()
{
    logic_.alTop();
    return logic_.total();
}

void TIslAlisForm::closing()
{
    logic_.closing();
    lineModel_->reload();
}


void TIslAlisForm::chooseDiscountType(int row)
{
    if (row < 0 || row >= lineModel_->lines().size()) return;
    PurchaseListLine line = lineModel_->lines()[row];
    const int chosen = selvar::chooseDiscountType(this, lines_, lineModel_->index(row, PurchaseLinesModel::Type),
                                                  line.discountType);
    if (chosen >= 0) {
        line.discountType = QString::number(chosen);
        lineModel_->post(line);
    }
    lines_->setFocus();
    lines_->setCurrentIndex(lineModel_->index(row, PurchaseLinesModel::LineDiscount));
}

void TIslAlisForm::chooseFreeGoodsVat(int row)
{
    if (row < 0 || row >= lineModel_->lines().size()) return;
    PurchaseListLine line = lineModel_->lines()[row];
    const QString chosen = selvar::chooseFreeGoodsVat(this, lines_,
                                                      lineModel_->index(row, PurchaseLinesModel::FreeGoodsVat),
                                                      line.freeGoodsVat);
    if (!chosen.isEmpty()) {
        line.freeGoodsVat = chosen;
        lineModel_->post(line);
    }
    lines_->setFocus();
    lines_->setCurrentIndex(lineModel_->index(row, PurchaseLinesModel::FreeGoodsVat));
}

bool TIslAlisForm::lineKey(QKeyEvent* k)
{
    const QModelIndex current = lines_->currentIndex();
    if (k->key() == Qt::Key_Delete && (k->modifiers() & Qt::ControlModifier)) {
        if (current.isValid() && current.row() < lineModel_->lines().size()) {
            const int no = lineModel_->lines()[current.row()].no;
            command([&] { logic_.removeLine(no); });
            const int rows = lineModel_->rowCount();
            if (rows > 0) lines_->setCurrentIndex(lineModel_->index(qMin(current.row(), rows - 1), current.column()));
        }
        return true;
    }
    if (k->key() == Qt::Key_Insert) return true;  // lines come from the product list only
    const bool typing = !k->text().isEmpty() && k->text()[0].isPrint();
    if (current.isValid() && typing && current.column() == PurchaseLinesModel::Type) {
        chooseDiscountType(current.row());
        return true;
    }
    if (current.isValid() && typing && current.column() == PurchaseLinesModel::FreeGoodsVat) {
        chooseFreeGoodsVat(current.row());
        return true;
    }
    // The number and the name are not typed: the cursor goes on to the quantity.
    if (current.isValid() && typing
        && (current.column() == PurchaseLinesModel::No || current.column() == PurchaseLinesModel::Name))
        lines_->setCurrentIndex(lineModel_->index(current.row(), PurchaseLinesModel::Quantity));
    return false;
}

bool TIslAlisForm::eventFilter(QObject* o, QEvent* e)
{
    if (o == lines_ && e->type() == QEvent::KeyPress) return lineKey(static_cast<QKeyEvent*>(e));
    return CounterForm::eventFilter(o, e);
}

}  // namespace selvar
