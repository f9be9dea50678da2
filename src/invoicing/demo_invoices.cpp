#include "invoicing/demo_invoices.h"

#include "companion/ledger.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "invoicing/fatura_logic.h"
#include "invoicing/kesfat_ssk_logic.h"
#include "invoicing/ssk_invoice_logic.h"
#include "prescriptions/demo_ssk.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "sales/satis_logic.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
struct DemoInvoice {
    int daysAgo;
    QString buyer;  // an institution code, or a patient number in digits
    QString formNo;
    double discount;
    bool onAccount;
};
}  // namespace

void addDemoInvoices(Database& db, const QDate& today)
{
    QList<qint64> products;
    {
        Sql q(db, u"SELECT ILACNO FROM URUN WHERE FIYAT > 0 AND MIKTAR > 5 ORDER BY ILACNO LIMIT 12"_s);
        q.exec();
        while (q.next()) products << q.integer(0);
    }
    if (products.size() < 6) return;
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(today, QTime(10, 0)));
    Session session(db, prompter, clock);
    const QList<DemoInvoice> invoices{{12, u"MEB"_s, u"A-000101"_s, 0, false},
                                      {8, u"BK"_s, u"A-000102"_s, 5, true},
                                      {3, u"1"_s, u"A-000103"_s, 0, false}};
    int n = 0;
    for (const DemoInvoice& d : invoices) {
        const QDate day = today.addDays(-d.daysAgo);
        clock.set(QDateTime(day, QTime(11 + n, 15)));
        SaleWindowLinks links;
        links.faturaKayitAc = [&](int mode, double saleNo, double invoiceNo, const LinesRecorder& record) {
            FaturaLogic f(session);
            f.open(mode, saleNo, invoiceNo);
            const bool patient = d.buyer.front().isDigit();
            if (patient) {
                const QVariantMap card = readRecord(db, u"HASTA"_s, d.buyer.toLongLong());
                f.setField(u"KRMKOD"_s, d.buyer);
                f.setField(u"KRMAD"_s, card.value(u"HASTADI"_s).toString() + u' ' + card.value(u"HASTASOYAD"_s).toString());
                f.setField(u"ADR1"_s, card.value(u"ADRES1"_s));
            } else {
                const QVariantMap k = readRecord(db, u"KRMLAR"_s, findKeyRow(db, u"KRMLAR"_s, QString(), {d.buyer}));
                f.setField(u"KRMKOD"_s, d.buyer);
                f.setField(u"KRMAD"_s, k.value(u"AD"_s));
                for (const char* field : {"ADR1", "ADR2", "ADR3", "VERGIDAIRE", "VERGINO"})
                    f.setField(QString::fromLatin1(field), k.value(QString::fromLatin1(field)));
            }
            f.setField(u"FATURANO"_s, d.formNo);
            f.setField(u"FATARIH"_s, day);
            f.setField(u"KES"_s, true);
            if (d.discount > 0) f.discountPercentLeft(QString::number(d.discount));
            f.setLinesRecorder(record);
            f.store();
            if (d.onAccount) {
                // The buyer's account, as the credit entry of the window writes it.
                Ledger ledger(db, clock.now(), u"ECZACI"_s);
                CreditEntryRequest r;
                r.accountKey = d.buyer;
                r.description = day.toString(u"dd.MM.yyyy"_s) + u" Tarihli Faturalı Satışın"_s;
                r.date = day;
                r.number = f.result();
                r.amount = f.number(u"NET"_s);
                ledger.record(r);
            }
            return f.result();
        };
        SatisLogic sale(session, nullptr, links);
        sale.Giris();
        Sql::run(db, u"DELETE FROM SATEMP"_s);
        for (int l = 0; l < 2 + n; ++l) {
            const QVariantMap p = readRecord(db, u"URUN"_s, products[(n * 4 + l) % products.size()]);
            insertRecord(db, u"SATEMP"_s,
                         {{u"SIRANO"_s, l + 1}, {u"URUNAD"_s, p.value(u"ILACAD"_s)}, {u"URUNO"_s, p.value(u"ILACNO"_s)},
                          {u"MIKTAR"_s, 1 + l % 2}, {u"FIYAT"_s, p.value(u"FIYAT"_s)}, {u"RECKOD"_s, u"N"_s},
                          {u"KDV"_s, p.value(u"KDV"_s)}});
        }
        sale.recomputeTotal();
        sale.faturaKayit();
        ++n;
    }
    Sql::run(db, u"DELETE FROM SATEMP"_s);
}

void addDemoSskInvoices(Database& db, const QDate& today)
{
    const QDate lastMonth = QDate(today.year(), today.month(), 1).addMonths(-1);
    const QDate monthBefore = lastMonth.addMonths(-1);
    addDemoSskGroups(db, monthBefore, 6, true);
    AgreeingPrompter prompter;
    FixedClock clock(QDateTime(lastMonth, QTime(10, 0)));
    Session session(db, prompter, clock);
    KesFatSskLogic issued(session, u"SSK"_s, {});
    if (issued.gatherUninvoiced(monthBefore, lastMonth.addDays(-1)) > 0) {
        HazirFatSskLogic invoice(session);
        invoice.open(u"SSK"_s, 0);
        if (invoice.select(u"200"_s)) invoice.record(u"77000123"_s, lastMonth.addDays(-1));
    }
    Sql::run(db, u"DELETE FROM FATSSK"_s);
    Sql::run(db, u"DELETE FROM TOPSSK"_s);
    addDemoSskGroups(db, lastMonth, 12);
}

}  // namespace selvar
