// The prescription back sheets on a large pharmacy (300,000 sale lines, 20,000
// prescriptions): one stamped sheet from the sale window's request to the laid-out page,
// against the bare SELECTs of the prescription and its lines in the same run, and 1,000
// prescriptions from RECTEMP laid out at once, stamped and defined. Argument: sqlite
// (default) or postgresql.
#include "companion/backprint_layout.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/print_service.h"
#include "reports/kaseli_logic.h"
#include "reports/tanimli_logic.h"

#include <QFile>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
QString ms(double v) { return QString::number(v, 'f', 2); }

// A defined layout for SSK workers, as "Reçete Tanım" would store it.
void defineLayout(Database& db)
{
    BackPrintLayout l;
    l.institution = u"SSK"_s;
    l.patientType = u"Ç"_s;
    l.fontName = u"Courier New"_s;
    l.fields[0] = {u"Reç.Kayıt Def.No"_s, u"Reç.Kayıt No :"_s, u"RKDEFTERNO"_s, 30};
    l.fields[1] = {u"Başlık 1"_s, u"Sicil No :"_s, u"BAS1"_s, 30};
    l.fields[2] = {u"Net Kalan Toplamı"_s, u"Kuruma Kalan :"_s, u"NETSON"_s, 30};
    l.columns[0] = {u"Ürün Adı"_s, u"İlacın Adı"_s, u"ILAD"_s, 70};
    l.columns[1] = {u"Adet"_s, u"Adet"_s, u"MIKTAR"_s, 12};
    l.columns[2] = {u"Tutar"_s, u"Tutar"_s, u"BRUTUTAR"_s, 30};
    l.totalWording = u"K"_s;
    saveLayout(db, l);
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    // A private copy: the working tables and the options rows are written.
    Database db(bench::writableLargeDatabaseOn(engine, u"backprint-bench"_s));
    out << "engine: " << engine << "\n";
    AgreeingPrompter prompter;
    SystemClock clock;
    Session session(db, prompter, clock);
    RecordingPrintService printing(600, Metrics::Fonts);
    session.print = &printing;

    std::vector<double> sales;
    {
        Sql q(db, u"SELECT SATISNO FROM RECETE WHERE KURUMKOD = 'SSK' AND HASTATIP = 'Ç' ORDER BY SATISNO"_s);
        q.exec();
        for (int i = 0; q.next(); ++i)
            if (i % 40 == 0) sales.push_back(q.number(0));
    }

    // One sheet: the request of the sale window, the copy into TMPREC, the shares and the
    // page laid out.
    std::vector<double> sheet, bare;
    QElapsedTimer t;
    quint64 trips = db.roundTrips();
    for (double sale : sales) {
        t.start();
        session.PrintRequest = BackPrintRequest{2, sale};
        KaseliLogic logic(session, QString(), QString(), session.PrintRequest.saleNo);
        session.PrintRequest = {};
        logic.print();
        sheet.push_back(t.nsecsElapsed() / 1e6);
    }
    const double sheetTrips = double(db.roundTrips() - trips) / double(sales.size());
    for (double sale : sales) {
        t.start();
        Sql p(db, u"SELECT * FROM RECETE WHERE SATISNO = :n"_s);
        p.bind(u"n"_s, sale).exec();
        while (p.next()) {}
        Sql l(db, u"SELECT s.SIRANOURUN, s.MIKTAR, s.FIYAT, s.RECETETIP, u.ILACAD FROM SATIS s "
                  u"LEFT JOIN URUN u ON u.ILACNO = s.ILACNO WHERE s.SATISNO = :n ORDER BY s.SIRANOURUN"_s);
        l.bind(u"n"_s, sale).exec();
        while (l.next()) {}
        bare.push_back(t.nsecsElapsed() / 1e6);
    }
    const double sheetMs = bench::median(sheet), bareMs = bench::median(bare);
    out << "one stamped sheet from the request to the laid-out page (" << sales.size() << " sales), median: "
        << ms(sheetMs) << " ms (target < 50 ms)\n";
    out << "the bare SELECTs of the prescription and its lines, median: " << ms(bareMs) << " ms; ratio "
        << QString::number(bareMs > 0 ? sheetMs / bareMs : 0, 'f', 1) << "\n";
    out << "statements sent per sheet: " << QString::number(sheetTrips, 'f', 1) << "\n";

    // 1,000 prescriptions of SSK workers put into RECTEMP by the caller.
    {
        Transaction tx(db);
        db.execute(u"DELETE FROM RECTEMP"_s);
        QStringList fields;
        for (const FieldDef& f : tableDef(u"RECETE"_s).fields) fields << f.name;
        const QString list = fields.join(u", "_s);
        db.execute(u"INSERT INTO RECTEMP ("_s + list + u") SELECT "_s + list + u" FROM RECETE WHERE KURUMKOD = 'SSK' "
                   u"AND HASTATIP = 'Ç' ORDER BY SATISNO LIMIT 1000"_s);
        defineLayout(db);
        tx.commit();
    }
    const int count = Sql::scalar(db, u"SELECT COUNT(*) FROM RECTEMP"_s).toInt();
    t.start();
    {
        KaseliLogic logic(session, u"SSK"_s, u"Ç"_s);
        logic.options().runningNo = logic.options().closingTotals = true;
        logic.print();
    }
    const double stampedMs = t.nsecsElapsed() / 1e6;
    const int stampedPages = int(printing.lastJob().document.pages.size());
    t.start();
    {
        TanimliLogic logic(session, QString(), u"SSK"_s, u"Ç"_s);
        logic.print();
    }
    const double definedMs = t.nsecsElapsed() / 1e6;
    const int definedPages = int(printing.lastJob().document.pages.size());
    out << count << " prescriptions from RECTEMP, stamped, laid out: " << ms(stampedMs) << " ms, " << stampedPages
        << " pages (target < 2000 ms)\n";
    out << count << " prescriptions from RECTEMP, defined, laid out: " << ms(definedMs) << " ms, " << definedPages
        << " pages (target < 2000 ms)\n";
    return 0;
}
