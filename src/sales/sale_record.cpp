#include "sales/sale_record.h"

#include "data/counters.h"
#include "data/database.h"
#include "data/sql.h"
#include "sales/sold_boxes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

double writeSale(Database& db, const SaleToWrite& sale)
{
    const bool correction = sale.oldMode != SaleMode::New;
    if (correction) reverseSale(db, sale.number, sale.when);
    const double number = sale.number != 0 ? sale.number : takeSaleNumber(db);
    // The scanned boxes are the sale's from the same commit on.
    QHash<qint64, int> lineOfProduct;
    for (const SaleLine& l : sale.lines)
        if (!lineOfProduct.contains(l.productNo)) lineOfProduct.insert(l.productNo, l.no);
    recordBoxes(db, BoxList::Sale, number, lineOfProduct, sale.when);
    Sql row(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                u"VALUES (:n, :l, :t, :i, :f, :m, :k, :r, :p)"_s);
    for (const SaleLine& l : sale.lines) {
        row.bind(u"n"_s, number).bind(u"l"_s, l.no).bind(u"t"_s, sale.when).bind(u"i"_s, l.productNo);
        row.bind(u"f"_s, l.price).bind(u"m"_s, l.quantity).bind(u"k"_s, l.vat);
        row.bind(u"r"_s, l.prescriptionType.isEmpty() ? QVariant() : QVariant(l.prescriptionType));
        row.bind(u"p"_s, sale.kind).exec();
        // Stock goes down for the product of the line itself, by its number.
        recordStockMovement(db, {l.productNo, sale.when, number, l.no, std::nullopt, std::nullopt, double(l.quantity), l.price});
    }
    if (sale.creditEntryNo != 0)
        Sql::run(db, u"UPDATE HAREKET SET ALSATNO = :n WHERE HAREKNO = :h"_s, {{u"n"_s, number}, {u"h"_s, sale.creditEntryNo}});
    const QVariantMap discountRow{{u"n"_s, number}, {u"t"_s, sale.when.date()}, {u"d"_s, sale.discount}};
    if (sale.discount > 0) {
        if (!correction || Sql::run(db, u"UPDATE iskonto SET ISKONTUT = :d, TARIH = :t WHERE SATISNO = :n"_s, discountRow) == 0)
            Sql::run(db, u"INSERT INTO iskonto (SATISNO, TARIH, ISKONTUT) VALUES (:n, :t, :d)"_s, discountRow);
    } else if (correction) {
        // A corrected sale without discount keeps no old discount.
        Sql::run(db, u"DELETE FROM iskonto WHERE SATISNO = :n"_s, discountRow);
    }
    if (correction) cleanUpConvertedSale(db, number, sale.oldMode, sale.correction);
    Sql::run(db, u"DELETE FROM SATEMP"_s);
    return number;
}

void reverseSale(Database& db, double number, const QDateTime& when)
{
    struct Old {
        qint64 product;
        qint64 line;
        int quantity;
    };
    QList<Old> old;
    {
        Sql q(db, u"SELECT ILACNO, SIRANOURUN, MIKTAR FROM SATIS WHERE SATISNO = :n"_s);
        q.bind(u"n"_s, number).exec();
        while (q.next()) old << Old{q.integer(0), q.integer(1), int(q.integer(2))};
    }
    releaseBoxes(db, BoxList::Sale, number);
    for (const Old& o : old) {
        deleteStockMovements(db, o.product, when, number);
        changeStock(db, o.product, o.quantity);
        // The SSK line data is the detail of the sale row and goes with it.
        deleteSskLineRecord(db, number, o.line, o.product);
        Sql::run(db, u"DELETE FROM SATIS WHERE SATISNO = :n AND SIRANOURUN = :l"_s, {{u"n"_s, number}, {u"l"_s, o.line}});
    }
}

void cleanUpConvertedSale(Database& db, double number, SaleMode oldMode, Correction correction)
{
    if (oldMode == SaleMode::OldInvoice) deleteSskRecords(db, number);
    switch (correction) {
    case Correction::PrescriptionAlsoInvoiced:
    case Correction::InvoiceAlsoPrescription: copyInvoiceIntoPrescription(db, number); break;
    case Correction::PrescriptionToRetail: deletePrescription(db, number); break;
    case Correction::InvoiceToRetail: deleteSaleInvoice(db, number); break;
    case Correction::InvoicedPrescriptionToRetail:
        deletePrescription(db, number);
        deleteSaleInvoice(db, number);
        break;
    default: break;
    }
}

OldSale readOldSale(Database& db, double number)
{
    OldSale old;
    Sql q(db, u"SELECT s.SIRANOURUN, s.ILACNO, s.FIYAT, s.MIKTAR, s.RECETETIP, s.KDV, s.SATARIH, s.PARAKENDE, u.ILACAD "
              u"FROM SATIS s LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
    q.bind(u"n"_s, number).exec();
    while (q.next()) {
        if (!old.found) {
            old.found = true;
            old.when = q.timestamp(6);
            old.kind = q.text(7);
        }
        old.lines << SaleLine{int(q.integer(0)), q.text(8), int(q.integer(3)), q.number(2), q.integer(1), q.text(4),
                              q.number(5)};
    }
    if (!old.found) return old;
    const QVariant d = Sql::scalar(db, u"SELECT ISKONTUT FROM iskonto WHERE SATISNO = :n"_s, {{u"n"_s, number}});
    old.discount = d.isNull() ? 0 : d.toDouble();
    return old;
}

void fillWorkingList(Database& db, const QList<SaleLine>& lines)
{
    Sql ins(db, u"INSERT INTO SATEMP (SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV) VALUES (:s, :a, :m, :f, :u, :r, :k)"_s);
    for (const SaleLine& l : lines) {
        ins.bind(u"s"_s, l.no).bind(u"a"_s, l.name.isEmpty() ? QVariant() : QVariant(l.name)).bind(u"m"_s, l.quantity);
        ins.bind(u"f"_s, l.price).bind(u"u"_s, l.productNo);
        ins.bind(u"r"_s, l.prescriptionType.isEmpty() ? QVariant() : QVariant(l.prescriptionType));
        ins.bind(u"k"_s, l.vat).exec();
    }
}

}  // namespace selvar
