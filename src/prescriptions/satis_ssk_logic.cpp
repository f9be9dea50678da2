#include "prescriptions/satis_ssk_logic.h"

#include "companion/companion.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "sales/mik_logic.h"
#include "sales/sale_record.h"
#include "sales/sold_boxes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QVariant nullIfEmpty(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }
QVariant nullIfZero(qint64 v) { return v == 0 ? QVariant() : QVariant(v); }
}  // namespace

QList<SskLine> readSskLines(Database& db)
{
    QList<SskLine> r;
    Sql q(db, u"SELECT SIRANO, URUNAD, URUNO, REC_ILACNO, REC_ILACAD, ESDEGERGK, RECKOD, KDV, GUN_KUL, BIRKUL_ALMIK, "
              u"MIKTAR, FIYAT FROM SATEMSSK ORDER BY SIRANO"_s);
    q.exec();
    while (q.next())
        r << SskLine{int(q.integer(0)), q.text(1), q.integer(2), q.integer(3), q.text(4), q.text(5), q.text(6),
                     q.number(7),       q.text(8), q.text(9),    int(q.integer(10)), q.number(11)};
    return r;
}

SatisSskLogic::SatisSskLogic(Session& session, ProductValuesDialog* values, SskSaleLinks links)
    : session_(session), values_(values), links_(std::move(links)),
      picker_(session, PickerTexts{u"Liste Şu An KLAVYDEN ARAMAYA AYARLI"_s, u"Liste Şu An BARKODLA ARAMAYA AYARLI"_s,
                                   u"İlacın Miadı Yakın."_s, u"Ürünün Stok Bilgisi Mevcut Silinemez!!!"_s, false})
{
}

void SatisSskLogic::Giris()
{
    picker_.open();
    recomputeTotal();
}

void SatisSskLogic::closing()
{
    if (correcting()) endCorrection();
    picker_.close();
}

// ---------------------------------------------------------------- adding

void SatisSskLogic::scannerMark()
{
    if (picker_.scannerMark()) followScans(barcodeStep());
}

void SatisSskLogic::enterInProductList()
{
    if (picker_.searchMode() == ProductPicker::SearchMode::Barcode) followScans(barcodeStep());
    else satEkle();
}

void SatisSskLogic::satEkle() { followScans(addCurrent()); }

QString SatisSskLogic::barcodeStep()
{
    // An empty code adds nothing: the first product without a code is not the one meant.
    const bool typed = !picker_.barcodeText().isEmpty();
    QString next;
    if (typed && picker_.lookUpBarcode()) next = addCurrent();
    else if (typed) session_.prompter.beep();
    picker_.endBarcode();
    return next;
}

void SatisSskLogic::followScans(QString next)
{
    // A run of scans in the dialog adds one line after the other.
    while (!next.isEmpty()) {
        picker_.takeScannedCode(next);
        next = barcodeStep();
    }
}

QString SatisSskLogic::addCurrent()
{
    Table& p = picker_.products();
    if (!p.hasRow()) return {};
    // A box read from its DataMatrix goes into a sale once.
    const std::optional<Gs1Box> box = picker_.scannedBox();
    if (boxRefused(session_.db, session_.prompter, BoxList::SskSale, p.integer(u"ILACNO"_s), box)) return {};
    ProductValuesRequest req = picker_.warnAndRequest();
    req.quantityLabel = u"Sat. &Miktarı"_s;
    if (!maskedDateIsBlank(dateBox_)) {
        const DateInput d = parseDateText(dateBox_);
        if (d.isValid()) req.prescriptionDate = d.date;
    }
    if (correcting()) {
        // The price list opens on the price in force when the old sale was made; the
        // price itself changes only when one is taken from it.
        req.showOldPriceList = true;
        req.oldPriceListAt = oldSaleDate_;
    }
    const qint64 productNo = p.integer(u"ILACNO"_s);
    WorkRowValues w;
    w.productNo = productNo;
    w.price = p.number(u"FIYAT"_s);
    w.priceDate = p.date(u"FIYATARIH"_s);
    w.stock = p.integer(u"MIKTAR"_s);
    w.quantity = 1;
    w.prescriptionType = p.text(u"RECETEKOD"_s);
    writeWorkRow(session_.db, w);
    if (!values_) return {};
    const ProductValuesResult r = values_->showModal(req);
    if (!r.ok) return {};
    const WorkRowValues back = readWorkRow(session_.db);
    SskLine line;
    line.name = req.productName.left(36);
    line.productNo = productNo;
    line.type = back.prescriptionType;
    line.vat = p.number(u"KDV"_s);
    line.dailyUse = r.dailyUse;
    line.dose = r.dose;
    qint64 quantity = back.quantity;
    const QList<Gs1Box> boxes = admitBoxes(session_.db, session_.prompter, BoxList::SskSale, productNo, box, r.boxes, quantity);
    line.quantity = int(quantity);
    line.price = back.price;
    addLine(line);
    if (line.quantity >= 1)
        for (const Gs1Box& b : boxes) keepBox(session_.db, BoxList::SskSale, productNo, b);
    p.refresh();
    if (!r.scanBuffer.isEmpty() && r.scanBuffer != digitsOf(req.barcode) && r.scanBuffer != req.barcode) return r.scanBuffer;
    return {};
}

