#include "purchasing/isl_alis_logic.h"

#include "sales/sold_boxes.h"

#include "companion/companion.h"
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"
#include "purchasing/alis_calc.h"
#include "purchasing/purchase_record.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QString OrdersProgramTitle = u"Sipariş Listesi Selvar"_s;

}  // namespace

PurchaseListLine normalisedPurchaseLine(PurchaseListLine line)
{
    if (line.freeGoodsVat != u"E"_s) line.freeGoodsVat = u"H"_s;
    if (line.discountType.size() != 1 || line.discountType < u"0"_s || line.discountType > u"8"_s)
        line.discountType = u"0"_s;
    if (!purchaseTypeHasLineDiscount(line.discountType)) line.lineDiscount = 0;
    return line;
}

IslAlisLogic::IslAlisLogic(Session& session, ProductValuesDialog* values, PurchaseWindowLinks links, PickerTexts texts)
    : session_(session), values_(values), links_(std::move(links)), picker_(session, std::move(texts))
{
}

IslAlisLogic::~IslAlisLogic() = default;

void IslAlisLogic::Giris()
{
    picker_.open();
    alTop();
}

void IslAlisLogic::closing()
{
    if (oldMode()) leaveOldMode();
    else listeIptal();
    picker_.close();
}

bool IslAlisLogic::oldPurchasesAllowed() const { return session_.OldPurchasesAllowed; }

bool IslAlisLogic::productCardAllowed() const
{
    return !(session_.ProductCardRight.isEmpty() || session_.ProductCardRight == u"H"_s);
}

QString IslAlisLogic::oldButtonCaption() const { return oldMode() ? u"Es.Al.Dzl.Vazgeç"_s : u"Eski Alımlar"_s; }
QString IslAlisLogic::recordButtonCaption() const { return oldMode() ? u"Eski Alış Kayıt"_s : u"Alış Kayıt"_s; }

// ---------------------------------------------------------------- the list

QList<PurchaseListLine> IslAlisLogic::lines() const
{
    QList<PurchaseListLine> r;
    Sql q(session_.db, u"SELECT SIRANO, URUNAD, URUNO, FIYAT, MIKTAR, MALFAZLASI, TIPISKONTO, M_ISKONTO, MKDVVARMI, "
                       u"KDV, RECKOD FROM ALISTEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next()) {
        PurchaseListLine l;
        l.no = int(q.integer(0));
        l.name = q.text(1);
        l.productNo = q.integer(2);
        l.price = q.number(3);
        l.quantity = q.integer(4);
        l.freeGoods = int(q.integer(5));
        l.discountType = q.text(6);
        l.lineDiscount = q.number(7);
        l.freeGoodsVat = q.text(8);
        l.vat = q.number(9);
        l.prescriptionType = q.text(10);
        r << l;
    }
    return r;
}

int IslAlisLogic::lineCount() const { return Sql::scalar(session_.db, u"SELECT COUNT(*) FROM ALISTEMP"_s).toInt(); }

void IslAlisLogic::storeTotal()
{
    if (Sql::run(session_.db, u"UPDATE TOPFIY SET FIYAT = :f"_s, {{u"f"_s, total_}}) == 0)
        Sql::run(session_.db, u"INSERT INTO TOPFIY (FIYAT) VALUES (:f)"_s, {{u"f"_s, total_}});
}

void IslAlisLogic::alTop()
{
    total_ = Sql::scalar(session_.db, u"SELECT COALESCE(SUM(MIKTAR * FIYAT), 0) FROM ALISTEMP"_s).toDouble();
    storeTotal();
}

