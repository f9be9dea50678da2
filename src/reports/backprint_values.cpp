#include "reports/backprint_values.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
QString letter(int b) { return QString::fromLatin1(CategoryLetters[size_t(b)]); }
}  // namespace

ShareResult backPrintShares(const report::Row& row, const Institution& inst)
{
    std::array<double, BucketCount> gross{};
    for (int b = 0; b < BucketCount; ++b) gross[size_t(b)] = row.number(grossField(Bucket(b)));
    return computeShares(gross, inst, row.text(u"HASTATIP"_s), false);
}

QVariantMap backPrintValues(const report::Row& row, const Institution& inst)
{
    const ShareResult s = backPrintShares(row, inst);
    QVariantMap v;
    for (int b = 0; b < BucketCount; ++b) {
        const BucketShare& x = s.buckets[size_t(b)];
        v.insert(u"Indir"_s + letter(b), x.discount);
        v.insert(u"yuzde"_s + letter(b), x.shareRate);
        v.insert(u"HKP"_s + letter(b).toLower(), x.share);
        v.insert(u"Baki"_s + letter(b), x.subtotal);
        v.insert(u"Net"_s + letter(b), x.net);
    }
    auto part = [&](double BucketShare::*m, int from, int to) {
        double sum = 0;
        for (int b = from; b < to; ++b) sum += s.buckets[size_t(b)].*m;
        return sum;
    };
    v.insert(u"NETSON"_s, s.net());
    v.insert(u"HKPson"_s, s.share());
    v.insert(u"INDIRSon"_s, s.discount());
    v.insert(u"BRUT"_s, s.gross());
    v.insert(u"NetNONIthal"_s, part(&BucketShare::net, 0, 3));
    v.insert(u"NetTumIHL"_s, part(&BucketShare::net, 3, 5));
    v.insert(u"BRTOPYERLI"_s, part(&BucketShare::gross, 0, 3));
    v.insert(u"BRTOPITHAL"_s, part(&BucketShare::gross, 3, 5));
    v.insert(u"HKPYERLI"_s, part(&BucketShare::share, 0, 3));
    v.insert(u"HKPITHAL"_s, part(&BucketShare::share, 3, 5));
    v.insert(u"INDIR"_s, s.gross() - (row.number(u"NET"_s) + s.share()));
    return v;
}

void calculateBackPrintValues(report::Report& r, std::function<Institution(const report::Row&)> institutionOf)
{
    static const QStringList names = backPrintValues(report::Row{}, Institution{}).keys();
    r.calculate(u"_VALUES"_s, [institutionOf](const report::Row& row) {
        return QVariant(backPrintValues(row, institutionOf(row)));
    });
    for (const QString& name : names)
        r.calculate(name, [name](const report::Row& row) { return row.value(u"_VALUES"_s).toMap().value(name); });
}

QString visaText(const QDate& visa)
{
    if (!visa.isValid()) return u"MUAF"_s;
    return dateText(visa) + u"  /  "_s + dateText(visa.addDays(-visa.daysInYear()));
}

QString patientName(Database& db, qint64 patientNo, const QString& separator)
{
    Sql q(db, u"SELECT HASTADI, HASTASOYAD FROM HASTA WHERE HASTANO = :n"_s);
    q.bind(u"n"_s, patientNo).exec();
    if (!q.next()) return u" "_s;
    return q.text(0) + separator + q.text(1);
}

bool isSyringe(const QString& name)
{
    if (name.size() < 8) return false;
    for (const QString& start : {u"enjektör"_s, u"enjectör"_s, u"enjektor"_s, u"enjector"_s})
        if (startsWithNoCase(name, start)) return true;
    return false;
}

QString contributionText(const QList<double>& rates, double contribution)
{
    QStringList parts;
    for (double r : rates) parts << u"%"_s + format(u"%g", r);
    return parts.join(u' ') + u" KATILIM "_s + moneyText(contribution);
}

void HandedOver::add(const QString& name, int q, bool countSyringes)
{
    if (countSyringes && isSyringe(name)) {
        syringes += q;
        return;
    }
    ++lines;
    quantity += q;
}

QString HandedOver::text() const
{
    return QString::number(lines) + u" KALEM, "_s + QString::number(quantity) + u" ADET İLAÇ, "_s
           + QString::number(syringes) + u" ADET ENJEKTÖRÜ ALDIM."_s;
}

QString HandedOver::withoutSyringes() const
{
    return QString::number(lines) + u" KALEM, "_s + QString::number(quantity) + u" ADET İLAÇ ALDIM."_s;
}

int copySaleToWorkingTable(Database& db, double saleNo, const QString& workingTable)
{
    Sql q(db, u"SELECT * FROM RECETE WHERE RECETE.SATISNO = :SatN"_s);
    q.bind(u"SatN"_s, saleNo).exec();
    return copyRows(q, db, workingTable, true);
}

void takeSaleIntoWorkingTable(Database& db, double saleNo, const QString& workingTable, QString& patientType,
                              QString& institution)
{
    {
        Transaction tx(db);
        copySaleToWorkingTable(db, saleNo, workingTable);
        tx.commit();
    }
    Sql q(db, u"SELECT HASTATIP, KURUMKOD FROM "_s + workingTable);
    q.exec();
    if (q.next()) {
        patientType = q.text(0);
        institution = q.text(1);
    }
}

InstitutionCache calculateInstitutionValues(report::Report& r, Database& db)
{
    auto institutions = std::make_shared<QHash<QString, Institution>>();
    r.calculate(u"KNOWN"_s, [institutions, &db](const report::Row& row) {
        const QString code = row.text(u"KURUMKOD"_s);
        if (!institutions->contains(code)) institutions->insert(code, loadInstitution(db, code));
        return QVariant(institutions->value(code).found);
    });
    calculateBackPrintValues(r, [institutions](const report::Row& row) { return institutions->value(row.text(u"KURUMKOD"_s)); });
    return institutions;
}

QString prescriptionOrder(const QString& order)
{
    return order == u"R"_s   ? u"ORDER BY RECTARIH, SATISNO"_s
           : order == u"A"_s ? u"ORDER BY ALTARIH, SATISNO"_s
           : order == u"S"_s ? u"ORDER BY SERINO"_s
                             : u"ORDER BY RKDEFTERNO"_s;
}

}  // namespace selvar