void SatisSskLogic::addLine(const SskLine& l)
{
    if (l.quantity < 1) {
        session_.prompter.error(SskBelowOneMessage);
        return;
    }
    Database& db = session_.db;
    Transaction tx(db);
    const QVariant same = Sql::scalar(db, u"SELECT SIRANO FROM SATEMSSK WHERE URUNAD = :a AND FIYAT = :f LIMIT 1"_s,
                                      {{u"a"_s, l.name}, {u"f"_s, l.price}});
    if (!same.isNull()) {
        Sql::run(db, u"UPDATE SATEMSSK SET MIKTAR = MIKTAR + :m, RECKOD = :r, GUN_KUL = :g, BIRKUL_ALMIK = :d WHERE SIRANO = :s"_s,
                 {{u"m"_s, l.quantity}, {u"r"_s, nullIfEmpty(l.type)}, {u"g"_s, nullIfEmpty(l.dailyUse)},
                  {u"d"_s, nullIfEmpty(l.dose)}, {u"s"_s, same}});
    } else {
        Sql::run(db, u"INSERT INTO SATEMSSK (SIRANO, URUNAD, URUNO, RECKOD, KDV, GUN_KUL, BIRKUL_ALMIK, MIKTAR, FIYAT) "
                     u"VALUES (:s, :a, :u, :r, :k, :g, :d, :m, :f)"_s,
                 {{u"s"_s, lineCount() + 1}, {u"a"_s, l.name}, {u"u"_s, l.productNo}, {u"r"_s, nullIfEmpty(l.type)},
                  {u"k"_s, l.vat}, {u"g"_s, nullIfEmpty(l.dailyUse)}, {u"d"_s, nullIfEmpty(l.dose)},
                  {u"m"_s, l.quantity}, {u"f"_s, l.price}});
    }
    tx.commit();
    recomputeTotal();
}

// ---------------------------------------------------------------- the working list

QList<SskLine> SatisSskLogic::lines() const { return readSskLines(session_.db); }

int SatisSskLogic::lineCount() const { return Sql::scalar(session_.db, u"SELECT COUNT(*) FROM SATEMSSK"_s).toInt(); }

void SatisSskLogic::postLine(const SskLine& l)
{
    if (l.quantity < 1) {
        session_.prompter.error(SskBelowOneMessage);
        removeLine(l.no);
        return;
    }
    Sql::run(session_.db,
             u"UPDATE SATEMSSK SET ESDEGERGK = :e, GUN_KUL = :g, BIRKUL_ALMIK = :d, MIKTAR = :m, FIYAT = :f, RECKOD = :r "
             u"WHERE SIRANO = :s"_s,
             {{u"e"_s, nullIfEmpty(l.equivalence.left(3))}, {u"g"_s, nullIfEmpty(l.dailyUse.left(1))},
              {u"d"_s, nullIfEmpty(l.dose.left(3))}, {u"m"_s, l.quantity}, {u"f"_s, l.price},
              {u"r"_s, nullIfEmpty(l.type)}, {u"s"_s, l.no}});
    recomputeTotal();
}

void SatisSskLogic::renumberFrom(int no)
{
    // Through negative numbers, so the line numbers never collide on the way.
    Sql::run(session_.db, u"UPDATE SATEMSSK SET SIRANO = -(SIRANO - 1) WHERE SIRANO > :s"_s, {{u"s"_s, no}});
    Sql::run(session_.db, u"UPDATE SATEMSSK SET SIRANO = -SIRANO WHERE SIRANO < 0"_s);
}

void SatisSskLogic::removeLine(int no)
{
    Transaction tx(session_.db);
    if (Sql::run(session_.db, u"DELETE FROM SATEMSSK WHERE SIRANO = :s"_s, {{u"s"_s, no}}) > 0) renumberFrom(no);
    dropBoxesWithoutLine(session_.db, BoxList::SskSale);
    tx.commit();
    recomputeTotal();
}

void SatisSskLogic::recomputeTotal()
{
    total_ = Sql::scalar(session_.db, u"SELECT COALESCE(SUM(MIKTAR * FIYAT), 0) FROM SATEMSSK"_s).toDouble();
    if (Sql::run(session_.db, u"UPDATE TOPFIY SET FIYAT = :f"_s, {{u"f"_s, total_}}) == 0)
        Sql::run(session_.db, u"INSERT INTO TOPFIY (FIYAT) VALUES (:f)"_s, {{u"f"_s, total_}});
}