void IslAlisLogic::addToList(const PurchaseListLine& typed, bool replaceTerms)
{
    const PurchaseListLine l = normalisedPurchaseLine(typed);
    Transaction tx(session_.db);
    const QVariant same = Sql::scalar(session_.db,
                                      u"SELECT SIRANO FROM ALISTEMP WHERE URUNAD = :a AND FIYAT = :f LIMIT 1"_s,
                                      {{u"a"_s, l.name.left(36)}, {u"f"_s, l.price}});
    const QVariant discount = purchaseTypeHasLineDiscount(l.discountType) ? QVariant(l.lineDiscount) : QVariant();
    if (!same.isNull() && !replaceTerms) {
        Sql::run(session_.db, u"UPDATE ALISTEMP SET MIKTAR = MIKTAR + :m WHERE SIRANO = :s"_s,
                 {{u"m"_s, l.quantity}, {u"s"_s, same}});
    } else if (!same.isNull()) {
        Sql::run(session_.db, u"UPDATE ALISTEMP SET MIKTAR = MIKTAR + :m, TIPISKONTO = :t, M_ISKONTO = :d, "
                              u"MALFAZLASI = :mf, MKDVVARMI = :mk WHERE SIRANO = :s"_s,
                 {{u"m"_s, l.quantity}, {u"t"_s, l.discountType}, {u"d"_s, discount}, {u"mf"_s, l.freeGoods},
                  {u"mk"_s, l.freeGoodsVat}, {u"s"_s, same}});
    } else {
        Sql::run(session_.db, u"INSERT INTO ALISTEMP (SIRANO, URUNAD, URUNO, FIYAT, TIPISKONTO, MALFAZLASI, MKDVVARMI, "
                              u"M_ISKONTO, RECKOD, KDV, MIKTAR) VALUES (:s, :a, :u, :f, :t, :mf, :mk, :d, :r, :k, :m)"_s,
                 {{u"s"_s, lineCount() + 1}, {u"a"_s, l.name.left(36)}, {u"u"_s, l.productNo}, {u"f"_s, l.price},
                  {u"t"_s, l.discountType}, {u"mf"_s, l.freeGoods}, {u"mk"_s, l.freeGoodsVat}, {u"d"_s, discount},
                  {u"r"_s, l.prescriptionType.isEmpty() ? QVariant() : QVariant(l.prescriptionType)},
                  {u"k"_s, l.vat}, {u"m"_s, l.quantity}});
    }
    lastAdded_ = same.isNull() ? lineCount() : same.toInt();
    tx.commit();
}

void IslAlisLogic::postLine(const PurchaseListLine& typed)
{
    const PurchaseListLine l = normalisedPurchaseLine(typed);
    if (l.quantity < 1) {
        session_.prompter.warning(PurchaseQuantityMessage);
        removeLine(l.no);
        return;
    }
    const QVariant discount = purchaseTypeHasLineDiscount(l.discountType) ? QVariant(l.lineDiscount) : QVariant();
    Sql::run(session_.db, u"UPDATE ALISTEMP SET MIKTAR = :m, FIYAT = :f, MALFAZLASI = :mf, TIPISKONTO = :t, "
                          u"M_ISKONTO = :d, MKDVVARMI = :mk WHERE SIRANO = :s"_s,
             {{u"m"_s, l.quantity}, {u"f"_s, l.price}, {u"mf"_s, l.freeGoods}, {u"t"_s, l.discountType},
              {u"d"_s, discount}, {u"mk"_s, l.freeGoodsVat}, {u"s"_s, l.no}});
    alTop();
}

void IslAlisLogic::renumberFrom(int no)
{
    // Through negative numbers, so the unique line numbers never collide on the way.
    Sql::run(session_.db, u"UPDATE ALISTEMP SET SIRANO = -(SIRANO - 1) WHERE SIRANO > :s"_s, {{u"s"_s, no}});
    Sql::run(session_.db, u"UPDATE ALISTEMP SET SIRANO = -SIRANO WHERE SIRANO < 0"_s);
}

void IslAlisLogic::removeLine(int no)
{
    Transaction tx(session_.db);
    if (Sql::run(session_.db, u"DELETE FROM ALISTEMP WHERE SIRANO = :s"_s, {{u"s"_s, no}}) > 0) renumberFrom(no);
    dropBoxesWithoutLine(session_.db, BoxList::Purchase);
    tx.commit();
    alTop();
}

void IslAlisLogic::emptyList()
{
    Sql::run(session_.db, u"DELETE FROM ALISTEMP"_s);
    dropWorkingBoxes(session_.db, BoxList::Purchase);
    total_ = 0;
    storeTotal();
}

void IslAlisLogic::listeIptal()
{
    if (lineCount() == 0) return;
    if (session_.prompter.ask(PurchaseListCancelQuestion, Buttons::YesNoCancel) != Answer::Yes) return;
    emptyList();
}

// ---------------------------------------------------------------- adding

void IslAlisLogic::enterInProductList()
{
    lastAdded_ = 0;
    if (picker_.searchMode() == SearchMode::Barcode) barcodeEnter();
    else alisEkle();
}

void IslAlisLogic::scannerMark()
{
    lastAdded_ = 0;
    if (picker_.scannerMark()) barcodeEnter();
}

QString IslAlisLogic::barcodeStep()
{
    QString next;
    if (picker_.lookUpBarcode()) next = addCurrent();
    else session_.prompter.beep();
    picker_.endBarcode();
    return next;
}

