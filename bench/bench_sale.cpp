// The sale window on a large pharmacy (100,000 products): each typed character of the
// name search, opening the window, the memory of the program with it open, and recording
// a 10-line retail sale against the bare SQL statements of the same sale, with the
// statements (round trips to a server) each costs. Argument: sqlite (default) or postgresql.
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/product_list_model.h"
#include "sales/satis_logic.h"
#include "sales/ui/satis_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTextStream>
#include <random>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
class TakeOne final : public ProductValuesDialog {
public:
    ProductValuesResult showModal(const ProductValuesRequest&) override { return {true, {}}; }
};

double residentMegabytes()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    // A private copy: the benchmark records sales.
    Database db(bench::writableLargeDatabaseOn(engine, u"sale-bench"_s));
    out << "engine: " << engine << "\n";
    AgreeingPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    session.OldSalesAllowed = true;
    session.ProductCardRight = u"E"_s;
    TakeOne values;

    // Opening the window: the product list of 100,000 names and the first screen.
    QElapsedTimer t;
    t.start();
    TSatisForm form(session, {}, nullptr);
    form.setValuesDialog(&values);
    form.Giris();
    QApplication::processEvents();
    const double openMs = t.nsecsElapsed() / 1e6;
    const double memory = residentMegabytes();
    out << "opening the sale window with " << form.productModel()->rowCount() << " products: "
        << QString::number(openMs, 'f', 1) << " ms (target < " << (engine == u"sqlite"_s ? "200" : "300") << " ms)\n";
    out << "memory of the program with the sale window open: " << QString::number(memory, 'f', 1)
        << " MB (target < 150 MB)\n";

    // Typing: every character through the logic class, as the window's key handling does.
    SatisLogic& logic = form.logic();
    std::vector<QString> names;
    {
        Sql q(db, u"SELECT ILACAD FROM URUN WHERE ILACNO % 211 = 0"_s);
        q.exec();
        while (q.next()) names.push_back(q.text(0));
    }
    std::vector<double> keys;
    quint64 trips = db.roundTrips();
    for (const QString& name : names) {
        logic.clearSearch();
        for (int i = 0; i < std::min<int>(10, int(name.size())); ++i) {
            t.start();
            logic.typeSearchChar(trLower(name.mid(i, 1))[0]);
            keys.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    const double keyTrips = double(db.roundTrips() - trips) / double(keys.size());
    out << "name search, one typed character (" << keys.size() << " keys), median: "
        << QString::number(bench::median(keys), 'f', 1) << " us (target < 2000 us)\n";
    out << "statements sent per typed character: " << QString::number(keyTrips, 'f', 2) << " (target <= 1)\n";
    // The same with the window showing where the list now is.
    std::vector<double> shown;
    for (size_t n = 0; n < std::min<size_t>(60, names.size()); ++n) {
        logic.clearSearch();
        for (int i = 0; i < 6; ++i) {
            t.start();
            logic.typeSearchChar(trLower(names[n].mid(i, 1))[0]);
            form.refresh();
            shown.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    out << "name search with the window repositioned, median: " << QString::number(bench::median(shown), 'f', 1)
        << " us\n";

    // Recording a 10-line retail sale, and the bare statements of the same sale.
    std::mt19937 rng(3);
    std::vector<double> record, bare;
    quint64 saleTrips = 0, bareTrips = 0;
    for (int round = 0; round < 25; ++round) {
        QList<qint64> products;
        for (int l = 0; l < 10; ++l) {
            logic.positionByName(names[rng() % names.size()]);
            logic.satisEkle();
            products << logic.currentProductNo();
        }
        trips = db.roundTrips();
        t.start();
        logic.perakendeKayit();
        record.push_back(t.nsecsElapsed() / 1000.0);
        if (round > 0) saleTrips += db.roundTrips() - trips;  // the first one also prepares

        trips = db.roundTrips();
        t.start();
        {
            Transaction tx(db);
            const double number = takeSaleNumber(db);
            const QDateTime when = QDateTime::currentDateTime();
            Sql row(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                        u"VALUES (:n, :l, :t, :i, 1000, 1, 8, 'N', 'P')"_s);
            Sql move(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, CIKMIK, CIKFIYAT, ALSATNO, SIRANO) VALUES (:i, :t, 1, 1000, :n, :l)"_s);
            Sql stock(db, u"UPDATE URUN SET MIKTAR = MIKTAR - 1 WHERE ILACNO = :i"_s);
            for (int l = 0; l < 10; ++l) {
                row.bind(u"n"_s, number).bind(u"l"_s, l + 1).bind(u"t"_s, when).bind(u"i"_s, products[l]).exec();
                move.bind(u"i"_s, products[l]).bind(u"t"_s, when).bind(u"n"_s, number).bind(u"l"_s, l + 1).exec();
                stock.bind(u"i"_s, products[l]).exec();
            }
            Sql::run(db, u"DELETE FROM SATEMP"_s);
            tx.commit();
        }
        bare.push_back(t.nsecsElapsed() / 1000.0);
        if (round > 0) bareTrips += db.roundTrips() - trips;
    }
    const double mr = bench::median(record), mb = bench::median(bare);
    out << "recording a 10-line retail sale (one transaction, durable commit), median: " << QString::number(mr / 1000, 'f', 2)
        << " ms\n";
    out << "the bare SQL statements of the same sale in one transaction, median: " << QString::number(mb / 1000, 'f', 2)
        << " ms\n";
    out << "ratio recording / bare: " << QString::number(mr / mb, 'f', 2) << " (target <= 2)\n";
    out << "statements sent per 10-line sale: " << QString::number(saleTrips / 24.0, 'f', 1) << " (bare: "
        << QString::number(bareTrips / 24.0, 'f', 1) << ")\n";
    return 0;
}
