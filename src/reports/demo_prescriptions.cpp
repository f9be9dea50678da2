#include "reports/demo_prescriptions.h"

#include "companion/backprint_layout.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "prescriptions/demo_ssk.h"
#include "prescriptions/shares.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

struct Product {
    qint64 no = 0;
    double price = 0, vat = 0;
    QString type;
};

QList<Product> productsOfType(Database& db, const QString& type)
{
    QList<Product> r;
    Sql q(db, u"SELECT ILACNO, FIYAT, KDV, RECETEKOD FROM URUN WHERE RECETEKOD = :t AND FIYAT > 0 ORDER BY ILACNO"_s);
    q.bind(u"t"_s, type).exec();
    while (q.next()) r << Product{q.integer(0), q.number(1), q.number(2), q.text(3)};
    return r;
}

struct Patient {
    qint64 no = 0;
    QString cls, sicil, unit, workplace;
    QVariant visa;
};

QList<Patient> patientsOf(Database& db, const QString& institution)
{
    QList<Patient> r;
    Sql q(db, u"SELECT HASTANO, SINIF, SICILNO, KM_UNITNO, ISYERINO, VIZETRH FROM HASTA WHERE KURUM = :k ORDER BY HASTANO"_s);
    q.bind(u"k"_s, institution).exec();
    while (q.next()) r << Patient{q.integer(0), q.text(1), q.text(2), q.text(3), q.text(4), q.value(5)};
    return r;
}

Product addSyringe(Database& db, const QString& name, const QString& barcode, double price, const QDate& today)
{
    const QVariantMap row{{u"ILACAD"_s, name}, {u"ILACKOD"_s, barcode}, {u"GRUPNO"_s, 12}, {u"MIAD"_s, today.addYears(3)},
                          {u"MIKTAR"_s, 200}, {u"FIYAT"_s, price}, {u"FIYATARIH"_s, today.addDays(-60)},
                          {u"YER"_s, u"M-01"_s}, {u"RECETEKOD"_s, u"I"_s}, {u"KDV"_s, 8.0}, {u"ALISTIP"_s, u"0"_s},
                          {u"AKTIFSTOK"_s, 50}, {u"PASIFSTOK"_s, 0}};
    return Product{insertRecord(db, u"URUN"_s, row), price, 8.0, u"I"_s};
}

struct Line {
    Product product;
    int quantity;
};

// One prescription as the prescription window stores it: gross per category, the shares
// of the institution and the class, the VAT of the institution's part.
void addPrescription(Database& db, int n, const QString& institutionCode, const Patient& patient,
                     const QDateTime& when, const QList<Line>& lines)
{
    const Institution inst = loadInstitution(db, institutionCode);
    std::array<double, BucketCount> gross{};
    double vat[3] = {0, 0, 0};
    for (const Line& l : lines) {
        const double amount = l.quantity * l.product.price;
        const Bucket b = bucketOf(l.product.type);
        gross[int(b)] += amount;
        const double part = institutionPart(amount, b, inst, patient.cls);
        const int slot = l.product.vat == 1.0 ? 0 : l.product.vat == 8.0 ? 1 : 2;
        vat[slot] += part * l.product.vat / (l.product.vat + 100);
    }
    const ShareResult shares = computeShares(gross, inst, patient.cls);
    const double saleNo = takeSaleNumber(db);
    QVariantMap rec{{u"RKDEFTERNO"_s, nextFinalBookNumber(db, when.date().year())},
                    {u"KURUMKOD"_s, institutionCode}, {u"SATISNO"_s, saleNo}, {u"DRKOD"_s, 1 + n % 12},
                    {u"SERINO"_s, u"A-"_s + QString::number(384100 + n * 7)},
                    {u"PROTOKOLNO"_s, QString::number(when.date().year()) + QString::number(1200 + n * 13)},
                    {u"RECTARIH"_s, when.date().addDays(-(n % 3))}, {u"ALTARIH"_s, when.date()},
                    {u"HASTATIP"_s, patient.cls}, {u"BAS1"_s, patient.sicil}, {u"BAS2"_s, patient.unit},
                    {u"VIZETRH"_s, patient.visa}, {u"HASTAKATPAY"_s, shares.share()}, {u"NET"_s, shares.net()},
                    {u"KDVA"_s, vat[0]}, {u"KDVB"_s, vat[1]}, {u"KDVC"_s, vat[2]}, {u"HASTANO"_s, patient.no}};
    if (institutionCode == u"SSK"_s) rec.insert(u"BAS3"_s, patient.workplace);
    for (int b = 0; b < BucketCount; ++b) rec.insert(grossField(Bucket(b)), gross[b]);
    insertRecord(db, u"RECETE"_s, rec);
    int no = 0;
    for (const Line& l : lines) {
        ++no;
        insertRecord(db, u"SATIS"_s,
                     {{u"SATISNO"_s, saleNo}, {u"SIRANOURUN"_s, no}, {u"SATARIH"_s, when}, {u"ILACNO"_s, l.product.no},
                      {u"FIYAT"_s, l.product.price}, {u"MIKTAR"_s, l.quantity}, {u"KDV"_s, l.product.vat},
                      {u"RECETETIP"_s, l.product.type}, {u"PARAKENDE"_s, u"R"_s}});
        recordStockMovement(db, {l.product.no, when, saleNo, no, std::nullopt, std::nullopt, double(l.quantity), l.product.price});
    }
}