void IslAlisLogic::barcodeEnter()
{
    QString next = barcodeStep();
    // A code scanned in the values dialog is looked up next, one product after the other.
    while (!next.isEmpty()) {
        picker_.takeScannedCode(next);
        next = barcodeStep();
    }
}

void IslAlisLogic::alisEkle()
{
    QString next = addCurrent();
    while (!next.isEmpty()) {
        picker_.takeScannedCode(next);
        next = barcodeStep();
    }
}

QString IslAlisLogic::currentPrescriptionCode()
{
    return picker_.isOpen() && picker_.products().hasRow() ? picker_.products().text(u"RECETEKOD"_s) : QString();
}

QString IslAlisLogic::addCurrent()
{
    Table& p = picker_.products();
    if (!p.hasRow()) return {};
    Prompter& ui = session_.prompter;
    // A box read from its DataMatrix is received once.
    const std::optional<Gs1Box> box = picker_.scannedBox();
    if (boxRefused(session_.db, ui, BoxList::Purchase, p.integer(u"ILACNO"_s), box)) return {};
    picker_.clearSearch();
    ProductValuesRequest req;
    req.productName = p.text(u"ILACAD"_s);
    req.barcode = picker_.barcodeText();
    picker_.setBarcodeText({});
    req.quantityLabel = u"Alınan Mik&tar"_s;
    req.purchaseMode = true;
    const QString type = p.text(u"RECETEKOD"_s);
    req.color = picker_.prescriptionTypeColor();
    if (req.color.isValid()) ui.beep();
    dialogColor_ = req.color;
    const qint64 productNo = p.integer(u"ILACNO"_s);
    if (oldMode()) {
        req.showOldPriceList = true;
        req.oldPriceListAt = oldMoment_;
        ui.beep();
    }
    const QString discountType = p.text(u"ALISTIP"_s).trimmed().isEmpty() ? u"0"_s : p.text(u"ALISTIP"_s).trimmed();
    {
        Transaction tx(session_.db);
        Sql::run(session_.db, u"DELETE FROM FITMP"_s);
        Sql::run(session_.db, u"INSERT INTO FITMP (ILACNO, ELDEMIK, RECKOD, FIYAT, TARIH, SATISMIK, ALISTIP) "
                              u"VALUES (:n, :e, :r, :f, :t, 1, :a)"_s,
                 {{u"n"_s, productNo}, {u"e"_s, p.integer(u"MIKTAR"_s)},
                  {u"r"_s, type.isEmpty() ? QVariant() : QVariant(type)}, {u"f"_s, p.number(u"FIYAT"_s)},
                  {u"t"_s, p.date(u"FIYATARIH"_s)}, {u"a"_s, discountType}});
        tx.commit();
    }
    if (!values_) return {};
    const ProductValuesResult r = values_->showModal(req);
    dialogColor_ = {};
    if (!r.ok) return {};
    Sql back(session_.db, u"SELECT FIYAT, SATISMIK, ALISTIP FROM FITMP LIMIT 1"_s);
    back.exec();
    if (back.next()) {
        PurchaseListLine l;
        l.name = req.productName;
        l.productNo = productNo;
        l.price = back.number(0);
        l.quantity = back.integer(1);
        const QList<Gs1Box> boxes = admitBoxes(session_.db, ui, BoxList::Purchase, productNo, box, r.boxes, l.quantity);
        l.discountType = r.discountType >= 0 ? QString::number(r.discountType) : back.text(2);
        l.freeGoods = int(purchaseTypedNumber(r.freeGoodsText));
        l.lineDiscount = purchaseTypedNumber(r.lineDiscountText);
        l.freeGoodsVat = r.freeGoodsVatChoice <= 0 ? u"E"_s : u"H"_s;
        l.prescriptionType = type;
        l.vat = p.number(u"KDV"_s);
        if (l.quantity < 1) {
            ui.warning(PurchaseQuantityMessage);
        } else {
            addToList(l, true);
            // Only the workstation's own list: no transaction that would wait for others.
            for (const Gs1Box& b : boxes) keepBox(session_.db, BoxList::Purchase, productNo, b);
            alTop();
        }
    }
    p.refresh();
    if (!r.scanBuffer.isEmpty() && r.scanBuffer != req.barcode) return r.scanBuffer;
    return {};
}

// ---------------------------------------------------------------- commands

