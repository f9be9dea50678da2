#include "sales/mik_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/codes.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int MaxCodeLength = 255;
constexpr qint64 QuantityWarnAbove = 25;
const QString LabelPrice = u"Etiket Fi&yatı"_s;
const QString LabelSskPrice = u"&Fiyatı"_s;
const QString ScannedCancel = u"ESC"_s;
// A row dated before this is a typing slip, not a price that was ever valid.
const QDateTime EarliestRealPriceDate(QDate(1000, 1, 1), QTime(0, 0));
}  // namespace

void writeWorkRow(Database& db, const WorkRowValues& v)
{
    Table t(db, u"FITMP.DB"_s);
    t.first();
    t.edit();
    t.set(u"ILACNO"_s, v.productNo);
    t.set(u"FIYAT"_s, v.price);
    t.set(u"TARIH"_s, v.priceDate.isValid() ? QVariant(v.priceDate) : QVariant());
    t.set(u"ELDEMIK"_s, v.stock);
    t.set(u"SATISMIK"_s, v.quantity);
    t.set(u"RECKOD"_s, v.prescriptionType);
    t.set(u"ALISTIP"_s, v.discountType);
    t.post();
}

WorkRowValues readWorkRow(Database& db)
{
    Table t(db, u"FITMP.DB"_s);
    WorkRowValues v;
    if (!t.first()) return v;
    v.productNo = t.integer(u"ILACNO"_s);
    v.price = t.number(u"FIYAT"_s);
    v.priceDate = t.date(u"TARIH"_s);
    v.stock = t.integer(u"ELDEMIK"_s);
    v.quantity = t.integer(u"SATISMIK"_s);
    v.prescriptionType = t.text(u"RECKOD"_s);
    v.discountType = t.text(u"ALISTIP"_s);
    return v;
}

MikLogic::MikLogic(Session& session, MikRules rules) : session_(session), rules_(rules) {}

MikLogic::~MikLogic() = default;

Table& MikLogic::work()
{
    if (!work_) work_ = std::make_unique<Table>(session_.db, u"FITMP.DB"_s);
    return *work_;
}

const Table& MikLogic::work() const { return const_cast<MikLogic*>(this)->work(); }

// ---------------------------------------------------------------- showing and closing

void MikLogic::show(const ProductValuesRequest& request)
{
    request_ = request;
    accepted_ = false;
    historyShown_ = false;
    historyRows_.clear();
    historyCurrent_ = -1;

    // 1. A fresh scan, the sale label, the row the caller filled in edit state.
    scanOn_ = scanDone_ = false;
    scanBuffer_.clear();
    boxes_.clear();
    priceLabel_ = rules_.ssk ? LabelSskPrice : LabelPrice;
    dailyUse_ = u"1"_s;
    dose_ = u"  1"_s;
    Table& w = work();
    if (w.isEditing()) w.cancel();
    w.first();
    w.edit();
    open_ = true;
    freeGoodsText_ = request.freeGoodsText.isEmpty() ? u"0"_s : request.freeGoodsText;
    lineDiscountText_ = request.lineDiscountText;
    freeGoodsVat_ = 1;
    refreshHistoryButton();

    // 2. and 3.
    shownPrice_ = price();
    productBarcode_ = (rules_.ssk ? digitsOf(request.barcode) : request.barcode).left(MaxCodeLength);
    typedKeys_.clear();

    // 4. An old prescription is charged at the price of its day.
    const QDate rx = request.prescriptionDate;
    if (!request.purchaseMode && rx.isValid() && priceDate().isValid() && priceDate() > rx) {
        session_.prompter.beep();
        pickOldPrescriptionPrice();
    }

    // 5.
    if (request.purchaseMode) priceLabel_ = discountTypePriceLabel(discountType());

    if (request.showOldPriceList && openOldPriceList() && request.oldPriceListAt.isValid())
        positionHistory(request.oldPriceListAt);
}

void MikLogic::pickOldPrescriptionPrice()
{
    loadHistory();
    if (historyRows_.isEmpty()) {
        session_.prompter.warning(NoOldPriceMessage);
        return;
    }
    const QDate rx = request_.prescriptionDate;
    const QDateTime at(rx, QTime(0, 0));
    int i = 0;
    while (i < historyRows_.size() && historyRows_[i].date < at) ++i;
    if (i == historyRows_.size()) i = int(historyRows_.size()) - 1;  // past the end: the last row
    if (rx < historyRows_[i].date.date()) {
        if (i > 0) --i;
        if (rx < historyRows_[i].date.date()) session_.prompter.warning(NoOldPriceMessage);
    }
    Table& w = work();
    w.set(u"TARIH"_s, historyRows_[i].date.date());
    w.set(u"FIYAT"_s, historyRows_[i].price);
    historyRows_.clear();
}

