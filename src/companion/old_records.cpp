#include "companion/old_records.h"

#include "companion/ledger.h"
#include "core/dates.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

qint64 whole(double v) { return qint64(std::llround(v)); }

std::vector<OldRecord> sales(Database& db, const QStringList& kinds)
{
    std::vector<OldRecord> r;
    Sql q(db, u"SELECT SATISNO, MIN(SATARIH), SUM(FIYAT * MIKTAR) FROM SATIS WHERE PARAKENDE IN (:a, :b) "
              u"GROUP BY SATISNO"_s);
    q.bind(u"a"_s, kinds.value(0)).bind(u"b"_s, kinds.value(1, kinds.value(0))).exec();
    while (q.next()) r.push_back({q.number(0), q.timestamp(1), q.number(2), {}, {}});
    return r;
}

void newestFirst(std::vector<OldRecord>& r)
{
    std::stable_sort(r.begin(), r.end(), [](const OldRecord& a, const OldRecord& b) {
        if (a.when != b.when) return a.when > b.when;
        return a.number > b.number;
    });
}

}  // namespace

QString oldRecordTitle(OldRecordKind kind)
{
    switch (kind) {
    case OldRecordKind::RetailSales: return u"ESKİ PERAKENDE SATIŞLAR"_s;
    case OldRecordKind::PrescriptionSales: return u"ESKİ REÇETELİ SATIŞLAR"_s;
    case OldRecordKind::InvoicedSales: return u"ESKİ FATURALI SATIŞLAR"_s;
    case OldRecordKind::Purchases: return u"ESKİ ALIŞLAR"_s;
    }
    return {};
}

std::vector<OldRecord> loadOldRecords(Database& db, OldRecordKind kind)
{
    std::vector<OldRecord> r;
    Ledger ledger(db, QDateTime(), QString());
    QHash<QString, QString> names;
    auto nameOf = [&](const QString& code) {
        auto it = names.find(code);
        if (it == names.end()) it = names.insert(code, ledger.accountName(code));
        return it->isEmpty() ? code : *it;
    };
    switch (kind) {
    case OldRecordKind::RetailSales: {
        r = sales(db, {u"P"_s});
        // A retail sale on open account has a buyer: the account of its credit entry.
        QHash<qint64, QString> buyer;
        Sql q(db, u"SELECT ALSATNO, CARIKOD FROM HAREKET WHERE ALSAT = :a AND ALSATNO > 0 ORDER BY HAREKNO"_s);
        q.bind(u"a"_s, u"S"_s).exec();
        while (q.next())
            if (!buyer.contains(whole(q.number(0)))) buyer.insert(whole(q.number(0)), q.text(1));
        for (OldRecord& o : r) {
            const QString code = buyer.value(whole(o.number));
            if (!code.isEmpty()) o.party = nameOf(code);
        }
        break;
    }
    case OldRecordKind::PrescriptionSales: {
        r = sales(db, {u"R"_s, u"E"_s});
        QHash<qint64, std::pair<QString, QString>> rx;
        Sql q(db, u"SELECT SATISNO, HASTANO, KURUMKOD, RKDEFTERNO FROM RECETE"_s);
        q.exec();
        while (q.next()) {
            const QString patient = q.integer(1) > 0 ? nameOf(QString::number(q.integer(1))) : QString();
            QString party = q.text(2);
            if (!patient.isEmpty()) party = party.isEmpty() ? patient : party + u" / "_s + patient;
            rx.insert(whole(q.number(0)), {party, q.text(3)});
        }
        for (OldRecord& o : r) {
            const auto it = rx.constFind(whole(o.number));
            if (it == rx.constEnd()) continue;
            o.party = it->first;
            o.document = it->second;
        }
        break;
    }
    case OldRecordKind::InvoicedSales: {
        r = sales(db, {u"F"_s, u"E"_s});
        QHash<qint64, std::pair<QString, QString>> inv;
        Sql q(db, u"SELECT SATISNO, KRMAD, FATURANO, KRMKOD FROM FATURA WHERE SATISNO IS NOT NULL"_s);
        q.exec();
        while (q.next()) {
            const QString party = q.text(1).isEmpty() ? nameOf(q.text(3)) : q.text(1);
            inv.insert(whole(q.number(0)), {party, q.text(2)});
        }
        for (OldRecord& o : r) {
            const auto it = inv.constFind(whole(o.number));
            if (it == inv.constEnd()) continue;
            o.party = it->first;
            o.document = it->second;
        }
        break;
    }
    case OldRecordKind::Purchases: {
        Sql q(db, u"SELECT ALISNO, FATARIH, NET, KRMKOD, FATNO FROM ALIS1"_s);
        q.exec();
        while (q.next()) {
            const QDate d = q.date(1);
            r.push_back({q.number(0), d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime(), q.number(2),
                         q.text(3).isEmpty() ? QString() : nameOf(q.text(3)), q.text(4)});
        }
        break;
    }
    }
    newestFirst(r);
    return r;
}

int findOldRecord(const std::vector<OldRecord>& records, const QString& typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty()) return -1;
    if (isDigitsOnly(t)) {
        const qint64 n = t.toLongLong();
        for (size_t i = 0; i < records.size(); ++i)
            if (whole(records[i].number) == n) return int(i);
        return -1;
    }
    const DateInput d = parseDateText(t);
    if (!d.isValid()) return -1;
    // Newest first: the first record not after the end of that day.
    const QDateTime end = dayEnd(d.date);
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].when.isValid() && records[i].when <= end) return int(i);
    return -1;
}

}  // namespace selvar
