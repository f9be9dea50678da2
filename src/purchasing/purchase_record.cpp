#include "purchasing/purchase_record.h"

#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "sales/sold_boxes.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QDateTime purchaseMoment(Database& db, double purchaseNo)
{
    return Sql::scalar(db, u"SELECT ALISTARIH FROM ALIS3 WHERE ALISNO = :n ORDER BY SIRANOILAC LIMIT 1"_s,
                       {{u"n"_s, purchaseNo}})
        .toDateTime();
}

void writePurchaseLines(Database& db, double purchaseNo, const QDateTime& moment, bool correction)
{
    Transaction tx(db);
    if (correction) {
        // The old lines go back: their movements, their stock, the lines themselves.
        const QDateTime old = purchaseMoment(db, purchaseNo);
        Sql q(db, u"SELECT ILACNO, MIKTAR, SIRANOILAC FROM ALIS3 WHERE ALISNO = :n"_s);
        q.bind(u"n"_s, purchaseNo).exec();
        while (q.next()) {
            deleteStockMovements(db, q.integer(0), old.isValid() ? old : moment, purchaseNo);
            changeStock(db, q.integer(0), -q.number(1));
        }
        Sql::run(db, u"DELETE FROM ALIS3 WHERE ALISNO = :n"_s, {{u"n"_s, purchaseNo}});
        releaseBoxes(db, BoxList::Purchase, purchaseNo);
    }
    // The boxes received, read from their DataMatrix, land with the lines.
    {
        QHash<qint64, int> lineOfProduct;
        Sql q(db, u"SELECT URUNO, MIN(SIRANO) FROM ALISTEMP GROUP BY URUNO"_s);
        q.exec();
        while (q.next()) lineOfProduct.insert(q.integer(0), int(q.integer(1)));
        recordBoxes(db, BoxList::Purchase, purchaseNo, lineOfProduct, moment);
    }
    Sql lines(db, u"SELECT SIRANO, URUNO, FIYAT, MIKTAR, RECKOD, MALFAZLASI, TIPISKONTO, GER_FIYAT, M_ISKONTO, KDV, "
                  u"MKDVVARMI FROM ALISTEMP ORDER BY SIRANO"_s);
    lines.exec();
    Sql line(db, u"INSERT INTO ALIS3 (ALISNO, SIRANOILAC, ILACNO, FIYAT, MIKTAR, RECKOD, KDV, ALISTARIH, MALFAZLA, "
                 u"ISKONTIP, M_ISKONTO, MKDVARMI) VALUES (:n, :s, :i, :f, :m, :r, :k, :t, :mf, :it, :mi, :mk)"_s);
    while (lines.next()) {
        const qint64 product = lines.integer(1);
        line.bind(u"n"_s, purchaseNo).bind(u"s"_s, lines.integer(0)).bind(u"i"_s, product);
        line.bind(u"f"_s, lines.number(2)).bind(u"m"_s, lines.integer(3)).bind(u"r"_s, lines.value(4));
        line.bind(u"k"_s, lines.number(9)).bind(u"t"_s, moment).bind(u"mf"_s, lines.integer(5));
        line.bind(u"it"_s, lines.value(6)).bind(u"mi"_s, lines.value(8)).bind(u"mk"_s, lines.value(10)).exec();
        // The stock of the line's own product, by its number, in one update.
        StockMovement m;
        m.productNo = product;
        m.when = moment;
        m.documentNo = purchaseNo;
        m.line = lines.integer(0);
        m.inQuantity = lines.number(3);
        m.inPrice = lines.number(7);
        recordStockMovement(db, m);
    }
    Sql::run(db, u"DELETE FROM ALISTEMP"_s);
    tx.commit();
}

}  // namespace selvar
