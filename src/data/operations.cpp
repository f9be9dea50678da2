#include "data/operations.h"

#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString withUser(const QString& text, const QString& user)
{
    return user.isEmpty() ? text : text + u'-' + user;
}

void appendOperationLog(Database& db, const QDateTime& when, const QString& description, const QString& kind,
                        std::optional<double> documentNo, std::optional<double> amount)
{
    Sql q(db, u"INSERT INTO PROSES (TARIH, ACIKLA, ISLETNO, TUTAR, ISLETIPI) "
              u"VALUES (:t, :a, :n, :m, :k)"_s);
    q.bind(u"t"_s, when);
    q.bind(u"a"_s, description.isEmpty() ? QVariant() : QVariant(description.left(36)));
    q.bind(u"n"_s, documentNo ? QVariant(*documentNo) : QVariant());
    q.bind(u"m"_s, amount ? QVariant(*amount) : QVariant());
    q.bind(u"k"_s, kind.isEmpty() ? QVariant() : QVariant(kind.left(15)));
    q.exec();
}

bool isPatientAccount(const QString& accountCode) { return isDigitsOnly(accountCode.trimmed()); }

void changeAccountDebt(Database& db, const QString& accountCode, double delta)
{
    if (isPatientAccount(accountCode)) {
        Sql::run(db, u"UPDATE HASTA SET BORC = COALESCE(BORC, 0) + :d WHERE HASTANO = :k"_s,
                 {{u"d"_s, delta}, {u"k"_s, accountCode.trimmed().toLongLong()}});
    } else {
        Sql::run(db, u"UPDATE KRMLAR SET BORC = COALESCE(BORC, 0) + :d WHERE KOD = :k"_s,
                 {{u"d"_s, delta}, {u"k"_s, accountCode}});
    }
}

void changeInstitutionCredit(Database& db, const QString& code, double delta)
{
    Sql::run(db, u"UPDATE KRMLAR SET ALACAK = COALESCE(ALACAK, 0) + :d WHERE KOD = :k"_s,
             {{u"d"_s, delta}, {u"k"_s, code}});
}

void changeStock(Database& db, qint64 productNo, double delta)
{
    Sql::run(db, u"UPDATE URUN SET MIKTAR = COALESCE(MIKTAR, 0) + :d WHERE ILACNO = :n"_s,
             {{u"d"_s, qlonglong(std::llround(delta))}, {u"n"_s, productNo}});
}

void recordStockMovement(Database& db, const StockMovement& m)
{
    Transaction tx(db);
    Sql q(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, "
              u"CIKFIYAT, ALSATNO, SIRANO) VALUES (:n, :t, :gm, :cm, :gf, :cf, :d, :s)"_s);
    auto opt = [](const std::optional<double>& v, bool integral) {
        if (!v) return QVariant();
        return integral ? QVariant(qlonglong(std::llround(*v))) : QVariant(*v);
    };
    q.bind(u"n"_s, m.productNo).bind(u"t"_s, m.when);
    q.bind(u"gm"_s, opt(m.inQuantity, true)).bind(u"cm"_s, opt(m.outQuantity, true));
    q.bind(u"gf"_s, opt(m.inPrice, false)).bind(u"cf"_s, opt(m.outPrice, false));
    q.bind(u"d"_s, m.documentNo).bind(u"s"_s, m.line);
    q.exec();
    const double delta = m.inQuantity.value_or(0) - m.outQuantity.value_or(0);
    if (delta != 0) changeStock(db, m.productNo, delta);
    tx.commit();
}

int deleteStockMovements(Database& db, qint64 productNo, const QDateTime& when, double documentNo,
                         std::optional<qint64> line)
{
    QString sql = u"DELETE FROM URUNHRK WHERE ILACNO = :n AND GCTARIH = :t AND ALSATNO = :d"_s;
    QVariantMap p{{u"n"_s, productNo}, {u"t"_s, when}, {u"d"_s, documentNo}};
    if (line) {
        sql += u" AND SIRANO = :s"_s;
        p.insert(u"s"_s, *line);
    }
    return Sql::run(db, sql, p);
}