void MikLogic::ok()
{
    if (!open_) return;
    Table& w = work();
    if (w.isEditing()) w.post();
    accepted_ = true;
    refreshHistoryButton();
    close();
}

void MikLogic::cancel()
{
    if (!open_) return;
    Table& w = work();
    if (w.isEditing()) w.cancel();
    accepted_ = false;
    close();
}

void MikLogic::close()
{
    historyShown_ = false;
    historyRows_.clear();
    historyCurrent_ = -1;
    open_ = false;
}

ProductValuesResult MikLogic::result() const
{
    ProductValuesResult r;
    r.ok = accepted_;
    r.scanBuffer = scanBuffer_;
    r.boxes = boxes_;
    if (rules_.ssk) {
        r.dailyUse = dailyUse_;
        r.dose = dose_;
    }
    if (request_.purchaseMode) {
        r.freeGoodsText = freeGoodsText_;
        r.lineDiscountText = lineDiscountText_;
        r.freeGoodsVatChoice = freeGoodsVat_;
        r.discountType = discountType();
    }
    return r;
}

// ---------------------------------------------------------------- the working row

qint64 MikLogic::productNo() const { return work().integer(u"ILACNO"_s); }
double MikLogic::price() const { return work().number(u"FIYAT"_s); }
QDate MikLogic::priceDate() const { return work().date(u"TARIH"_s); }
qint64 MikLogic::stock() const { return work().integer(u"ELDEMIK"_s); }
qint64 MikLogic::quantity() const { return work().integer(u"SATISMIK"_s); }
QString MikLogic::prescriptionType() const { return work().text(u"RECKOD"_s); }

void MikLogic::setPrescriptionType(const QString& code)
{
    if (open_) work().set(u"RECKOD"_s, code);
}

// ---------------------------------------------------------------- quantity

void MikLogic::quantityTyped(const QString& chars) { typedKeys_ += chars; }

void MikLogic::setQuantityText(const QString& text)
{
    if (!open_) return;
    const QString t = text.trimmed();
    qint64 q = quantity();
    if (t.isEmpty()) {
        q = rules_.ssk ? 1 : 0;  // the sale drops a line of 0; an SSK line is one box
    } else {
        bool valid = false;
        const int v = t.toInt(&valid);
        if (valid) q = v;
    }
    // The product's own barcode typed or scanned into the box is one more unit, not a
    // quantity.
    if (typedKeys_ == productBarcode_) q = 1;
    if (q > QuantityWarnAbove) session_.prompter.beep();
    work().set(u"SATISMIK"_s, q);
}

// ---------------------------------------------------------------- price

bool MikLogic::setPriceText(const QString& text)
{
    if (!open_) return false;
    double v = 0;
    if (!parseNumber(text.trimmed(), &v)) return false;
    work().set(u"FIYAT"_s, v);
    return true;
}

void MikLogic::priceLeft()
{
    if (!open_) return;
    const double p = price();
    if (p > shownPrice_ && priceIncrease_ && priceIncrease_(productNo(), p)) shownPrice_ = p;
}

// ---------------------------------------------------------------- scanner

MikLogic::ScanStep MikLogic::scannerMark(bool inQuantityBox)
{
    if (!open_) return ScanStep::None;
    if (scanOn_ && !scanDone_) {
        scanDone_ = true;
        // Another box of the same product, read from its DataMatrix, is the same code.
        const ScanReading scan = readScan(scanBuffer_, session_.db.alias().gsText);
        if (scan.kind == ScanReading::Kind::Gs1 && !productBarcode_.isEmpty()
            && (rules_.ssk ? digitsOf(scan.code) : scan.code) == productBarcode_) {
            const QString key = serialKey(scan.box.serial);
            for (const Gs1Box& b : boxes_)
                if (!key.isEmpty() && serialKey(b.serial) == key) {
                    // The same box twice: not one more.
                    session_.prompter.beep();
                    scanBuffer_.clear();
                    return ScanStep::SameProduct;
                }
            boxes_ << scan.box;
            work().set(u"SATISMIK"_s, quantity() + 1);
            scanBuffer_.clear();
            return ScanStep::SameProduct;
        }
        if (scanBuffer_ != productBarcode_) {
            if (scanBuffer_ == ScannedCancel) return ScanStep::Cancel;
            scanOn_ = scanDone_ = false;
            return ScanStep::Accept;
        }
        work().set(u"SATISMIK"_s, quantity() + 1);
        scanBuffer_.clear();
        return ScanStep::SameProduct;
    }
    // The mark after a repeated scan ends that scan before the next one begins.
    if (scanOn_ && scanDone_) scanOn_ = scanDone_ = false;
    if (!inQuantityBox) return ScanStep::None;
    scanOn_ = true;
    return ScanStep::CaptureOn;
}

