// The SSK counter on a large pharmacy (100,000 products, 50,000 patients, 12,000 SSK
// prescriptions): opening the window, each typed character of the name search, storing a
// 10-line SSK prescription with its lines against the bare SQL statements of the same
// prescription, finding the insured by registration number and the next final book
// number. Argument: sqlite (default) or postgresql.
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "prescriptions/patients.h"
#include "prescriptions/recete_ssk_logic.h"
#include "prescriptions/satis_ssk_logic.h"
#include "prescriptions/ui/satis_ssk_form.h"
#include "sales/product_list_model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <random>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
// Every prescription goes into the book; cards stay as they are.
class Pharmacist final : public Prompter {
public:
    Answer message(MessageKind, const QString& text, Buttons) override
    {
        return text.startsWith(u"Reçete Kayıt Defterine"_s) ? Answer::Yes : Answer::No;
    }
    void beep() override {}
};

class TakeOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override
    {
        ProductValuesResult r;
        r.ok = true;
        r.dailyUse = u"1"_s;
        r.dose = u"  1"_s;
        return r;
    }
};

QString ms(double us) { return QString::number(us / 1000, 'f', 2); }

// The same prescription as bare SQL statements: the two new cards, the counters, both
// rows, the final number and the lines.
void bareStore(Database& db, int round, const QList<qint64>& products)
{
    Transaction tx(db);
    Sql card(db, u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, SINIF) VALUES ('BARE', :s, 'SSK', 'Ç')"_s);
    card.bind(u"s"_s, QStringLiteral("HASTA%1").arg(round)).exec();
    card.bind(u"s"_s, QStringLiteral("SIGORTALI%1").arg(round)).exec();
    const QString book = takeProvisionalBookNumber(db);
    const double number = takeSaleNumber(db);
    const QDateTime when = QDateTime::currentDateTime();
    const qint64 header = Sql::insert(
        db, u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, ALTARIH, HASTATIP, BRUTN, NET, HASTANO) "
            u"VALUES (:r, 'SSK', :n, :d, :d, 'Ç', 1000, 900, 1)"_s,
        {{u"r"_s, book}, {u"n"_s, number}, {u"d"_s, when.date()}});
    Sql::run(db, u"INSERT INTO RECSSK (SATISNO, SICILNO, DURUM_KOD, YAKINLIK_KOD, HASTALIK) VALUES (:n, '1', '1', '2', ' ')"_s,
             {{u"n"_s, number}});
    Sql::run(db, u"UPDATE RECETE SET RKDEFTERNO = :f WHERE rowid = :r"_s,
             {{u"f"_s, nextFinalBookNumber(db, when.date().year())}, {u"r"_s, header}});
    Sql row(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                u"VALUES (:n, :l, :t, :i, 1000, 1, 8, 'N', 'R')"_s);
    Sql line(db, u"INSERT INTO RECSSK_A (SATISNO, SIRANOILAC, ILACNO, KUTUSAYISI, GUN_KULLAN, BIRKUL_ALMIK) "
                 u"VALUES (:n, :l, :i, 1, '1', '1')"_s);
    Sql move(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, CIKMIK, CIKFIYAT, ALSATNO, SIRANO) VALUES (:i, :t, 1, 1000, :n, :l)"_s);
    Sql stock(db, u"UPDATE URUN SET MIKTAR = MIKTAR - 1 WHERE ILACNO = :i"_s);
    for (int l = 0; l < 10; ++l) {
        move.bind(u"i"_s, products[l]).bind(u"t"_s, when).bind(u"n"_s, number).bind(u"l"_s, l + 1).exec();
        stock.bind(u"i"_s, products[l]).exec();
        row.bind(u"n"_s, number).bind(u"l"_s, l + 1).bind(u"t"_s, when).bind(u"i"_s, products[l]).exec();
        line.bind(u"n"_s, number).bind(u"l"_s, l + 1).bind(u"i"_s, products[l]).exec();
    }
    Sql::run(db, u"DELETE FROM SATEMSSK"_s);
    tx.commit();
}

