#include "invoicing/kesfat_ssk_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/prompter.h"
#include "platform/retry.h"
#include "platform/session.h"

#include <QVariantMap>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

KesFatSskLogic::KesFatSskLogic(Session& session, QString code, Links links)
    : session_(session), code_(std::move(code)), links_(std::move(links))
{
}

QList<IssuedSskInvoice> KesFatSskLogic::invoices() const
{
    QList<IssuedSskInvoice> r;
    Sql q(session_.db, u"SELECT FATURA.FATURANO, FATURA.FATARIH, FATURA.NET, FATURA.FATNO FROM FATURA "
                       u"WHERE (FATURA.KES = :KESILDI) AND (FATURA.KRMKOD = :KRMISIM) AND (FATURA.RCTOPSAYISI IS NOT NULL) "
                       u"ORDER BY FATURA.FATNO"_s);
    q.bind(u"KESILDI"_s, true).bind(u"KRMISIM"_s, code_).exec();
    while (q.next()) r << IssuedSskInvoice{q.text(0), q.date(1), q.number(2), q.number(3)};
    return r;
}

int KesFatSskLogic::gather(const QString& condition, const QVariantMap& params)
{
    Database& db = session_.db;
    const TableDef& target = tableDef(u"FATSSK"_s);
    const TableDef& recete = tableDef(u"RECETE"_s);
    QStringList columns, sources;
    for (const FieldDef& f : target.fields) {
        columns << f.name;
        sources << (recete.fieldIndex(f.name) >= 0 ? u"RECETE."_s : u"RECSSK."_s) + f.name;
    }
    Transaction tx(db);
    Sql::run(db, u"DELETE FROM FATSSK"_s);
    Sql q(db, u"INSERT INTO FATSSK ("_s + columns.join(u", "_s) + u") SELECT "_s + sources.join(u", "_s)
                  + u" FROM RECETE, RECSSK WHERE (RECSSK.SATISNO = RECETE.SATISNO) AND "_s + condition
                  + u" ORDER BY RECETE.RECTARIH, RECETE.rowid"_s);
    for (auto it = params.begin(); it != params.end(); ++it) q.bind(it.key(), it.value());
    const int rows = q.exec().rowsAffected();
    tx.commit();
    return rows;
}

int KesFatSskLogic::gatherUninvoiced(const QDate& from, const QDate& to)
{
    return gather(u"(RECETE.KURUMKOD = :krAdi) AND (RECETE.FATNO IS NULL) AND (RECETE.ALTARIH >= :BasTrh) "
                  u"AND (RECETE.ALTARIH <= :SonTrh)"_s,
                  {{u"krAdi"_s, code_}, {u"BasTrh"_s, from}, {u"SonTrh"_s, to}});
}

int KesFatSskLogic::gatherInvoice(double invoiceNo)
{
    return gather(u"(RECETE.KURUMKOD = :krmAdi) AND (RECETE.FATNO = :FatNo)"_s,
                  {{u"krmAdi"_s, code_}, {u"FatNo"_s, invoiceNo}});
}

void KesFatSskLogic::newInvoice()
{
    Prompter& p = session_.prompter;
    QDate first, last;
    {
        Sql q(session_.db, u"SELECT RECETE.ALTARIH FROM RECETE, RECSSK WHERE (RECETE.KURUMKOD = :krAdi) "
                           u"AND (RECETE.FATNO IS NULL) AND (RECSSK.SATISNO = RECETE.SATISNO) AND (RECETE.ALTARIH >= :BasTrh) "
                           u"AND (RECETE.ALTARIH <= :SonTrh) ORDER BY RECETE.RECTARIH, RECETE.rowid"_s);
        q.bind(u"krAdi"_s, code_).bind(u"BasTrh"_s, QDate(1, 1, 1)).bind(u"SonTrh"_s, QDate(9998, 1, 1)).exec();
        bool any = false;
        while (q.next()) {
            if (!any) first = q.date(0);
            last = q.date(0);
            any = true;
        }
        if (!any) {
            p.information(code_ + u"Kurumuna ait Faturasız Reçete Yok"_s);
            return;
        }
    }
    if (!links_.askRange) return;
    const auto range = links_.askRange(first, last, u"Olan Faturası  Kesilecek Reçeteleri Göster"_s);
    if (!range) return;
    if (gatherUninvoiced(range->first, range->second) == 0) {
        p.information(dateText(range->first) + u"-"_s + dateText(range->second) + u"Tarih Aralığında "_s + code_
                      + u" kurumuna ait Bir Reçete Yok"_s);
        return;
    }
    if (links_.openInvoice) links_.openInvoice(code_, 0);
}

void KesFatSskLogic::correct(double invoiceNo)
{
    if (gatherInvoice(invoiceNo) == 0) {
        session_.prompter.information(u"Bu Fatura Yok"_s);
        return;
    }
    if (links_.openInvoice) links_.openInvoice(code_, invoiceNo);
}

bool KesFatSskLogic::remove(double invoiceNo)
{
    Prompter& p = session_.prompter;
    Database& db = session_.db;
    if (!p.confirmed(u"Silme İşlemini Tasdiklyormusunuz?"_s)) return false;
    {
        Sql q(db, u"SELECT HAREKET.HAREKNO FROM HAREKET WHERE (ALSATNO = :hNo) AND (ALSAT = 'F') AND (NIHAI <> 1)"_s);
        q.bind(u"hNo"_s, invoiceNo).exec();
        if (q.next()
            && p.ask(format(u"Bu Faturanın Cari Hareketi Kapanmamış (Hrk No:%f) !!! Buna Reğmen Fatura İptal Edilsin mi?"_s,
                            q.number(0)),
                     Buttons::YesNo, MessageKind::Warning) != Answer::Yes)
            return false;
    }
    // Header, balance, movements and prescriptions go together or not at all.
    withLockRetry(p, CounterBusyMessage, [&] {
        Transaction tx(db);
        const double net = Sql::scalar(db, u"SELECT NET FROM FATURA WHERE FATNO = :f"_s, {{u"f"_s, invoiceNo}}).toDouble();
        Sql::run(db, u"DELETE FROM FATURA WHERE FATNO = :fatsilno"_s, {{u"fatsilno"_s, invoiceNo}});
        changeAccountDebt(db, code_, -net);
        Sql::run(db, u"DELETE FROM HAREKET WHERE (ALSATNO = :fathrksilno) AND (ALSAT = 'F')"_s,
                 {{u"fathrksilno"_s, invoiceNo}});
        Sql::run(db, u"UPDATE RECETE SET FATNO = NULL, FATURANO = NULL, FATARIH = NULL WHERE FATNO = :recfatsilno"_s,
                 {{u"recfatsilno"_s, invoiceNo}});
        tx.commit();
    });
    return true;
}

}  // namespace selvar