bool MikLogic::captureChar(const QString& text)
{
    if (!capturing()) return false;
    scanBuffer_ = (scanBuffer_ + text).left(MaxCodeLength);
    return true;
}

// ---------------------------------------------------------------- price history

void MikLogic::refreshHistoryButton()
{
    historyButtonEnabled_ =
        !Sql::scalar(session_.db, u"SELECT 1 FROM URFAYAR WHERE ILACNO = :no LIMIT 1"_s, {{u"no"_s, productNo()}})
             .isNull();
}

void MikLogic::loadHistory()
{
    historyRows_.clear();
    Table t(session_.db, u"URFAYAR.DB"_s);
    t.setIndex(u"ILACTRH"_s);
    const qint64 no = productNo();
    t.setRange({no}, {no});
    for (bool more = t.first(); more; more = t.next())
        historyRows_.push_back({t.integer(u"SIRANO"_s), t.timestamp(u"FITARIH"_s), t.number(u"FIYAT"_s)});
}

bool MikLogic::openOldPriceList()
{
    if (!open_) return false;
    loadHistory();
    if (historyRows_.isEmpty()) {
        historyButtonEnabled_ = false;
        historyShown_ = false;
        return false;
    }
    historyShown_ = true;
    historyCurrent_ = 0;
    return true;
}

void MikLogic::closeOldPriceList()
{
    historyShown_ = false;
    historyRows_.clear();
    historyCurrent_ = -1;
}

void MikLogic::positionHistory(const QDateTime& at)
{
    if (historyRows_.isEmpty()) return;
    int i = 0;
    while (i < historyRows_.size() && historyRows_[i].date < at) ++i;
    if (i == historyRows_.size()) i = int(historyRows_.size()) - 1;
    else if (i > 0) --i;
    historyCurrent_ = i;
}

void MikLogic::setHistoryCurrent(int row)
{
    if (row >= 0 && row < historyRows_.size()) historyCurrent_ = row;
}

bool MikLogic::takeHistoryRow()
{
    if (!open_ || !historyShown_ || historyCurrent_ < 0 || historyCurrent_ >= historyRows_.size()) return false;
    const PriceHistoryRow r = historyRows_[historyCurrent_];
    if (!(r.price > 0) || !r.date.isValid() || !(r.date > EarliestRealPriceDate)) return false;
    Table& w = work();
    w.set(u"FIYAT"_s, r.price);
    w.set(u"TARIH"_s, r.date.date());
    closeOldPriceList();
    return true;
}

void MikLogic::postHistoryRow(int row, const QDate& date, double price)
{
    if (!historyShown_ || row < 0 || row >= historyRows_.size() || !date.isValid()) return;
    const QDateTime stamped = withTimeOf(date, session_.clock.now());
    {
        Transaction tx(session_.db);
        Sql::run(session_.db, u"UPDATE URFAYAR SET FITARIH = :trh, FIYAT = :fyt WHERE SIRANO = :sira"_s,
                 {{u"trh"_s, stamped}, {u"fyt"_s, price}, {u"sira"_s, historyRows_[row].no}});
        // The price goes in as a parameter: a decimal comma in SQL text breaks the statement.
        QDate cardDate = stamped.date();
        double cardPrice = price;
        if (rules_.ssk) {
            // The card follows the latest entry, whichever was edited.
            // An entry without a date is never the latest, on either engine.
            const Dialect& d = session_.db.dialect();
            Sql last(session_.db, u"SELECT FIYAT, FITARIH FROM URFAYAR WHERE ILACNO = :no ORDER BY "_s + d.orderTerm(u"FITARIH"_s, true)
                                      + u", SIRANO DESC LIMIT 1"_s);
            last.bind(u"no"_s, productNo()).exec();
            if (last.next()) {
                cardPrice = last.number(0);
                cardDate = last.timestamp(1).date();
            }
        }
        Sql::run(session_.db, u"UPDATE URUN SET FIYAT = :fiyat, FIYATARIH = :tarihi WHERE ILACNO = :no"_s,
                 {{u"fiyat"_s, cardPrice}, {u"tarihi"_s, cardDate}, {u"no"_s, productNo()}});
        tx.commit();
    }
    loadHistory();
    historyCurrent_ = int(historyRows_.size()) - 1;
}

// ---------------------------------------------------------------- purchase panel

int MikLogic::discountType() const
{
    const QString t = work().text(u"ALISTIP"_s);
    if (t.size() != 1 || t[0] < u'0' || t[0] > u'8') return -1;
    return t[0].unicode() - u'0';
}

void MikLogic::setDiscountType(int type)
{
    if (!open_ || type < 0 || type > 8) return;
    work().set(u"ALISTIP"_s, QString::number(type));
    priceLabel_ = discountTypePriceLabel(type);
}

}  // namespace selvar
