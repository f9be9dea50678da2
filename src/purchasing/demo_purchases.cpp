#include "purchasing/demo_purchases.h"

#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "purchasing/alis_logic.h"
#include "purchasing/isl_alis_logic.h"

#include <tuple>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// The values dialog as the demo's user fills it in.
class DemoValues final : public ProductValuesDialog {
public:
    explicit DemoValues(Database& db) : db_(db) {}
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        Sql::run(db_, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, line.quantity}});
        // A VAT-exclusive price: a share of the card's price, rounded to whole hundreds.
        if (line.priceShare > 0)
            Sql::run(db_, u"UPDATE FITMP SET FIYAT = ROUND(FIYAT * :s / 100) * 100"_s, {{u"s"_s, line.priceShare}});
        ProductValuesResult r;
        r.ok = true;
        r.discountType = line.type;
        r.freeGoodsText = line.freeGoods > 0 ? QString::number(line.freeGoods) : QString();
        r.lineDiscountText = line.discount > 0 ? QString::number(line.discount) : QString();
        r.freeGoodsVatChoice = line.vatOnFreeGoods ? 0 : 1;
        return r;
    }
    struct Line {
        int product = 0;  // index into the chosen products
        int quantity = 1;
        int type = 0;
        int freeGoods = 0;
        bool vatOnFreeGoods = true;
        double discount = 0;
        double priceShare = 0;  // 0: the card's price
    } line;

private:
    Database& db_;
};

struct DemoPurchase {
    int daysAgo;
    QString supplier;
    QString invoiceNo;
    QString deliveryNote;
    QList<DemoValues::Line> lines;
};
}  // namespace