LayoutField field(const QString& data, const QString& caption, int width)
{
    return LayoutField{dataFieldMeaning(data), caption, data, width};
}

BackPrintLayout layout(const QString& institution, const QString& type, const QStringList& labels)
{
    BackPrintLayout l;
    l.institution = institution;
    l.patientType = type;
    l.fontName = u"Courier New"_s;
    l.fontSize = 9;
    l.margin = 10;
    l.fields[0] = field(u"RKDEFTERNO"_s, u"Reç.Kayıt No :"_s, 30);
    l.fields[1] = field(u"ALTARIH"_s, u"Veriliş Tarihi :"_s, 25);
    for (int i = 0; i < 2 && i < labels.size(); ++i)
        l.fields[size_t(2 + i)] = field(u"BAS"_s + QString::number(i + 1), labels[i] + u" :"_s, 35);
    l.fields[4] = field(u"BRUT"_s, u"Brüt Toplam :"_s, 30);
    l.fields[5] = field(u"HKPson"_s, u"Katılım Payı :"_s, 30);
    l.fields[6] = field(u"NETSON"_s, u"Kuruma Kalan :"_s, 30);
    l.columns[0] = field(u"ILAD"_s, u"İlacın Adı"_s, 70);
    l.columns[1] = field(u"MIKTAR"_s, u"Adet"_s, 12);
    l.columns[2] = field(u"FIYAT"_s, u"Birim Fiyat"_s, 28);
    l.columns[3] = field(u"BRUTUTAR"_s, u"Tutar"_s, 30);
    l.totalWording = u"K"_s;
    return l;
}

}  // namespace

void addDemoPrescriptions(Database& db, const QDate& today)
{
    Transaction tx(db);
    QList<Product> syringes{addSyringe(db, u"ENJEKTÖR 2,5 ML"_s, u"8699100990012"_s, 1500.0 * 100, today),
                            addSyringe(db, u"ENJEKTÖR 5 ML"_s, u"8699100990029"_s, 2000.0 * 100, today)};
    const QList<Product> normal = productsOfType(db, u"N"_s);
    const QList<Product> imported = productsOfType(db, u"L"_s);
    // SSK first of all: its workers' prescriptions are the most at a counter.
    const QStringList order{u"SSK"_s, u"ES"_s, u"SSK"_s, u"BK"_s, u"ES"_s, u"SSK"_s, u"MEB"_s,
                            u"SSK"_s, u"ES"_s, u"SSK"_s, u"BK"_s, u"SSK"_s, u"ES"_s, u"SSK"_s};
    QHash<QString, QList<Patient>> patients;
    for (int n = 0; n < order.size(); ++n) {
        const QString& code = order[n];
        if (!patients.contains(code)) patients.insert(code, patientsOf(db, code));
        const QList<Patient>& of = patients[code];
        if (of.isEmpty() || normal.isEmpty()) continue;
        const QDateTime when(today.addDays(-20 + n * 18 / int(order.size() - 1)), QTime(9 + n % 8, (n * 13) % 60));
        QList<Line> lines;
        for (int l = 0; l <= n % 3; ++l) lines << Line{normal[(n * 7 + l * 13) % normal.size()], 1 + (n + l) % 2};
        if (n % 3 == 1 && !imported.isEmpty()) lines << Line{imported[n % imported.size()], 1};
        if (n % 2 == 0) lines << Line{syringes[(n / 2) % 2], 2 + n % 3};
        addPrescription(db, n, code, of[n % of.size()], when, lines);
    }

    // SSK workers' back sheets: every option on, domestic and imported apart.
    insertRecord(db, u"RECKASE"_s,
                 {{u"KURUM"_s, u"SSK"_s}, {u"TIP"_s, u"Ç"_s}, {u"RECKAYAZ"_s, 1}, {u"VIZEYAZ"_s, 1}, {u"PRTOKOL"_s, 1},
                  {u"SIRANO"_s, 1}, {u"DOKUMTOP"_s, 1}, {u"ITHALYAZ"_s, 1}, {u"CERCEVE"_s, 1},
                  {u"SIRALAMAKRITER"_s, u"D"_s}, {u"SAYFAYON"_s, u"D"_s}, {u"RKNOBAS"_s, u"R"_s},
                  {u"FONTADI"_s, u"Courier New"_s}, {u"COLOR"_s, 0}, {u"FONTSIZE"_s, 8}, {u"FONTSTYLE"_s, u"R"_s},
                  {u"YANYANAREC"_s, 1}, {u"MARJIN"_s, 0}, {u"RECARBOYUZ"_s, 10}, {u"HERECAYRI"_s, 0},
                  {u"SAYFA_TIPI"_s, u"9"_s}, {u"ILACLAR"_s, u"ilaç.da"_s}, {u"ILACBERA"_s, u"ilç.berb"_s},
                  {u"OZKAT"_s, u"öz.kat.lı"_s}, {u"ITHAL"_s, u"ithal ilç"_s}, {u"RAPITHAL"_s, u"Rp ithal"_s}});
    saveLayout(db, layout(u"SSK"_s, u"Ç"_s, {u"Sicil No"_s, u"Ünite No"_s}));
    saveLayout(db, layout(u"ES"_s, u"E"_s, {u"Emekli Sicil"_s, u"Tahsis No"_s}));
    saveLayout(db, layout(u"BK"_s, u"Ç"_s, {u"Bağ-Kur No"_s, u"Karne No"_s}));
    tx.commit();
    addDemoSskPrescriptions(db, today);
}

}  // namespace selvar