void IslAlisLogic::alisKayit()
{
    if (lineCount() == 0 || !links_.alisFormAc) return;
    const bool correction = oldMode();
    QString supplier;
    if (!correction) {
        if (links_.chooseSupplier) supplier = links_.chooseSupplier().trimmed();
        else if (session_.companion) supplier = session_.companion->BrKurumCreate(1).trimmed();
        if (supplier.isEmpty()) return;  // no supplier: nothing written, the list stays
    }
    QDateTime moment = correction ? purchaseMoment(session_.db, oldNo_) : QDateTime();
    // The lines, their movements and the stock land in the invoice's own transaction.
    const PurchaseLinesRecorder record = [&](double number) {
        writePurchaseLines(session_.db, number, moment.isValid() ? moment : session_.clock.now(), correction);
    };
    const double number = links_.alisFormAc(!correction, supplier, correction ? oldNo_ : 0, record);
    if (number <= 0) return;
    total_ = 0;
    storeTotal();
    if (correction) leaveOldMode();
    picker_.reopen();
}

void IslAlisLogic::leaveOldMode()
{
    oldNo_ = 0;
    oldMoment_ = {};
    emptyList();
}

void IslAlisLogic::eskiAlislar()
{
    if (oldMode()) {
        leaveOldMode();
        return;
    }
    if (!session_.companion) return;
    const double number = session_.companion->EskiAlisCreate(1);
    if (number > 0) loadOldPurchase(number);
}

void IslAlisLogic::loadOldPurchase(double number)
{
    if (oldMode()) leaveOldMode();
    Database& db = session_.db;
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM ALISTEMP"_s);
    Sql::run(db, u"INSERT INTO ALISTEMP (SIRANO, URUNAD, URUNO, FIYAT, MIKTAR, MALFAZLASI, TIPISKONTO, M_ISKONTO, "
                 u"MKDVVARMI, KDV, RECKOD) "
                 u"SELECT a.SIRANOILAC, u.ILACAD, a.ILACNO, a.FIYAT, a.MIKTAR, a.MALFAZLA, a.ISKONTIP, a.M_ISKONTO, "
                 u"a.MKDVARMI, a.KDV, a.RECKOD FROM ALIS3 a LEFT JOIN URUN u ON u.ILACNO = a.ILACNO "
                 u"WHERE a.ALISNO = :n ORDER BY a.SIRANOILAC"_s,
             {{u"n"_s, number}});
    dropWorkingBoxes(db, BoxList::Purchase);
    loadBoxes(db, BoxList::Purchase, number);
    tx.commit();
    oldNo_ = number;
    oldMoment_ = purchaseMoment(db, number);
    alTop();
}

void IslAlisLogic::siparisListesiAktar()
{
    if (session_.platform && session_.platform->windowExists(OrdersProgramTitle))
        session_.platform->askToQuit(OrdersProgramTitle);
    if (!links_.siparisAktarAc || !links_.siparisAktarAc()) return;
    Database& db = session_.db;
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM SIPLIST\nWHERE SIPARIS<1 OR SIPARIS IS NULL"_s);
    // In the name order of the list, rows marked "H" stay with the orders program.
    Table t(db, u"SIPLIST.DB"_s);
    t.setIndex(u"IAD"_s);
    QList<PurchaseListLine> orders;
    for (bool more = t.first(); more; more = t.next()) {
        if (t.text(u"AKTARMA"_s) == u"H"_s) continue;
        PurchaseListLine l;
        l.productNo = t.integer(u"ILACNO"_s);
        l.name = t.text(u"ILACAD"_s);
        l.price = t.number(u"FIYAT"_s);
        l.prescriptionType = t.text(u"RECETEKOD"_s);
        l.vat = t.number(u"KDV"_s);
        l.quantity = t.integer(u"SIPARIS"_s);
        l.discountType = t.text(u"TIPISKON"_s);
        l.freeGoods = int(t.integer(u"MALFAZLA"_s));
        l.freeGoodsVat = t.text(u"MKDVARMI"_s);
        l.lineDiscount = t.number(u"M_ISKONTO"_s);
        orders << l;
    }
    for (const PurchaseListLine& l : orders) addToList(l, false);
    tx.commit();
    alTop();
}

void IslAlisLogic::productCard(int mode)
{
    if (mode == 0 && !productCardAllowed()) return;
    picker_.productCard(mode);
}

void IslAlisLogic::stockCard()
{
    if (links_.stockCard && picker_.products().hasRow())
        links_.stockCard(picker_.currentNo(), picker_.currentName());
}

}  // namespace selvar