void addDemoPurchases(Database& db, const QDate& today)
{
    QList<qint64> products;
    {
        Sql q(db, u"SELECT ILACNO FROM URUN WHERE FIYAT > 0 ORDER BY ILACNO LIMIT 30"_s);
        q.exec();
        while (q.next()) products << q.integer(0);
    }
    if (products.size() < 30) return;
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(today, QTime(9, 0)));
    Session session(db, prompter, clock);
    session.UserName = u"ECZACI"_s;
    DemoValues values(db);
    QString supplier, invoiceNo, deliveryNote;
    QList<double> numbers;
    PurchaseWindowLinks links;
    links.chooseSupplier = [&] { return supplier; };
    links.alisFormAc = [&](bool isNew, const QString& code, double no, const PurchaseLinesRecorder& record) {
        AlisLogic a(session);
        a.open(isNew, isNew ? code : QString(), no);
        if (isNew) {
            a.setField(u"FATNO"_s, invoiceNo);
            a.setField(u"IRSALNO"_s, deliveryNote);
            a.setField(u"VADE"_s, clock.today().addDays(30));
            a.setField(u"ACIKLAMA"_s, u"Aylık ilaç alımı"_s);
        }
        a.setLinesRecorder(record);
        if (a.store() != AlisLogic::StoreResult::Stored) return 0.0;
        if (isNew) numbers << a.result();
        return a.result();
    };
    IslAlisLogic logic(session, &values, links);
    logic.Giris();
    const auto add = [&](const DemoValues::Line& l) {
        const QString name = Sql::scalar(db, u"SELECT ILACAD FROM URUN WHERE ILACNO = :n"_s,
                                         {{u"n"_s, products[l.product]}}).toString();
        logic.picker().positionByName(name);
        values.line = l;
        logic.alisEkle();
    };
    // Every category: label-price lines with the fixed and a line discount, free goods with
    // and without their VAT, wholesaler-price lines, VAT-exclusive lines of types 4, 7, 8.
    const QList<DemoPurchase> purchases{
        {24, u"DEPO1"_s, u"MD-204511"_s, u"İR-88120"_s,
         {{0, 12, 0, 2, true}, {1, 6, 2}, {2, 10, 5, 0, true, 10}, {3, 4, 1}, {4, 5, 6, 1, false, 12}}},
        {15, u"DEPO2"_s, u"AD-77310"_s, u"İR-5521"_s,
         {{5, 10, 4, 0, true, 0, 0.78}, {6, 6, 7, 0, true, 0, 0.8}, {7, 8, 8, 2, true, 5, 0.85},
          {8, 3, 3, 1, false}}},
        {9, u"DEPO1"_s, QString(), u"İR-88377"_s, {{9, 20, 0, 4, false}, {10, 7, 0}, {11, 2, 1}}},
        {4, u"DEPO2"_s, u"AD-77544"_s, u"İR-5630"_s, {{12, 10, 4, 0, true, 0, 0.76}, {13, 4, 2}}},
    };
    for (const DemoPurchase& p : purchases) {
        clock.set(QDateTime(today.addDays(-p.daysAgo), QTime(10, 30)));
        supplier = p.supplier;
        invoiceNo = p.invoiceNo;
        deliveryNote = p.deliveryNote;
        for (const DemoValues::Line& l : p.lines) add(l);
        logic.alisKayit();
    }
    // The third purchase corrected two days later: one line fewer, another quantity.
    clock.set(QDateTime(today.addDays(-7), QTime(16, 10)));
    if (numbers.size() < 3) return;
    logic.loadOldPurchase(numbers[2]);
    if (logic.lineCount() == 3) {
        PurchaseListLine l = logic.lines()[1];
        l.quantity = 5;
        logic.postLine(l);
        logic.removeLine(3);
        logic.alisKayit();
    }

    // The orders program's list: some rows kept out ("H"), some to transfer, one ordered 0.
    for (int i = 0; i < 15; ++i) {
        const QVariantMap card = readRecord(db, u"URUN"_s, findKeyRow(db, u"URUN"_s, QString(), {products[14 + i]}));
        const int ordered = i == 6 ? 0 : 1 + (i * 7) % 12;
        const QString type = QString::number((i * 4) % 9);
        const bool discount = type == u"5"_s || type == u"6"_s || type == u"8"_s;
        const QVariant mark = i % 4 == 1 ? QVariant(u"H"_s) : (i % 4 == 2 ? QVariant(u"E"_s) : QVariant());
        insertRecord(db, u"SIPLIST"_s,
                     {{u"ILACNO"_s, products[14 + i]}, {u"ILACAD"_s, card.value(u"ILACAD"_s)},
                      {u"FIYAT"_s, card.value(u"FIYAT"_s)}, {u"FIYATARIH"_s, card.value(u"FIYATARIH"_s)},
                      {u"SIPTARIH"_s, today.addDays(-(i % 3))}, {u"SIPARIS"_s, ordered},
                      {u"FIYAT_1"_s, ordered * card.value(u"FIYAT"_s).toDouble()}, {u"KDV"_s, card.value(u"KDV"_s)},
                      {u"MIKTAR"_s, card.value(u"MIKTAR"_s)}, {u"RECETEKOD"_s, card.value(u"RECETEKOD"_s)},
                      {u"MALFAZLA"_s, i % 5 == 0 ? 1 : 0}, {u"TIPISKON"_s, type},
                      {u"MKDVARMI"_s, i % 2 ? u"H"_s : u"E"_s}, {u"M_ISKONTO"_s, discount ? 7.5 : 0.0},
                      {u"AKTARMA"_s, mark}});
    }
}

