// The purchase window on a large pharmacy (100,000 products): opening it, each typed
// character of the name search, the invoice's totals (Hesap and AraHesap) over 200 lines,
// and recording a 50-line purchase and correcting it against the bare SQL statements of
// the same work in one transaction. Argument: sqlite (default) or postgresql.
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "purchasing/alis_logic.h"
#include "purchasing/isl_alis_logic.h"
#include "purchasing/ui/isl_alis_form.h"
#include "sales/product_list_model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
class TakeSome final : public ProductValuesDialog {
public:
    explicit TakeSome(Database& db) : db_(db) {}
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        Sql::run(db_, u"UPDATE FITMP SET SATISMIK = :q"_s, {{u"q"_s, 3 + (n_ % 7)}});
        ProductValuesResult r;
        r.ok = true;
        r.discountType = n_ % 9;
        r.freeGoodsText = n_ % 5 == 0 ? u"1"_s : QString();
        r.lineDiscountText = u"5"_s;
        ++n_;
        return r;
    }

private:
    Database& db_;
    int n_ = 0;
};

QString ms(double us) { return QString::number(us / 1000, 'f', 2); }
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    Database db(bench::writableLargeDatabaseOn(engine, u"purchase-bench"_s));
    out << "engine: " << engine << "\n";
    AgreeingPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    session.OldPurchasesAllowed = true;
    session.ProductCardRight = u"E"_s;
    session.UserName = u"ECZACI"_s;
    TakeSome values(db);
    // The generated history leaves the counters at their start: they continue after it.
    Sql::run(db, u"UPDATE NEWALIS SET NEWALISNO = (SELECT COALESCE(MAX(ALISNO), 0) + 1 FROM ALIS1)"_s);
    Sql::run(db, u"UPDATE HRKNOAL SET HRKNO = (SELECT COALESCE(MAX(HAREKNO), 0) + 1 FROM HAREKET)"_s);
    Sql::run(db, u"DELETE FROM KRMLAR WHERE KOD = 'BENCHDEPO'"_s);
    insertRecord(db, u"KRMLAR"_s,
                 {{u"KOD"_s, u"BENCHDEPO"_s}, {u"AD"_s, u"BENCH ECZA DEPOSU"_s}, {u"ILACLARDAKURUM"_s, 25.0},
                  {u"ILACBERABERKURUM"_s, 8.0}, {u"FATYUVAR"_s, 0}, {u"ALACAK"_s, 0.0}});

    PurchaseWindowLinks links;
    links.chooseSupplier = [] { return u"BENCHDEPO"_s; };
    // The invoice window's "&Sakla" alone is the recording; its opening is timed apart.
    double storeUs = 0;
    links.alisFormAc = [&](bool isNew, const QString& supplier, double no, const PurchaseLinesRecorder& rec) {
        AlisLogic a(session);
        a.open(isNew, supplier, no);
        a.setField(u"FATNO"_s, u"B-1"_s);
        a.setField(u"VADE"_s, QDate(2027, 1, 9));
        a.setLinesRecorder(rec);
        QElapsedTimer store;
        store.start();
        const bool stored = a.store() == AlisLogic::StoreResult::Stored;
        storeUs = store.nsecsElapsed() / 1000.0;
        return stored ? a.result() : 0.0;
    };

    // Opening the window: the product list of 100,000 names and the first screen.
    QElapsedTimer t;
    t.start();
    TIslAlisForm form(session, links, nullptr);
    form.setValuesDialog(&values);
    form.Giris();
    QApplication::processEvents();
    out << "opening the purchase window with " << form.productModel()->rowCount()
        << " products: " << QString::number(t.nsecsElapsed() / 1e6, 'f', 1) << " ms (target < 200 ms)\n";

    IslAlisLogic& logic = form.logic();
    std::vector<QString> names;
    {
        Sql q(db, u"SELECT ILACAD FROM URUN WHERE ILACNO % 211 = 0"_s);
        q.exec();
        while (q.next()) names.push_back(q.text(0));
    }
    std::vector<double> keys;
    for (const QString& name : names) {
        logic.picker().clearSearch();
        for (int i = 0; i < std::min<int>(10, int(name.size())); ++i) {
            t.start();
            logic.picker().typeSearchChar(trLower(name.mid(i, 1))[0]);
            keys.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    out << "name search, one typed character (" << keys.size() << " keys), median: "
        << QString::number(bench::median(keys), 'f', 1) << " us (target < 2000 us)\n";

    // Hesap and AraHesap over a list of 200 lines.
    for (int l = 0; l < 200 && l < int(names.size()); ++l) {
        logic.picker().positionByName(names[l]);
        logic.alisEkle();
    }
    {
        AlisLogic a(session);
        a.open(true, u"BENCHDEPO"_s, 0);
        std::vector<double> totals;
        for (int r = 0; r < 30; ++r) {
            t.start();
            a.refreshTotals();  // Hesap and AraHesap over one reading of the list
            totals.push_back(t.nsecsElapsed() / 1000.0);
        }
        out << "Hesap + AraHesap over " << logic.lineCount() << " lines, median: " << ms(bench::median(totals))
            << " ms (target < 5 ms)\n";
    }
    Sql::run(db, u"DELETE FROM ALISTEMP"_s);

    // Recording a 50-line purchase and correcting it, and the bare statements of the same.
    std::vector<double> record, correct, bareRecord, bareCorrect, wholeRecord, wholeCorrect;
    for (int round = 0; round < 12; ++round) {
        QList<qint64> products;
        for (int l = 0; l < 50; ++l) {
            logic.picker().positionByName(names[(round * 50 + l) % names.size()]);
            logic.alisEkle();
            products << logic.picker().currentNo();
        }
        t.start();
        logic.alisKayit();
        wholeRecord.push_back(t.nsecsElapsed() / 1000.0);
        record.push_back(storeUs);
        const double number = Sql::scalar(db, u"SELECT MAX(ALISNO) FROM ALIS1"_s).toDouble();
        logic.loadOldPurchase(number);
        PurchaseListLine first = logic.lines().first();
        first.quantity += 1;
        logic.postLine(first);
        t.start();
        logic.alisKayit();
        wholeCorrect.push_back(t.nsecsElapsed() / 1000.0);
        correct.push_back(storeUs);

        // The bare work: counters, header, payable, balance, 50 lines, movements, stock.
        const QDateTime when = QDateTime::currentDateTime();
        double bareNo = 0;
        t.start();
        {
            Transaction tx(db);
            bareNo = takePurchaseNumber(db);
            const double move = takeMovementNumber(db);
            Sql::run(db, u"INSERT INTO ALIS1 (ALISNO, KRMKOD, FATNO, NET) VALUES (:n, 'BENCHDEPO', 'X', 1000)"_s,
                     {{u"n"_s, bareNo}});
            Sql::run(db, u"INSERT INTO HAREKET (HAREKNO, CARIKOD, ALSATNO, ALSAT, TUR, ALACAK) "
                         u"VALUES (:h, 'BENCHDEPO', :n, 'A', 'A', 1000)"_s,
                     {{u"h"_s, move}, {u"n"_s, bareNo}});
            Sql::run(db, u"UPDATE KRMLAR SET ALACAK = ALACAK + 1000 WHERE KOD = 'BENCHDEPO'"_s);
            Sql line(db, u"INSERT INTO ALIS3 (ALISNO, SIRANOILAC, ILACNO, FIYAT, MIKTAR, ALISTARIH) "
                         u"VALUES (:n, :l, :i, 1000, 3, :t)"_s);
            Sql mv(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, GIRFIYAT, ALSATNO, SIRANO) "
                       u"VALUES (:i, :t, 3, 900, :n, :l)"_s);
            Sql stock(db, u"UPDATE URUN SET MIKTAR = MIKTAR + 3 WHERE ILACNO = :i"_s);
            for (int l = 0; l < 50; ++l) {
                line.bind(u"n"_s, bareNo).bind(u"l"_s, l + 1).bind(u"i"_s, products[l]).bind(u"t"_s, when).exec();
                mv.bind(u"i"_s, products[l]).bind(u"t"_s, when).bind(u"n"_s, bareNo).bind(u"l"_s, l + 1).exec();
                stock.bind(u"i"_s, products[l]).exec();
            }
            tx.commit();
        }
        bareRecord.push_back(t.nsecsElapsed() / 1000.0);
        t.start();
        {
            Transaction tx(db);
            Sql back(db, u"UPDATE URUN SET MIKTAR = MIKTAR - 3 WHERE ILACNO = :i"_s);
            Sql gone(db, u"DELETE FROM URUNHRK WHERE ILACNO = :i AND GCTARIH = :t AND ALSATNO = :n"_s);
            for (int l = 0; l < 50; ++l) {
                back.bind(u"i"_s, products[l]).exec();
                gone.bind(u"i"_s, products[l]).bind(u"t"_s, when).bind(u"n"_s, bareNo).exec();
            }
            Sql::run(db, u"DELETE FROM ALIS3 WHERE ALISNO = :n"_s, {{u"n"_s, bareNo}});
            Sql::run(db, u"UPDATE HAREKET SET ALACAK = 1100 WHERE ALSATNO = :n AND ALSAT = 'A'"_s, {{u"n"_s, bareNo}});
            Sql::run(db, u"UPDATE ALIS1 SET NET = 1100 WHERE ALISNO = :n"_s, {{u"n"_s, bareNo}});
            Sql::run(db, u"INSERT INTO PROSES (TARIH, ACIKLA, ISLETNO, TUTAR, ISLETIPI) VALUES (:t, 'X', :n, 1000, 'A')"_s,
                     {{u"t"_s, when}, {u"n"_s, bareNo}});
            Sql::run(db, u"UPDATE KRMLAR SET ALACAK = ALACAK + 100 WHERE KOD = 'BENCHDEPO'"_s);
            Sql line(db, u"INSERT INTO ALIS3 (ALISNO, SIRANOILAC, ILACNO, FIYAT, MIKTAR, ALISTARIH) "
                         u"VALUES (:n, :l, :i, 1000, 3, :t)"_s);
            Sql mv(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, GIRFIYAT, ALSATNO, SIRANO) "
                       u"VALUES (:i, :t, 3, 900, :n, :l)"_s);
            Sql stock(db, u"UPDATE URUN SET MIKTAR = MIKTAR + 3 WHERE ILACNO = :i"_s);
            for (int l = 0; l < 50; ++l) {
                line.bind(u"n"_s, bareNo).bind(u"l"_s, l + 1).bind(u"i"_s, products[l]).bind(u"t"_s, when).exec();
                mv.bind(u"i"_s, products[l]).bind(u"t"_s, when).bind(u"n"_s, bareNo).bind(u"l"_s, l + 1).exec();
                stock.bind(u"i"_s, products[l]).exec();
            }
            tx.commit();
        }
        bareCorrect.push_back(t.nsecsElapsed() / 1000.0);
    }
    const double mr = bench::median(record), mc = bench::median(correct);
    const double br = bench::median(bareRecord), bc = bench::median(bareCorrect);
    out << "recording a 50-line purchase (one transaction, durable commit), median: " << ms(mr) << " ms\n";
    out << "the bare SQL statements of the same purchase, median: " << ms(br) << " ms; ratio "
        << QString::number(mr / br, 'f', 2) << " (target <= 2)\n";
    out << "correcting it (old lines, movements and stock undone, new ones written), median: " << ms(mc) << " ms\n";
    out << "the bare SQL statements of the same correction, median: " << ms(bc) << " ms; ratio "
        << QString::number(mc / bc, 'f', 2) << " (target <= 2)\n";
    out << "F7 to the stored purchase with the invoice's opening and totals, median: recording "
        << ms(bench::median(wholeRecord)) << " ms, correcting " << ms(bench::median(wholeCorrect)) << " ms\n";
    return 0;
}
