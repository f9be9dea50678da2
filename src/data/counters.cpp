#include "data/counters.h"

#include "data/database.h"
#include "data/sql.h"
#include "data/dialect.h"
#include "data/table.h"
#include "core/turkish.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

double takeNumber(Database& db, const QString& table, const QString& field)
{
    const TableDef& t = tableDef(table);
    const Dialect& d = db.dialect();
    const QString tn = d.tableName(t), fn = d.quote(t.field(field)->name);
    Transaction tx(db);
    double value = 1;
    qint64 rid = -1;
    {
        // The row stays locked against the other workstations until this transaction ends.
        Sql q(db, u"SELECT "_s + d.rowId() + u", "_s + fn + u" FROM "_s + tn + u" ORDER BY "_s + d.rowId() + u" LIMIT 1"_s
                      + d.forUpdate());
        q.exec();
        if (q.next()) {
            rid = q.integer(0);
            value = q.isNull(1) ? 1 : q.number(1);
        }
    }
    if (rid < 0) {
        Sql ins(db, u"INSERT INTO "_s + tn + u" ("_s + fn + u") VALUES (:v)"_s);
        ins.bind(u"v"_s, value + 1).exec();
    } else {
        Sql upd(db, u"UPDATE "_s + tn + u" SET "_s + fn + u" = :v WHERE "_s + d.rowId() + u" = :rid"_s);
        upd.bind(u"v"_s, value + 1).bind(u"rid"_s, rid).exec();
    }
    tx.commit();
    return value;
}

QString nextProvisionalBookNumber(const QString& current)
{
    bool ok = false;
    const qint64 n = current.mid(2).trimmed().toLongLong(&ok);
    if (!ok) throw DbError(u"RKAYIT.DB reçete kayıt numarası okunamadı: "_s + current);
    return u"XX"_s + QString::number(n + 1).rightJustified(7, u'0');
}

QString takeProvisionalBookNumber(Database& db)
{
    const Dialect& d = db.dialect();
    Transaction tx(db);
    QString current;
    qint64 rid = -1;
    {
        Sql q(db, u"SELECT "_s + d.rowId() + u", RECETEKAYITNO FROM RKAYIT ORDER BY "_s + d.rowId() + u" LIMIT 1"_s
                      + d.forUpdate());
        q.exec();
        if (q.next()) {
            rid = q.integer(0);
            current = q.text(1);
        }
    }
    if (current.isEmpty()) current = u"XX0000001"_s;
    const QString next = nextProvisionalBookNumber(current);
    if (rid < 0) {
        Sql::run(db, u"INSERT INTO RKAYIT (RECETEKAYITNO) VALUES (:v)"_s, {{u"v"_s, next}});
    } else {
        Sql::run(db, u"UPDATE RKAYIT SET RECETEKAYITNO = :v WHERE "_s + d.rowId() + u" = :rid"_s,
                 {{u"v"_s, next}, {u"rid"_s, rid}});
    }
    tx.commit();
    return current;
}

QString nextFinalBookNumber(Database& db, int year)
{
    const QString yy = QString::number(year % 100).rightJustified(2, u'0');
    // Through the key index, so the last number of the year is one index step away.
    const Dialect& d = db.dialect();
    const QString key = d.keyExpression(*tableDef(u"RECETE"_s).field(u"RKDEFTERNO"_s));
    const QVariant last = Sql::scalar(db, u"SELECT RKDEFTERNO FROM RECETE WHERE "_s + key + u" >= :lo AND "_s + key
                                              + u" <= :hi ORDER BY "_s + d.orderTerm(key, true) + u" LIMIT 1"_s,
                                      {{u"lo"_s, sortKey(yy + u"0000001"_s)}, {u"hi"_s, sortKey(yy + u"9999999"_s)}});
    if (last.isNull() || last.toString().isEmpty()) return yy + u"0000001"_s;
    bool ok = false;
    const qint64 n = last.toString().toLongLong(&ok);
    if (!ok) return yy + u"0000001"_s;
    return QString::number(n + 1).rightJustified(9, u'0');
}

QString giveFinalBookNumber(Database& db, qint64 prescriptionRowId, int year)
{
    // By the row's identity: the book number itself is read through its key index only.
    const QString number = nextFinalBookNumber(db, year);
    Sql::run(db, u"UPDATE RECETE SET RKDEFTERNO = :f WHERE "_s + db.dialect().rowId() + u" = :r"_s,
             {{u"f"_s, number}, {u"r"_s, prescriptionRowId}});
    return number;
}

}  // namespace selvar
