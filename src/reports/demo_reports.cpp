#include "reports/demo_reports.h"

#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

void addDemoReports(Database& db, const QDate& today)
{
    QList<std::pair<qint64, double>> products;
    {
        Sql q(db, u"SELECT ILACNO, FIYAT FROM URUN WHERE FIYAT > 0 AND RECETEKOD = 'N' ORDER BY ILACNO LIMIT 10 OFFSET 30"_s);
        q.exec();
        while (q.next()) products << std::pair{q.integer(0), q.number(1)};
    }
    if (products.size() < 10) return;
    Transaction tx(db);
    double lastRetail = 0, lastPurchase = 0;
    for (int m = 12; m >= 1; --m) {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(-m);
        // A purchase at the start of the month: twenty of each product at two thirds of its price.
        const double purchase = takePurchaseNumber(db);
        lastPurchase = purchase;
        const QDateTime bought(month.addDays(1), QTime(9, 30));
        double net = 0;
        for (int i = 0; i < products.size(); ++i) {
            const auto& [p, price] = products[i];
            const double cost = std::round(price * 0.66 / 100) * 100;
            insertRecord(db, u"ALIS3"_s,
                         {{u"ALISNO"_s, purchase}, {u"SIRANOILAC"_s, i + 1}, {u"ILACNO"_s, p}, {u"FIYAT"_s, cost},
                          {u"MIKTAR"_s, 20}, {u"KDV"_s, 8.0}, {u"ALISTARIH"_s, bought}, {u"ISKONTIP"_s, u"1"_s},
                          {u"MALFAZLA"_s, 0}, {u"MKDVARMI"_s, u"H"_s}});
            recordStockMovement(db, {p, bought, purchase, i + 1, 20.0, cost, std::nullopt, std::nullopt});
            net += 20 * cost;
        }
        insertRecord(db, u"ALIS1"_s,
                     {{u"ALISNO"_s, purchase}, {u"KRMKOD"_s, m % 2 ? u"DEPO1"_s : u"DEPO2"_s},
                      {u"FATNO"_s, QStringLiteral("YR-%1").arg(1000 + m)}, {u"FATARIH"_s, bought.date()},
                      {u"IRSTARIH"_s, bought.date()}, {u"BRUT"_s, net}, {u"NET"_s, net}, {u"KDVTOP"_s, net * 8 / 108}});
        // Retail sales through the month, some with a discount.
        for (int s = 0; s < 6; ++s) {
            const double sale = takeSaleNumber(db);
            lastRetail = sale;
            const QDateTime when(month.addDays(3 + s * 4), QTime(10 + s, 15));
            double total = 0;
            for (int l = 0; l < 2; ++l) {
                const auto& [p, price] = products[(m + s + l * 3) % products.size()];
                const int quantity = 1 + (s + l) % 3;
                insertRecord(db, u"SATIS"_s,
                             {{u"SATISNO"_s, sale}, {u"SIRANOURUN"_s, l + 1}, {u"SATARIH"_s, when}, {u"ILACNO"_s, p},
                              {u"FIYAT"_s, price}, {u"MIKTAR"_s, quantity}, {u"KDV"_s, 8.0}, {u"RECETETIP"_s, u"N"_s},
                              {u"PARAKENDE"_s, u"P"_s}});
                recordStockMovement(db, {p, when, sale, l + 1, std::nullopt, std::nullopt, double(quantity), price});
                total += quantity * price;
            }
            if (s % 3 == 0)
                insertRecord(db, u"iskonto"_s,
                             {{u"SATISNO"_s, sale}, {u"TARIH"_s, when.date()}, {u"ISKONTUT"_s, std::round(total * 0.02 / 100) * 100}});
        }
        // A private invoice each month.
        const double invoiceNet = 250000.0 + m * 10000;
        insertRecord(db, u"FATURA"_s,
                     {{u"FATNO"_s, takeInvoiceNumber(db)}, {u"FATURANO"_s, QStringLiteral("A-%1").arg(200 + m)},
                      {u"FATARIH"_s, month.addDays(20)}, {u"KRMKOD"_s, u"MEB"_s}, {u"KRMAD"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s},
                      {u"NET"_s, invoiceNet}, {u"TOPKDV"_s, invoiceNet * 8 / 108}});
    }
    // Account movements of every kind and state around today.
    struct Move {
        const char16_t* kind;
        int settled;
        double debit, credit;
        const char16_t* text;
    };
    const Move moves[] = {{u"D", 0, 0, 150000, u"Kira"},          {u"D", 1, 0, 90000, u"Elektrik"},
                          {u"K", 0, 850000, 0, u"Kurum Faturası"}, {u"P", 1, 320000, 0, u"Prk.Fatura"},
                          {u"N", 1, 0, 200000, u"Nakit Tahsilat"}, {u"N", 1, 120000, 0, u"Nakit Ödeme"},
                          {u"S", 3, 500000, 0, u"Senet Verildi"},  {u"S", 0, 0, 400000, u"Senet Alındı"},
                          {u"S", 1, 250000, 0, u"Senet Ödendi"},   {u"Ç", 2, 0, 300000, u"Çek Cirolandı"},
                          {u"Ç", 3, 450000, 0, u"Çek Verildi"},    {u"Ç", 1, 0, 180000, u"Çek Tahsil"},
                          {u"M", 1, 60000, 0, u"Veresiye Kapatıldı"}};
    int i = 0;
    double lastMovement = 0;
    for (const Move& mv : moves) {
        lastMovement = takeMovementNumber(db);
        insertRecord(db, u"HAREKET"_s,
                     {{u"HAREKNO"_s, lastMovement}, {u"CARIKOD"_s, u"DEPO1"_s}, {u"TUR"_s, QString::fromUtf16(mv.kind)},
                      {u"TARIH"_s, today.addDays(-(i++ % 9))}, {u"BORC"_s, mv.debit}, {u"ALACAK"_s, mv.credit},
                      {u"NIHAI"_s, mv.settled}, {u"BILGI"_s, QString::fromUtf16(mv.text)}, {u"ALSAT"_s, u"D"_s}});
    }
    // The log: each of the eight kinds once, pointing at a record that is there.
    const double prescription = Sql::scalar(db, u"SELECT MAX(SATISNO) FROM RECETE"_s).toDouble();
    const double invoiced = Sql::scalar(db, u"SELECT SATISNO FROM FATURA WHERE SATISNO IS NOT NULL LIMIT 1"_s).toDouble();
    double institutionInvoice = Sql::scalar(db, u"SELECT MAX(FATNO) FROM RECETE WHERE FATNO > 0"_s).toDouble();
    if (institutionInvoice <= 0) {
        // The oldest institution prescriptions of one institution invoiced together.
        institutionInvoice = 1;
        Sql::run(db, u"UPDATE RECETE SET FATNO = 1, FATARIH = :d, FATURANO = 'BK-0001' WHERE SATISNO IN "
                     u"(SELECT SATISNO FROM RECETE WHERE KURUMKOD = 'BK' ORDER BY SATISNO LIMIT 3)"_s,
                 {{u"d"_s, today.addDays(-20)}});
    }
    const QDateTime at(today.addDays(-2), QTime(17, 5));
    appendOperationLog(db, at, u"ECZACI"_s, u"Miktar Değiş."_s, double(products[0].first), 0);
    appendOperationLog(db, at.addSecs(60), u"Hasta - ECZACI"_s, u"Reç. Düzeltme"_s, prescription, 0);
    appendOperationLog(db, at.addSecs(120), u"ECZACI"_s, u"Prk.Sat.Dzlt"_s, lastRetail, 0);
    appendOperationLog(db, at.addSecs(180), u"ECZACI"_s, u"Prk.Fat.Düzelt"_s, invoiced > 0 ? invoiced : lastRetail, 0);
    appendOperationLog(db, at.addSecs(240), u"DEPO1-ECZACI"_s, u"Alış.Fat.Dzlt."_s, lastPurchase, 0);
    appendOperationLog(db, at.addSecs(300), u"DEPO1-ECZACI"_s, u"Veresiye. Dzlt"_s, lastMovement, 0);
    appendOperationLog(db, at.addSecs(360), u"BK-ECZACI"_s, u"Krm.Fat.Dzlt."_s, institutionInvoice, 0);
    appendOperationLog(db, at.addSecs(420), u"ECZACI"_s, u"Satış Silindi."_s, lastRetail + 1, 0);
    tx.commit();
}

}  // namespace selvar
