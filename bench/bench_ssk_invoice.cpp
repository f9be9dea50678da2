// The monthly SSK invoice on the large pharmacy: 6,000 prescriptions of one institution
// waiting for their invoice (5,000 of them in group 2). Medians of the gathering into
// FATSSK.DB, the opening with the VAT of every prescription, the selection of group 2
// with its totals, the invoice and the list drawn on a recording canvas, and the
// recording of the 5,000-prescription invoice against the bare SQL of the same writes;
// then the diskette's four tables of that invoice and their copy.
// Argument: sqlite (default) or postgresql.
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/disket_logic.h"
#include "invoicing/kesfat_ssk_logic.h"
#include "invoicing/ssk_invoice_logic.h"
#include "large_data.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/print_service.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

namespace {
const QDate First(2026, 11, 1), Last(2026, 11, 30);

double ms(qint64 ns) { return ns / 1e6; }

// Back to the month waiting for its invoice.
void undo(Database& db)
{
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM FATURA WHERE KRMKOD = 'SSKF' AND FATNO < 900000"_s);
    Sql::run(db, u"DELETE FROM HAREKET WHERE CARIKOD = 'SSKF'"_s);
    Sql::run(db, u"UPDATE RECETE SET FATNO = NULL, FATURANO = NULL, FATARIH = NULL WHERE KURUMKOD = 'SSKF' "
                 u"AND ALTARIH >= :a"_s, {{u"a"_s, First}});
    Sql::run(db, u"UPDATE KRMLAR SET BORC = 0 WHERE KOD = 'SSKF'"_s);
    tx.commit();
}

// The recording's writes as bare statements in one transaction.
void bareRecord(Database& db, const QList<SskPrescription>& selection, const SskTotals& t)
{
    Transaction tx(db);
    const double no = takeInvoiceNumber(db);
    Sql::run(db, u"INSERT INTO FATURA (FATNO, FATURANO, FATARIH, KRMKOD, KES, KRMAD, BRUT, TENZIL1, TENZIL2, NET, "
                 u"KDV1, KDV2, KDV3, TOPKDV, FAT_GRB, RCTOPSAYISI) VALUES (:f, '1', :t, 'SSKF', :k, 'X', :b, :t1, :t2, "
                 u":n, 0, 0, 0, 0, 3, :c)"_s,
             {{u"f"_s, no}, {u"t"_s, Last}, {u"k"_s, true}, {u"b"_s, t.grossSum()}, {u"t1"_s, t.discountSum()},
              {u"t2"_s, t.shareSum()}, {u"n"_s, t.net}, {u"c"_s, qint64(selection.size())}});
    Sql::run(db, u"INSERT INTO HAREKET (HAREKNO, TUR, CARIKOD, BORC, ALSATNO, BILGI, TARIH, ALSAT, NIHAI) "
                 u"VALUES (:h, 'K', 'SSKF', :b, :f, 'x', :t, 'F', 0)"_s,
             {{u"h"_s, takeMovementNumber(db)}, {u"b"_s, t.net}, {u"f"_s, no}, {u"t"_s, Last}});
    changeAccountDebt(db, u"SSKF"_s, t.net);
    Sql mark(db, u"UPDATE RECETE SET FATNO = :f, FATURANO = '1', FATARIH = :t, NET = :n, HASTAKATPAY = :h "
                 u"WHERE SATISNO = :s"_s);
    for (const SskPrescription& p : selection)
        mark.bind(u"f"_s, no).bind(u"t"_s, Last).bind(u"n"_s, p.net).bind(u"h"_s, p.shareSum()).bind(u"s"_s, p.saleNo).exec();
    tx.commit();
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString engine = bench::engineArgument(argc, argv);
    QTemporaryDir files, diskette;
    AliasConfig alias = bench::writableLargeDatabaseOn(engine, u"ssk-invoice-bench"_s);
    alias.filesDir = files.path();  // the diskette's tables
    Database db(alias);
    out << "engine: " << engine << "\n";
    undo(db);
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 12, 5), QTime(10, 0)));
    Session session(db, prompter, clock);
    RecordingPrintService printing(300);
    session.print = &printing;
    QElapsedTimer t;
    std::vector<double> gather, open, select, invoice, list, record, bare, whole;
    int rows = 0, selected = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer all;
        all.start();
        t.start();
        KesFatSskLogic issued(session, u"SSKF"_s, {});
        rows = issued.gatherUninvoiced(First, Last);
        gather.push_back(ms(t.nsecsElapsed()));
        HazirFatSskLogic l(session);
        t.start();
        l.open(u"SSKF"_s, 0);
        open.push_back(ms(t.nsecsElapsed()));
        t.start();
        l.select(u"200"_s);
        selected = int(l.selection().size());
        select.push_back(ms(t.nsecsElapsed()));
        t.start();
        l.printInvoice(u"30.11.2026"_s);
        invoice.push_back(ms(t.nsecsElapsed()));
        const double beforeRecord = ms(all.nsecsElapsed());
        t.start();
        l.record(u"77123456"_s, Last);
        record.push_back(ms(t.nsecsElapsed()));
        whole.push_back(beforeRecord + record.back());
        t.start();
        l.printList(1);
        list.push_back(ms(t.nsecsElapsed()));
        const QList<SskPrescription> selection = l.selection();
        const SskTotals totals = l.totals();
        undo(db);
        t.start();
        bareRecord(db, selection, totals);
        bare.push_back(ms(t.nsecsElapsed()));
        undo(db);
    }
    // The diskette of the recorded 5,000-prescription invoice: its four tables and the copy.
    std::vector<double> tables, copies;
    {
        KesFatSskLogic(session, u"SSKF"_s, {}).gatherUninvoiced(First, Last);
        HazirFatSskLogic l(session);
        l.open(u"SSKF"_s, 0);
        l.select(u"200"_s);
        l.record(u"77123456"_s, Last);
        DisketLogic d(session);
        for (int run = 0; run < 5; ++run) {
            t.start();
            d.build(u'2', u"SSKF"_s, l.invoiceNo());
            tables.push_back(ms(t.nsecsElapsed()));
            t.start();
            d.copy(diskette.path());
            copies.push_back(ms(t.nsecsElapsed()));
        }
        undo(db);
    }
    auto f = [](const std::vector<double>& v) { return QString::number(bench::median(v), 'f', 1); };
    out << "gathering " << rows << " prescriptions into FATSSK: " << f(gather) << " ms\n";
    out << "opening with the VAT of every prescription: " << f(open) << " ms\n";
    out << "selection of group 2 (" << selected << ") and its totals: " << f(select) << " ms\n";
    out << "the invoice drawn (" << printing.jobs().front().document.pages.size() << " pages): " << f(invoice) << " ms\n";
    out << "the list drawn: " << f(list) << " ms (target < 1000 ms)\n";
    out << "recording the invoice: " << f(record) << " ms; the bare writes in one transaction: " << f(bare)
        << " ms; ratio " << QString::number(bench::median(record) / bench::median(bare), 'f', 2) << " (target <= 2)\n";
    out << "from gathering to recorded: " << f(whole) << " ms (target < 1000 ms)\n";
    out << "the diskette's four tables: " << f(tables) << " ms; their copy: " << f(copies) << " ms (target < 1000 ms each)\n";
    return 0;
}