void addDemoMovementHistory(Database& db, const QDate& today)
{
    // The product sold most in the demo gets two more years of history before it.
    qint64 product = 0;
    double price = 0;
    {
        Sql q(db, u"SELECT h.ILACNO, u.FIYAT FROM URUNHRK h JOIN URUN u ON u.ILACNO = h.ILACNO "
                  u"GROUP BY h.ILACNO, u.FIYAT ORDER BY COUNT(*) DESC, h.ILACNO LIMIT 1"_s);
        q.exec();
        if (!q.next()) return;
        product = q.integer(0), price = q.number(1);
    }
    const qint64 patient = Sql::scalar(db, u"SELECT MIN(HASTANO) FROM HASTA WHERE HASTADI IS NOT NULL"_s).toLongLong();
    Transaction tx(db);
    const QDate start = QDate(today.year(), today.month(), 1).addYears(-3);
    auto sale = [&](const QDateTime& when, const QString& kind, int quantity) {
        const double no = takeSaleNumber(db);
        insertRecord(db, u"SATIS"_s,
                     {{u"SATISNO"_s, no}, {u"SIRANOURUN"_s, 1}, {u"SATARIH"_s, when}, {u"ILACNO"_s, product},
                      {u"FIYAT"_s, price}, {u"MIKTAR"_s, quantity}, {u"KDV"_s, 8.0}, {u"RECETETIP"_s, u"N"_s},
                      {u"PARAKENDE"_s, kind}});
        recordStockMovement(db, {product, when, no, 1, {}, {}, double(quantity), price});
        return no;
    };
    for (int m = 0; m < 24; ++m) {
        const QDate first = start.addMonths(m);
        // A purchase a month, from the two suppliers in turn.
        const double purchase = takePurchaseNumber(db);
        const QDateTime bought(first.addDays(1), QTime(9, 30));
        insertRecord(db, u"ALIS1"_s,
                     {{u"ALISNO"_s, purchase}, {u"KRMKOD"_s, m % 2 ? u"DEPO2"_s : u"DEPO1"_s},
                      {u"FATNO"_s, QStringLiteral("GM-%1").arg(3000 + m)}, {u"FATARIH"_s, bought.date()},
                      {u"NET"_s, 20 * price * 0.7}});
        recordStockMovement(db, {product, bought, purchase, 1, 20.0, price * 0.7, {}, {}});
        sale(QDateTime(first.addDays(5), QTime(11, 15)), u"P"_s, 3);
        sale(QDateTime(first.addDays(12), QTime(15, 40)), u"P"_s, 2);
        // A prescription of a patient.
        const double prescribed = sale(QDateTime(first.addDays(9), QTime(10, 5)), u"R"_s, 1);
        insertRecord(db, u"RECETE"_s,
                     {{u"RKDEFTERNO"_s, QStringLiteral("GM%1").arg(qint64(prescribed))}, {u"SATISNO"_s, prescribed},
                      {u"HASTANO"_s, patient}, {u"RECTARIH"_s, first.addDays(9)}, {u"ALTARIH"_s, first.addDays(9)},
                      {u"BRUTN"_s, price}, {u"NET"_s, price}});
        // Every third month an invoiced sale to an institution.
        if (m % 3 == 0) {
            const QDateTime when(first.addDays(20), QTime(14, 0));
            const double invoiced = sale(when, u"F"_s, 4);
            insertRecord(db, u"FATURA"_s,
                         {{u"FATNO"_s, takeInvoiceNumber(db)}, {u"FATURANO"_s, QStringLiteral("GM-F%1").arg(m)},
                          {u"SATISNO"_s, invoiced}, {u"FATARIH"_s, when.date()}, {u"KRMKOD"_s, u"MEB"_s},
                          {u"KRMAD"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s}, {u"KES"_s, true}, {u"NET"_s, 4 * price}});
        }
    }
    // An exchange with another pharmacy each way, each under its own exchange row.
    const QString name = Sql::scalar(db, u"SELECT ILACAD FROM URUN WHERE ILACNO = :p"_s, {{u"p"_s, product}}).toString();
    for (const auto& [months, type, quantity] : {std::tuple{7, u"E"_s, 5}, std::tuple{15, u"V"_s, 4}}) {
        const QDate day = start.addMonths(months).addDays(3);
        const double no = double(insertRecord(db, u"TAKAS"_s,
                                              {{u"ECZADI"_s, u"ŞİFA ECZANESİ"_s}, {u"ILACAD"_s, name}, {u"ADET"_s, quantity},
                                               {u"TUTAR"_s, quantity * price}, {u"TIP"_s, type}, {u"TARIH"_s, day},
                                               {u"SONDURUM"_s, u"K"_s}}));
        StockMovement m{product, QDateTime(day, QTime(0, 0)), no, 999999999, {}, {}, {}, {}};
        if (type == u"E"_s) m.inQuantity = quantity, m.inPrice = price;
        else m.outQuantity = quantity, m.outPrice = price;
        recordStockMovement(db, m);
    }
    // The inventory program's corrections.
    insertRecord(db, u"MRAPORD"_s, {{u"ILACNO"_s, product}, {u"MIKDEG"_s, -2}});
    insertRecord(db, u"MRAPORD"_s, {{u"ILACNO"_s, product}, {u"MIKDEG"_s, 1}});
    tx.commit();
}

}  // namespace selvar