void SatisSskLogic::markEquivalent(int no)
{
    const qint64 product = picker_.currentNo();
    if (product == 0) return;
    Sql::run(session_.db, u"UPDATE SATEMSSK SET REC_ILACNO = :n, REC_ILACAD = :a WHERE SIRANO = :s"_s,
             {{u"n"_s, product}, {u"a"_s, picker_.currentName().left(36)}, {u"s"_s, no}});
}

void SatisSskLogic::setEquivalenceCode(int no, const QString& code)
{
    Sql::run(session_.db, u"UPDATE SATEMSSK SET ESDEGERGK = :e WHERE SIRANO = :s"_s,
             {{u"e"_s, nullIfEmpty(code.left(3))}, {u"s"_s, no}});
}

void SatisSskLogic::clearEquivalent(int no)
{
    Sql::run(session_.db, u"UPDATE SATEMSSK SET REC_ILACNO = NULL, REC_ILACAD = NULL, ESDEGERGK = NULL WHERE SIRANO = :s"_s,
             {{u"s"_s, no}});
}

void SatisSskLogic::dateBoxLeft()
{
    if (maskedDateIsBlank(dateBox_) && parseDateText(dateBox_).isBlank()) return;
    if (!parseDateText(dateBox_).isValid()) {
        dateBox_.clear();
        session_.prompter.beep();
    }
}

// ---------------------------------------------------------------- recording

void SatisSskLogic::sskReceteKayit()
{
    if (lineCount() == 0 || !links_.receteSskAc) return;
    const int mode = correcting() ? 0 : 1;
    const double number = links_.receteSskAc(mode, dateBox_, oldSaleNo_, [this](double saleNo) { recordLines(saleNo); });
    if (number <= 0) return;  // left without storing: nothing written, the list stays
    // Stored together with its lines: the window starts a new prescription.
    dateBox_.clear();
    oldSaleNo_ = 0;
    oldSaleDate_ = {};
    oldKind_.clear();
    recomputeTotal();
    picker_.products().refresh();  // the stock shown follows the sale
}

void SatisSskLogic::recordLines(double saleNo)
{
    Database& db = session_.db;
    QDateTime when = session_.clock.now();
    if (correcting()) {
        when = oldSaleDate_;
        reverseSale(db, oldSaleNo_, oldSaleDate_);
        deleteSskLineRecords(db, oldSaleNo_);
    }
    const QString kind = oldKind_ == u"E"_s ? u"E"_s : u"R"_s;
    // The scanned boxes are the prescription's from the same commit on.
    QHash<qint64, int> lineOfProduct;
    for (const SskLine& l : lines())
        if (!lineOfProduct.contains(l.productNo)) lineOfProduct.insert(l.productNo, l.no);
    recordBoxes(db, BoxList::SskSale, saleNo, lineOfProduct, when);
    for (const SskLine& l : lines()) {
        recordStockMovement(db, {l.productNo, when, saleNo, l.no, std::nullopt, std::nullopt, double(l.quantity), l.price});
        Sql::run(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                     u"VALUES (:n, :l, :t, :i, :f, :m, :k, :r, :p)"_s,
                 {{u"n"_s, saleNo}, {u"l"_s, l.no}, {u"t"_s, when}, {u"i"_s, l.productNo}, {u"f"_s, l.price},
                  {u"m"_s, l.quantity}, {u"k"_s, l.vat}, {u"r"_s, nullIfEmpty(l.type)}, {u"p"_s, kind}});
        Sql::run(db, u"INSERT INTO RECSSK_A (SATISNO, SIRANOILAC, ILACNO, REC_ILAC, ESDEGERGK, KUTUSAYISI, GUN_KULLAN, "
                     u"BIRKUL_ALMIK) VALUES (:n, :l, :i, :r, :e, :k, :g, :d)"_s,
                 {{u"n"_s, saleNo}, {u"l"_s, l.no}, {u"i"_s, l.productNo}, {u"r"_s, nullIfZero(l.prescribedNo)},
                  {u"e"_s, nullIfEmpty(digitsOf(l.equivalence))}, {u"k"_s, l.quantity},
                  {u"g"_s, nullIfEmpty(digitsOf(l.dailyUse))}, {u"d"_s, nullIfEmpty(digitsOf(l.dose))}});
    }
    Sql::run(db, u"DELETE FROM SATEMSSK"_s);
}

void SatisSskLogic::emptyWorkingList()
{
    dateBox_.clear();
    Sql::run(session_.db, u"DELETE FROM SATEMSSK"_s);
    dropWorkingBoxes(session_.db, BoxList::SskSale);
    recomputeTotal();
}