void removeCreditEntry(Database& db, double movementNo)
{
    Transaction tx(db);
    Sql q(db, u"SELECT ALSATNO, CARIKOD, BORC FROM HAREKET WHERE HAREKNO = :h"_s);
    q.bind(u"h"_s, movementNo).exec();
    if (q.next()) {
        if (q.number(0) < 1) changeAccountDebt(db, q.text(1), -q.number(2));
        Sql::run(db, u"DELETE FROM HAREKET WHERE HAREKNO = :h"_s, {{u"h"_s, movementNo}});
    }
    tx.commit();
}

bool productHasMovements(Database& db, qint64 productNo)
{
    return !Sql::scalar(db, u"SELECT 1 FROM URUNHRK WHERE ILACNO = :n LIMIT 1"_s, {{u"n"_s, productNo}})
                .isNull();
}

// ---------------------------------------------------------------- documents of a sale

void deleteSskRecords(Database& db, double saleNo)
{
    Sql::run(db, u"DELETE FROM RECSSK WHERE SATISNO = :n"_s, {{u"n"_s, saleNo}});
    deleteSskLineRecords(db, saleNo);
}

void deleteSskLineRecord(Database& db, double saleNo, qint64 line, qint64 productNo)
{
    Sql::run(db, u"DELETE FROM RECSSK_A WHERE SATISNO = :n AND SIRANOILAC = :l AND ILACNO = :i"_s,
             {{u"n"_s, saleNo}, {u"l"_s, line}, {u"i"_s, productNo}});
}

void deleteSskLineRecords(Database& db, double saleNo)
{
    Sql::run(db, u"DELETE FROM RECSSK_A WHERE SATISNO = :n"_s, {{u"n"_s, saleNo}});
}

void deletePrescription(Database& db, double saleNo)
{
    Sql::run(db, u"DELETE FROM RECETE WHERE SATISNO = :n"_s, {{u"n"_s, saleNo}});
    deleteSskRecords(db, saleNo);
}

void deleteSaleInvoice(Database& db, double saleNo)
{
    Sql::run(db, u"DELETE FROM FATURA WHERE SATISNO = :n"_s, {{u"n"_s, saleNo}});
}

void copyInvoiceIntoPrescription(Database& db, double saleNo)
{
    Sql f(db, u"SELECT FATARIH, FATURANO, FATNO FROM FATURA WHERE SATISNO = :n LIMIT 1"_s);
    f.bind(u"n"_s, saleNo).exec();
    if (!f.next()) return;
    Sql::run(db, u"UPDATE RECETE SET FATARIH = :d, FATURANO = :fn, FATNO = :no WHERE SATISNO = :n"_s,
             {{u"d"_s, f.date(0)}, {u"fn"_s, f.isNull(1) ? QVariant() : QVariant(f.text(1).left(11))},
              {u"no"_s, f.value(2)}, {u"n"_s, saleNo}});
}

QString prescriptionBookNo(Database& db, double saleNo)
{
    return Sql::scalar(db, u"SELECT RKDEFTERNO FROM RECETE WHERE SATISNO = :n LIMIT 1"_s, {{u"n"_s, saleNo}}).toString();
}

double saleInvoiceNo(Database& db, double saleNo)
{
    return Sql::scalar(db, u"SELECT FATNO FROM FATURA WHERE SATISNO = :n LIMIT 1"_s, {{u"n"_s, saleNo}}).toDouble();
}

QList<SaleLine> workingSaleLines(Database& db)
{
    QList<SaleLine> r;
    Sql q(db, u"SELECT SIRANO, URUNAD, MIKTAR, FIYAT, URUNO, RECKOD, KDV FROM SATEMP ORDER BY SIRANO"_s);
    q.exec();
    while (q.next())
        r << SaleLine{int(q.integer(0)), q.text(1), int(q.integer(2)), q.number(3), q.integer(4), q.text(5), q.number(6)};
    return r;
}

}  // namespace selvar