// The insured by registration number, and the next final book number.
void lookups(Database& db, QTextStream& out, std::mt19937& rng)
{
    QElapsedTimer t;
    std::vector<double> lookups, finals;
    for (int i = 0; i < 200; ++i) {
        const QString number = QString::number(10000000 + int(rng() % 50000) * 7);
        t.start();
        const qint64 found = patientByRegistration(db, number);
        lookups.push_back(t.nsecsElapsed() / 1000.0);
        if (found == 0) out << "not found: " << number << "\n";
        t.start();
        nextFinalBookNumber(db, 2026);
        finals.push_back(t.nsecsElapsed() / 1000.0);
    }
    out << "insured found by registration number (50,000 cards), median: " << QString::number(bench::median(lookups), 'f', 1)
        << " us (target < 1000 us)\n";
    out << "next final book number (" << Sql::scalar(db, u"SELECT COUNT(*) FROM RECETE"_s).toInt()
        << " prescriptions), median: " << QString::number(bench::median(finals), 'f', 1) << " us (target < 5000 us)\n";
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    // A private copy: the benchmark stores prescriptions.
    Database db(bench::writableLargeDatabaseOn(engine, u"ssk-bench"_s));
    out << "engine: " << engine << "\n";
    Pharmacist prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    session.OldSalesAllowed = true;
    session.ProductCardRight = u"E"_s;
    TakeOne values;
    int n = 0;
    // New patients every run, as in the bare statements: a server copy keeps the cards
    // of earlier runs.
    const QString run = QString::number(QDateTime::currentSecsSinceEpoch() % 2176782336LL, 36);
    SskSaleLinks links;
    links.receteSskAc = [&](int mode, const QString& date, double sale, const LinesRecorder& record) {
        ReceteSskLogic r(session);
        r.open(mode, date, sale);
        r.setLinesRecorder(record);
        r.setInstitutionBox(u"SSK"_s);
        r.setPatientName(u"BENCH"_s);
        r.setPatientSurname(QStringLiteral("HST%1-%2").arg(run).arg(n));
        r.setInsuredName(u"BENCH"_s);
        r.setInsuredSurname(QStringLiteral("SGR%1-%2").arg(run).arg(n));
        r.setStatusItem(u"1-Çalışan Sigortalı"_s);
        r.setRelationshipItem(u"2-Kadın Eş"_s);
        r.setSskField(u"SICILNO"_s, QString::number(90000000 + n));
        r.setClassLetter(u"Ç"_s);
        r.computeShares();
        r.store();
        return r.stored() ? r.result() : 0.0;
    };

    // Opening the window: the product list of 100,000 names and the first screen. The
    // first time after the server started its caches are cold; then as through the day.
    QElapsedTimer t;
    t.start();
    TSatisSSKForm form(session, links, nullptr);
    form.setValuesDialog(&values);
    form.Giris();
    QApplication::processEvents();
    const double firstMs = t.nsecsElapsed() / 1e6;
    form.close();
    QApplication::processEvents();
    t.restart();
    form.Giris();
    QApplication::processEvents();
    out << "opening the SSK window with " << form.productModel()->rowCount()
        << " products: " << QString::number(t.nsecsElapsed() / 1e6, 'f', 1) << " ms (target < 200 ms)\n";
    out << "the first opening after the database started (cold caches): " << QString::number(firstMs, 'f', 1) << " ms\n";
    t.restart();
    {
        ProductListModel list(db);
        out << "of which reading the ordered list of names alone: " << QString::number(t.nsecsElapsed() / 1e6, 'f', 1)
            << " ms\n";
    }

    // Typing: every character through the logic, as the window's keys do.
    SatisSskLogic& logic = form.logic();
    std::vector<QString> names;
    {
        Sql q(db, u"SELECT ILACAD FROM URUN WHERE ILACNO % 397 = 0"_s);
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

    // Storing: 10 lines, the registration and the lines in one durable transaction.
    std::mt19937 rng(7);
    std::vector<double> store, bare;
    quint64 storeTrips = 0, bareTrips = 0;
    for (int round = 0; round < 25; ++round, ++n) {
        QStringList chosen;
        for (int l = 0; l < 10; ++l) chosen << names[rng() % names.size()];
        QList<qint64> products;
        const auto addLines = [&] {
            products.clear();
            for (const QString& name : chosen) {
                logic.picker().positionByName(name);
                logic.satEkle();
                products << logic.picker().currentNo();
            }
        };
        addLines();
        const auto storeIt = [&] {
            const quint64 trips = db.roundTrips();
            t.start();
            logic.sskReceteKayit();
            store.push_back(t.nsecsElapsed() / 1000.0);
            if (round > 1) storeTrips += db.roundTrips() - trips;
        };
        const auto bareIt = [&] {
            const quint64 trips = db.roundTrips();
            t.start();
            bareStore(db, round, products);
            bare.push_back(t.nsecsElapsed() / 1000.0);
            if (round > 1) bareTrips += db.roundTrips() - trips;
        };
        // Each goes first every other round: the second finds the same products' pages
        // already in the cache.
        if (round % 2 == 0) {
            storeIt();
            bareIt();
        } else {
            bareIt();
            addLines();  // the bare statements emptied the list as the store does
            storeIt();
        }
    }
    const double ms_ = bench::median(store), mb = bench::median(bare);
    out << "storing a 10-line SSK prescription with its lines (one transaction, durable commit), median: " << ms(ms_) << " ms\n";
    out << "the bare SQL statements of the same prescription in one transaction, median: " << ms(mb) << " ms\n";
    out << "ratio storing / bare: " << QString::number(ms_ / mb, 'f', 2) << " (target <= 2)\n";
    out << "statements sent per stored prescription: " << QString::number(storeTrips / 23.0, 'f', 1) << " (bare: "
        << QString::number(bareTrips / 23.0, 'f', 1) << ")\n";

    lookups(db, out, rng);
    return 0;
}