void SatisSskLogic::satisListesiIptali()
{
    if (lineCount() == 0) return;
    if (session_.prompter.ask(u"Satışla ilgili İşlemler İptal Edilsin mi?"_s, Buttons::YesNoCancel) == Answer::Yes)
        emptyWorkingList();
}

void SatisSskLogic::endCorrection()
{
    oldSaleNo_ = 0;
    oldSaleDate_ = {};
    oldKind_.clear();
    emptyWorkingList();
}

// ---------------------------------------------------------------- old prescriptions

void SatisSskLogic::loadOldSale(double number)
{
    Database& db = session_.db;
    Sql q(db, u"SELECT s.SIRANOURUN, u.ILACAD, s.ILACNO, a.REC_ILAC, r.ILACAD, a.ESDEGERGK, s.RECETETIP, s.KDV, "
              u"a.GUN_KULLAN, a.BIRKUL_ALMIK, s.MIKTAR, s.FIYAT, s.SATARIH, s.PARAKENDE, a.KUTUSAYISI "
              u"FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO "
              u"LEFT JOIN RECSSK_A a ON a.SATISNO = s.SATISNO AND a.SIRANOILAC = s.SIRANOURUN AND a.ILACNO = s.ILACNO "
              u"LEFT JOIN URUN r ON r.ILACNO = a.REC_ILAC WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
    q.bind(u"n"_s, number).exec();
    QList<SskLine> old;
    QDateTime when;
    QString kind;
    while (q.next()) {
        SskLine l{int(old.size()) + 1, q.text(1).left(36), q.integer(2), q.integer(3), q.text(4).left(36), q.text(5),
                  q.text(6), q.number(7), q.text(8), q.text(9), int(q.integer(10)), q.number(11)};
        // The boxes of the SSK line data are the quantity when they were recorded.
        if (!q.value(14).isNull() && q.integer(14) > 0) l.quantity = int(q.integer(14));
        old << l;
        when = q.timestamp(12);
        kind = q.text(13);
    }
    if (old.isEmpty()) return;
    emptyWorkingList();
    {
        Transaction tx(db);
        for (const SskLine& l : old)
            Sql::run(db, u"INSERT INTO SATEMSSK (SIRANO, URUNAD, URUNO, REC_ILACNO, REC_ILACAD, ESDEGERGK, RECKOD, KDV, "
                         u"GUN_KUL, BIRKUL_ALMIK, MIKTAR, FIYAT) VALUES (:s, :a, :u, :rn, :ra, :e, :r, :k, :g, :d, :m, :f)"_s,
                     {{u"s"_s, l.no}, {u"a"_s, l.name}, {u"u"_s, l.productNo}, {u"rn"_s, nullIfZero(l.prescribedNo)},
                      {u"ra"_s, nullIfEmpty(l.prescribedName)}, {u"e"_s, nullIfEmpty(l.equivalence)},
                      {u"r"_s, nullIfEmpty(l.type)}, {u"k"_s, l.vat}, {u"g"_s, nullIfEmpty(l.dailyUse)},
                      {u"d"_s, nullIfEmpty(l.dose)}, {u"m"_s, l.quantity}, {u"f"_s, l.price}});
        loadBoxes(db, BoxList::SskSale, number);
        tx.commit();
    }
    oldSaleNo_ = number;
    oldSaleDate_ = when;
    oldKind_ = kind;
    recomputeTotal();
}

void SatisSskLogic::eskiReceteler()
{
    if (correcting()) {
        endCorrection();
        return;
    }
    if (!oldSalesAllowed() || !session_.companion) return;
    const double number = session_.companion->BrReceteCreate(1);
    if (number > 0) loadOldSale(number);
}

SskCaptions SatisSskLogic::captions() const
{
    SskCaptions c;
    if (!correcting()) return c;
    c.oldPrescriptions = u"Esk.Rçt.Dzlt.Vazgeç"_s;
    c.record = u"Eski Reçete Kayıt"_s;
    c.oldLabelsShown = true;
    c.oldDateLabel = u"("_s + dateTimeText(oldSaleDate_) + u")"_s;
    c.oldNumberLabel = format(u"%0.0f", oldSaleNo_) + u" Nolu ESKİ"_s;
    return c;
}

bool SatisSskLogic::oldSalesAllowed() const { return session_.OldSalesAllowed; }

bool SatisSskLogic::productCardAllowed() const
{
    return !(session_.ProductCardRight.isEmpty() || session_.ProductCardRight == u"H"_s);
}

void SatisSskLogic::productCard(int mode)
{
    if (productCardAllowed()) picker_.productCard(mode);
}

void SatisSskLogic::stockCard()
{
    if (links_.stockCard && picker_.currentNo() != 0) links_.stockCard(picker_.currentNo(), picker_.currentName());
}

}  // namespace selvar
