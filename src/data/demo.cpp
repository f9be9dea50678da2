#include "data/demo.h"

#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/password_hash.h"
#include "data/sql.h"
#include "data/table.h"

#include <QHash>
#include <random>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
// A slow hash costs a tenth of a second: one per password and process is enough for the
// many demo databases of a test run.
QString demoPasswordHash(const QString& password)
{
    static QHash<QString, QString> made;
    auto it = made.find(password);
    if (it == made.end()) it = made.insert(password, hashPassword(password));
    return *it;
}
}  // namespace

namespace {

class Rng {
public:
    explicit Rng(unsigned seed) : g_(seed) {}
    int below(int n) { return n <= 0 ? 0 : int(g_() % unsigned(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    template <typename T>
    const T& pick(const QList<T>& list) { return list[below(int(list.size()))]; }

private:
    std::mt19937 g_;
};

QString ean13(const QString& twelve)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += twelve[i].digitValue() * (i % 2 ? 3 : 1);
    return twelve + QString::number((10 - sum % 10) % 10);
}

// Values go in as their fields store them, so both engines get the same rows.
qint64 insertRow(Database& db, const QString& table, const QVariantMap& values)
{
    return insertRecord(db, table, values);
}

const QList<QString> kGenerics = {
    u"PARASETAMOL"_s, u"İBUPROFEN"_s, u"AMOKSİSİLİN"_s, u"AMOKSİSİLİN + KLAVULANİK ASİT"_s, u"SEFUROKSİM"_s,
    u"AZİTROMİSİN"_s, u"KLARİTROMİSİN"_s, u"SİPROFLOKSASİN"_s, u"METFORMİN"_s, u"GLİKLAZİD"_s,
    u"ATORVASTATİN"_s, u"ROSUVASTATİN"_s, u"AMLODİPİN"_s, u"RAMİPRİL"_s, u"METOPROLOL"_s,
    u"LOSARTAN"_s, u"OMEPRAZOL"_s, u"PANTOPRAZOL"_s, u"LANSOPRAZOL"_s, u"SETİRİZİN"_s,
    u"LORATADİN"_s, u"DESLORATADİN"_s, u"NAPROKSEN"_s, u"DİKLOFENAK"_s, u"METAMİZOL"_s,
    u"ASETİLSALİSİLİK ASİT"_s, u"SALBUTAMOL"_s, u"BUDESONİD"_s, u"MONTELUKAST"_s, u"LEVOTİROKSİN"_s,
    u"ESSİTALOPRAM"_s, u"SERTRALİN"_s, u"ALPRAZOLAM"_s, u"ÇİNKO SÜLFAT"_s, u"DEMİR SÜLFAT"_s,
    u"D VİTAMİNİ"_s, u"B12 VİTAMİNİ"_s, u"ŞEKER (GLUKOZ)"_s, u"ÖKSÜRÜK ŞURUBU BİLEŞİMİ"_s, u"İNSÜLİN"_s};
const QList<QString> kGroups = {u"ANALJEZİK"_s, u"ANTİBİYOTİK"_s, u"ANTİDİYABETİK"_s, u"KARDİYOVASKÜLER"_s,
                                u"MİDE İLAÇLARI"_s, u"ANTİHİSTAMİNİK"_s, u"SOLUNUM"_s, u"HORMON"_s,
                                u"PSİKİYATRİ"_s, u"VİTAMİN VE MİNERAL"_s, u"DERMATOLOJİ"_s, u"TIBBİ MALZEME"_s};
const QList<QString> kIndications = {u"AĞRI"_s, u"ATEŞ"_s, u"ENFEKSİYON"_s, u"DİYABET"_s, u"HİPERTANSİYON"_s,
                                     u"KOLESTEROL"_s, u"GASTRİT"_s, u"ALERJİ"_s, u"ASTIM"_s, u"TİROİD"_s,
                                     u"DEPRESYON"_s, u"ANKSİYETE"_s, u"KANSIZLIK"_s, u"ÖKSÜRÜK"_s, u"YARA BAKIMI"_s};

struct Stem {
    QString name;
    int generic;  // index into kGenerics
    int group;
    int indication;
};

const QList<Stem> kStems = {
    {u"PARANOL"_s, 0, 0, 0}, {u"ATEŞDİN"_s, 0, 0, 1}, {u"MİNOSET"_s, 0, 0, 0}, {u"İBUFEN"_s, 1, 0, 0},
    {u"PEDİFEN"_s, 1, 0, 1}, {u"ARTROFLEKS"_s, 1, 0, 0}, {u"AMOKLAVİN"_s, 3, 1, 2}, {u"LARGOPEN"_s, 2, 1, 2},
    {u"DEMOKSİL"_s, 2, 1, 2}, {u"ZİNNAT"_s, 4, 1, 2}, {u"AZİTRO"_s, 5, 1, 2}, {u"KLAMER"_s, 6, 1, 2},
    {u"SİPRO"_s, 7, 1, 2}, {u"GLUKOFEN"_s, 8, 2, 3}, {u"DİAMİKRON"_s, 9, 2, 3}, {u"ATOR"_s, 10, 3, 5},
    {u"ROSUVA"_s, 11, 3, 5}, {u"NORVASK"_s, 12, 3, 4}, {u"DELİX"_s, 13, 3, 4}, {u"BELOKA"_s, 14, 3, 4},
    {u"LOSAR"_s, 15, 3, 4}, {u"OMEPROL"_s, 16, 4, 6}, {u"PANTO"_s, 17, 4, 6}, {u"LANSOR"_s, 18, 4, 6},
    {u"ZİRTEK"_s, 19, 5, 7}, {u"KLARİDİN"_s, 20, 5, 7}, {u"AERİNAZ"_s, 21, 5, 7}, {u"APRANAKS"_s, 22, 0, 0},
    {u"DİKLORON"_s, 23, 0, 0}, {u"VOLTAREL"_s, 23, 0, 0}, {u"NOVALJİN"_s, 24, 0, 1}, {u"ASPİRİNA"_s, 25, 3, 0},
    {u"ÇOCUK ASPİRİNİ"_s, 25, 3, 0}, {u"VENTOLİ"_s, 26, 6, 8}, {u"PULMİKORT"_s, 27, 6, 8}, {u"SİNGULA"_s, 28, 6, 8},
    {u"LEVOTİRON"_s, 29, 7, 9}, {u"ÖTİROKS"_s, 29, 7, 9}, {u"ESSİPRAM"_s, 30, 8, 10}, {u"LUSTRAL"_s, 31, 8, 10},
    {u"XANOR"_s, 32, 8, 11}, {u"ZİNCO"_s, 33, 9, 12}, {u"FERROSAN"_s, 34, 9, 12}, {u"DEVİT"_s, 35, 9, 12},
    {u"BENEXOL"_s, 36, 9, 12}, {u"GLİKOZ"_s, 37, 10, 14}, {u"ÖKSÜRÜKSAN"_s, 38, 6, 13}, {u"İNSULATARD"_s, 39, 2, 3},
    {u"ŞİFALIN"_s, 0, 0, 0}, {u"ÜROSEPT"_s, 7, 1, 2}, {u"ĞÜNEŞ KREMİ"_s, 35, 10, 14}, {u"IŞIKSOL"_s, 16, 4, 6},
};
const QList<QString> kDoses = {u"5 MG"_s, u"10 MG"_s, u"20 MG"_s, u"40 MG"_s, u"50 MG"_s, u"100 MG"_s,
                               u"200 MG"_s, u"250 MG"_s, u"400 MG"_s, u"500 MG"_s, u"850 MG"_s, u"1000 MG"_s};

struct Form {
    QString text;
    int code;  // the dosage-form digits of the barcode
};
const QList<Form> kForms = {{u"20 TABLET"_s, 3}, {u"30 FİLM TABLET"_s, 5}, {u"16 KAPSÜL"_s, 15},
                            {u"100 ML ŞURUP"_s, 23}, {u"30 G KREM"_s, 34}, {u"20 ML DAMLA"_s, 54},
                            {u"5 AMPUL"_s, 75}, {u"10 EFERVESAN TABLET"_s, 8}, {u"60 ML SÜSPANSİYON"_s, 28},
                            {u"10 SUPP"_s, 89}, {u"POMAT 15 G"_s, 40}, {u"TOZ 10 SAŞE"_s, 29}};

const QList<QString> kFirstNames = {u"Ayşe"_s, u"Fatma"_s, u"Emine"_s, u"Hatice"_s, u"Zeynep"_s, u"Elif"_s,
                                    u"Meryem"_s, u"Şerife"_s, u"Sultan"_s, u"Gülsüm"_s, u"Mehmet"_s, u"Mustafa"_s,
                                    u"Ahmet"_s, u"Ali"_s, u"Hüseyin"_s, u"Hasan"_s, u"İbrahim"_s, u"İsmail"_s,
                                    u"Osman"_s, u"Yusuf"_s, u"Ömer"_s, u"Çağlar"_s, u"Gökhan"_s, u"Işıl"_s};
const QList<QString> kSurnames = {u"Yılmaz"_s, u"Kaya"_s, u"Demir"_s, u"Şahin"_s, u"Çelik"_s, u"Yıldız"_s,
                                  u"Yıldırım"_s, u"Öztürk"_s, u"Aydın"_s, u"Özdemir"_s, u"Arslan"_s, u"Doğan"_s,
                                  u"Kılıç"_s, u"Aslan"_s, u"Çetin"_s, u"Kara"_s, u"Koç"_s, u"Kurt"_s, u"Özkan"_s,
                                  u"Şimşek"_s, u"Polat"_s, u"Ünal"_s, u"Güneş"_s, u"Erdoğan"_s};

const QList<QString> kPrescriptionCodes = {u"N"_s, u"Y"_s, u"K"_s, u"R"_s, u"A"_s, u"S"_s,
                                           u"O"_s, u"I"_s, u"B"_s, u"H"_s, u"L"_s, u"U"_s};

QVariantMap institution(const QString& kod, const QString& ad, double base, double calisan, double emekli,
                        const QString& hsp, const QString& ydeger, const QStringList& labels)
{
    QVariantMap m{{u"KOD"_s, kod}, {u"AD"_s, ad}, {u"ADR1"_s, u"Atatürk Bulvarı No:12"_s},
                  {u"ADR2"_s, u"Kızılay"_s}, {u"ADR3"_s, u"ANKARA"_s}, {u"VERGIDAIRE"_s, u"Kavaklıdere"_s},
                  {u"VERGINO"_s, u"1234567890"_s}, {u"BORC"_s, 0.0}, {u"ALACAK"_s, 0.0},
                  {u"HSP_ISKON"_s, hsp}, {u"YDEGER"_s, ydeger}, {u"FATYUVAR"_s, 2}};
    const QStringList prefixes{u"ILACLARDA"_s, u"OZELKATILIM"_s, u"ILACBERABER"_s, u"ITHAL"_s, u"IHLRAP"_s};
    for (int p = 0; p < prefixes.size(); ++p) {
        const double k = base + p;  // institution discount grows a little per category
        m.insert(prefixes[p] + u"KURUM"_s, k);
        m.insert(prefixes[p] + u"CALISAN"_s, calisan);
        m.insert(prefixes[p] + u"EMEKLI"_s, emekli);
        m.insert(prefixes[p] + u"RAPYAT"_s, 0.0);
        m.insert(prefixes[p] + u"DIGER"_s, calisan / 2);
    }
    for (int i = 0; i < labels.size() && i < 6; ++i) m.insert(u"ETIKET"_s + QString::number(i + 1), labels[i]);
    return m;
}

}  // namespace

void fillDemoData(Database& db, const QDate& today)
{
    Rng rng(20261209);
    Transaction tx(db);
    for (const char* t : {"URUN", "JEN", "GRUP", "ENDIK", "URFAYAR", "KRMLAR", "HASTA", "DR", "EKIM", "usera",
                          "HAREKET", "URUNHRK", "PROSES", "SATIS", "ALIS1", "ALIS3", "hazirdeg", "SAYFA",
                          "KORPARF", "KOORFAT", "sayfalar", "FIRMA", "iskonto"})
        db.emptyTable(QString::fromLatin1(t));
    db.addPassword(SessionPassword);
    db.emptyTable(u"USERKIM"_s);

    // Pharmacy settings.
    insertRow(db, u"EKIM"_s,
              {{u"ADI"_s, u"Ecz. Nergis Papatyalı"_s}, {u"EADI"_s, u"PAPATYA ECZANESİ"_s},
               {u"ADR1"_s, u"Çiçek Sok. No:7"_s}, {u"ADR2"_s, u"Bahçelievler"_s}, {u"ADR3"_s, u"Çankaya/ANKARA"_s},
               {u"TLF"_s, u"3122223344"_s}, {u"ECZKODU"_s, 1234}, {u"ILCE_KOD"_s, 5}, {u"IL_KOD"_s, 6},
               {u"MERKEZ_KOD"_s, 1}, {u"MESULAD"_s, u"Ecz. Nergis Papatyalı"_s}, {u"VERGINO"_s, u"9876543210"_s},
               {u"VERGIDAIRE"_s, u"Çankaya"_s}, {u"ACE"_s, u"Ctrl+B"_s}, {u"HATIRLA"_s, u"İ"_s},
               {u"HATGUNB"_s, 10}, {u"HATGUNA"_s, 7}, {u"OZEL"_s, u"gizli"_s}});

    // Users: the pharmacist with every right, and an assistant with fewer.
    QVariantMap pharmacist{{u"KULLANICI"_s, QString::fromLatin1(DemoUser)},
                           {u"SIFRESI"_s, demoPasswordHash(QString::fromLatin1(DemoPassword))}, {u"URUNKARTI"_s, u"E"_s},
                           {u"KURUMHRK"_s, u"E"_s}, {u"HASTAHRK"_s, u"E"_s}};
    for (const FieldDef& f : tableDef(u"USERKIM"_s).fields)
        if (f.type == FieldType::Logical) pharmacist.insert(f.name, 1);
    insertRow(db, u"USERKIM"_s, pharmacist);
    QVariantMap assistant = pharmacist;
    assistant[u"KULLANICI"_s] = u"KALFA"_s;
    assistant[u"SIFRESI"_s] = demoPasswordHash(u"kalfa"_s);
    assistant[u"URUNKARTI"_s] = u"H"_s;
    for (const char* r : {"ESKISAT", "ALISESKI", "GIZLIKASA", "ENVANTER", "ACIKODE"}) assistant[QString::fromLatin1(r)] = 0;
    insertRow(db, u"USERKIM"_s, assistant);
    insertRow(db, u"usera"_s, pharmacist);
    db.dropPasswords();

    for (int i = 0; i < kGenerics.size(); ++i)
        insertRow(db, u"JEN"_s, {{u"JENERIKNO"_s, i + 1}, {u"JENERIKAD"_s, kGenerics[i]}});
    for (int i = 0; i < kGroups.size(); ++i) insertRow(db, u"GRUP"_s, {{u"GRUPNO"_s, i + 1}, {u"GRUPAD"_s, kGroups[i]}});
    for (int i = 0; i < kIndications.size(); ++i)
        insertRow(db, u"ENDIK"_s, {{u"ENDIKNO"_s, i + 1}, {u"ENDIKASYONAD"_s, kIndications[i]}});

    // Products.
    struct Product {
        qint64 no;
        double price;
        QString name;
    };
    QList<Product> products;
    int serial = 100;
    for (int s = 0; s < kStems.size(); ++s) {
        const Stem& stem = kStems[s];
        const int variants = 5 + (s % 3);
        for (int v = 0; v < variants; ++v) {
            const Form& form = kForms[(s + v * 5) % kForms.size()];
            const QString name = (stem.name + u' ' + kDoses[(s * 3 + v) % kDoses.size()] + u' ' + form.text).left(36);
            const int priceUnit = rng.between(5, 1900);
            const double price = priceUnit * 5000.0 / (1 + (v % 2));
            QString code;
            const int n = int(products.size());
            if (n % 17 != 5)
                code = ean13(u"8699"_s + QString::number(100 + s).right(3) + QString::number(form.code).rightJustified(2, u'0')
                             + QString::number(serial++ % 1000).rightJustified(3, u'0'));
            QString rk = u"N"_s;
            if (n % 4 == 1) rk = kPrescriptionCodes[(n / 4) % kPrescriptionCodes.size()];
            int expiryDays = rng.between(70, 900);
            if (n % 23 == 3) expiryDays = -rng.between(1, 200);  // expired
            else if (n % 19 == 7) expiryDays = rng.between(1, 63);  // expiring soon
            const QDate priceDate = today.addDays(-rng.between(5, 330));
            const QVariantMap row{
                {u"ILACAD"_s, name}, {u"JENERIKNO"_s, stem.generic + 1}, {u"GRUPNO"_s, stem.group + 1},
                {u"ENDIKNO"_s, stem.indication + 1}, {u"MIAD"_s, today.addDays(expiryDays)},
                {u"MIKTAR"_s, rng.between(0, 120)}, {u"FIYAT"_s, price}, {u"FIYATARIH"_s, priceDate},
                {u"ILACKOD"_s, code.isEmpty() ? QVariant() : QVariant(code)},
                {u"YER"_s, QStringLiteral("%1-%2").arg(QChar(u'A' + s % 8)).arg(v + 1, 2, 10, QChar(u'0'))},
                {u"RECETEKOD"_s, rk}, {u"KDV"_s, n % 11 == 4 ? 18.0 : (n % 13 == 6 ? 1.0 : 8.0)},
                {u"ALISTIP"_s, QString::number(n % 9)}, {u"AKTIFSTOK"_s, rng.between(0, 50)},
                {u"PASIFSTOK"_s, rng.between(0, 10)},
                {u"PROSPEKTUS"_s, name + u": "_s + kGenerics[stem.generic] + u" içerir. "_s
                                      + kIndications[stem.indication] + u" tedavisinde hekim önerisiyle kullanılır."_s}};
            const qint64 no = insertRow(db, u"URUN"_s, row);
            products << Product{no, price, name};
            // Older prices for a third of the products.
            if (n % 3 == 0) {
                double old = price;
                QDate when = priceDate;
                for (int h = 0; h < 1 + n % 3; ++h) {
                    old = std::max(5000.0, old - 5000.0 * rng.between(1, 20));
                    when = when.addDays(-rng.between(20, 120));
                    insertRow(db, u"URFAYAR"_s,
                              {{u"ILACNO"_s, no}, {u"FITARIH"_s, QDateTime(when, QTime(9 + h, 15))}, {u"FIYAT"_s, old}});
                }
            }
        }
    }

    // Institutions, an SSK-type one, one that shares from the gross (HSP_ISKON "1"), and
    // two wholesalers.
    insertRow(db, u"KRMLAR"_s, institution(u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s, 5, 20, 10, u"0"_s, u"R"_s,
                                           {u"Sicil No"_s, u"Ünite No"_s, u"İşyeri No"_s}));
    insertRow(db, u"KRMLAR"_s, institution(u"ES"_s, u"EMEKLİ SANDIĞI"_s, 4, 20, 10, u"1"_s, u"S"_s,
                                           {u"Emekli Sicil"_s, u"Tahsis No"_s, u"Kurum"_s, u"Yakınlık"_s}));
    insertRow(db, u"KRMLAR"_s, institution(u"BK"_s, u"BAĞ-KUR GENEL MÜDÜRLÜĞÜ"_s, 3, 20, 10, u"0"_s, u"R"_s,
                                           {u"Bağ-Kur No"_s, u"Karne No"_s}));
    insertRow(db, u"KRMLAR"_s, institution(u"MEB"_s, u"MİLLİ EĞİTİM MÜDÜRLÜĞÜ"_s, 2, 20, 10, u"0"_s, u"S"_s,
                                           {u"Memur Sicil"_s, u"Kurum Sicil"_s, u"Reçete Defteri"_s}));
    insertRow(db, u"KRMLAR"_s, institution(u"OZEL1"_s, u"GÜVEN ÖZEL SİGORTA A.Ş."_s, 0, 10, 10, u"0"_s, u"R"_s,
                                           {u"Poliçe No"_s}));
    {
        QVariantMap depo{{u"KOD"_s, u"DEPO1"_s}, {u"AD"_s, u"MERKEZ ECZA DEPOSU"_s}, {u"ADR1"_s, u"Sanayi Cad. 44"_s},
                         {u"ADR3"_s, u"ANKARA"_s}, {u"ILACLARDAKURUM"_s, 25.0}, {u"ILACBERABERKURUM"_s, 8.0},
                         {u"FATYUVAR"_s, 0}, {u"BORC"_s, 0.0}, {u"ALACAK"_s, 0.0}};
        insertRow(db, u"KRMLAR"_s, depo);
        depo[u"KOD"_s] = u"DEPO2"_s;
        depo[u"AD"_s] = u"ANADOLU ECZA DEPOSU"_s;
        depo[u"ILACBERABERKURUM"_s] = 6.0;
        depo[u"FATYUVAR"_s] = 2;
        insertRow(db, u"KRMLAR"_s, depo);
    }
    const QStringList institutionCodes{u"SSK"_s, u"ES"_s, u"BK"_s, u"MEB"_s, u"OZEL1"_s};
    const QStringList classes{u"Ç"_s, u"E"_s, u"N"_s, u"R"_s, u"D"_s};

    for (int i = 0; i < 36; ++i) {
        const QString kurum = i % 6 == 5 ? QString() : institutionCodes[i % institutionCodes.size()];
        QVariantMap p{{u"HASTADI"_s, kFirstNames[(i * 7) % kFirstNames.size()]},
                      {u"HASTASOYAD"_s, kSurnames[(i * 5 + i / 3) % kSurnames.size()]},
                      {u"ADRES1"_s, QStringLiteral("Lale Sok. No:%1").arg(i + 3)}, {u"ADRES2"_s, u"Bahçelievler"_s},
                      {u"ADRES3"_s, u"ANKARA"_s}, {u"BORC"_s, 0.0}, {u"SINIF"_s, classes[i % classes.size()]},
                      {u"KURUM"_s, kurum.isEmpty() ? QVariant() : QVariant(kurum)},
                      {u"SICILNO"_s, QString::number(1000000 + i * 7919)}, {u"KM_UNITNO"_s, QString::number(300 + i)},
                      {u"ISYERINO"_s, QString::number(5000 + i)},
                      {u"BAS1"_s, QString::number(1000000 + i * 7919)}};
        if (i % 3 == 0) p.insert(u"VIZETRH"_s, today.addDays(rng.between(-40, 300)));
        insertRow(db, u"HASTA"_s, p);
    }
    // Branches by the institution's numeric codes, as the SSK diskette carries them:
    // internal medicine, paediatrics, ear-nose-throat, eyes, cardiology, orthopaedics,
    // general surgery.
    const QStringList branches{u"1010"_s, u"1500"_s, u"1800"_s, u"2200"_s, u"1100"_s, u"2100"_s, u"1300"_s};
    for (int i = 0; i < 12; ++i)
        insertRow(db, u"DR"_s,
                  {{u"DRKOD"_s, i + 1}, {u"DRAD"_s, kFirstNames[(i * 5 + 3) % kFirstNames.size()]},
                   {u"DRSOYAD"_s, kSurnames[(i * 7 + 2) % kSurnames.size()]},
                   {u"SICILNO"_s, QString::number(10000 + i * 37)}, {u"DIPLOMANO"_s, QStringLiteral("%1/%2").arg(12 + i).arg(345 + i)},
                   {u"BRANS"_s, branches[i % branches.size()]}, {u"UNITE"_s, QString::number(7000 + i)}});
    for (const QString& v : {u"Ankara"_s, u"Emekli"_s, u"Merkez Şube"_s, u"Çankaya Şubesi"_s, u"Kendisi"_s, u"Eşi"_s,
                             u"Çocuğu"_s, u"İl Sağlık"_s, u"Öğretmen"_s, u"Memur"_s})
        insertRow(db, u"hazirdeg"_s, {{u"HAZIRDEGER"_s, v}});
    int firm = 1;
    for (const QString& f : {u"ANADOLU İLAÇ SAN."_s, u"BOĞAZİÇİ FARMA"_s, u"ÇINAR LABORATUVARLARI"_s,
                             u"DERİN KİMYA"_s, u"EGE SAĞLIK ÜRÜNLERİ"_s})
        insertRow(db, u"FIRMA"_s, {{u"FIRMANO"_s, firm++}, {u"FIRMAAD"_s, f}, {u"ADR1"_s, u"Organize Sanayi"_s}});

    // Page setups: the third row is the sale invoice, the last the SSK invoice (a smaller
    // font: its form has nine columns).
    for (int i = 0; i < 4; ++i)
        insertRow(db, u"SAYFA"_s,
                  {{u"FONTADI"_s, u"Courier New"_s}, {u"FONTSTYLE"_s, u"Normal"_s}, {u"FONTSIZE"_s, i == 3 ? 8 : 10},
                   {u"PRBICIMI"_s, 0}, {u"SAYFAGEN"_s, 210}, {u"SAYFAYUK"_s, 297},
                   {u"SAYFAISIM"_s, u"A4   (210mm x 297mm)"_s}});
    insertRow(db, u"KORPARF"_s,
              {{u"SAYFA_S"_s, 0}, {u"SAYFA_U"_s, 0}, {u"KR_S"_s, 20}, {u"KR_U"_s, 40}, {u"ADR1_S"_s, 20},
               {u"ADR1_U"_s, 46}, {u"ADR2_S"_s, 20}, {u"ADR2_U"_s, 52}, {u"ADR3_S"_s, 20}, {u"ADR3_U"_s, 58},
               {u"VERD_S"_s, 130}, {u"VERD_U"_s, 46}, {u"VERNO_S"_s, 130}, {u"VERNO_U"_s, 52}, {u"TRH_S"_s, 150},
               {u"TRH_U"_s, 30}, {u"SUTB_S"_s, 15}, {u"SUTB_U"_s, 80}, {u"TOP_S"_s, 110}, {u"TOP_U"_s, 220},
               {u"YAZI_S"_s, 20}, {u"YAZI_U"_s, 270}, {u"SIRA_U"_s, 10}, {u"URUNAD_U"_s, 90}, {u"MIK_U"_s, 15},
               {u"BIRIMF_U"_s, 30}, {u"TUTAR_U"_s, 35}});
    for (int i = 0; i < 2; ++i)
        insertRow(db, u"KOORFAT"_s,
                  {{u"SAYFA_S"_s, 0}, {u"SAYFA_U"_s, 0}, {u"KR_S"_s, 20}, {u"KR_U"_s, 35}, {u"ADR1_S"_s, 20},
                   {u"ADR1_U"_s, 41}, {u"ADR2_S"_s, 20}, {u"ADR2_U"_s, 47}, {u"ADR3_S"_s, 20}, {u"ADR3_U"_s, 53},
                   {u"VERD_S"_s, 130}, {u"VERD_U"_s, 41}, {u"VERNO_S"_s, 130}, {u"VERNO_U"_s, 47}, {u"TRH_S"_s, 150},
                   {u"TRH_U"_s, 25}, {u"SUTB_S"_s, 5}, {u"SUTB_U"_s, 75}, {u"SIRA_U"_s, 7}, {u"ADETR_U"_s, 55},
                   {u"BAS1_U"_s, 20}, {u"BAS2_U"_s, 22}, {u"BAS3_U"_s, 24}, {u"TOP1_U"_s, 24}, {u"TOP2_U"_s, 21},
                   {u"TOP3_U"_s, 21}, {u"YAZI_S"_s, 20}, {u"YAZI_U"_s, 275}});
    int sayi = 0;
    for (const auto& [name, number] : QList<std::pair<QString, int>>{
             {u"A4 (210 x 297 mm)"_s, 9}, {u"A5 (148 x 210 mm)"_s, 11}, {u"B5 (182 x 257 mm)"_s, 13},
             {u"Letter (216 x 279 mm)"_s, 1}, {u"Legal (216 x 356 mm)"_s, 5}, {u"Kullanıcı Tanımlı"_s, 256}}) {
        insertRow(db, u"sayfalar"_s, {{u"SAYFAADI"_s, name}, {u"DMWINDEGER"_s, QString::number(number)},
                                      {u"SAYI"_s, number == 256 ? u"$100"_s : QString::number(number)},
                                      {u"SAYIWIN"_s, number}});
        ++sayi;
    }

    // Some weeks of history: purchases into stock, retail sales out of it, open-account
    // entries around today for the reminder.
    double saleNo = 1, purchaseNo = 1, movementNo = 1;
    for (int p = 0; p < 6; ++p) {
        const QDateTime when(today.addDays(-40 + p * 6), QTime(10, 30));
        const QString supplier = p % 2 ? u"DEPO2"_s : u"DEPO1"_s;
        double net = 0;
        for (int line = 1; line <= 5; ++line) {
            const Product& pr = products[(p * 37 + line * 11) % products.size()];
            const int qty = rng.between(5, 30);
            const double cost = pr.price * 0.7;
            insertRow(db, u"ALIS3"_s,
                      {{u"ALISNO"_s, purchaseNo}, {u"SIRANOILAC"_s, line}, {u"ILACNO"_s, pr.no}, {u"FIYAT"_s, pr.price},
                       {u"MIKTAR"_s, qty}, {u"RECKOD"_s, u"N"_s}, {u"KDV"_s, 8.0}, {u"ALISTARIH"_s, when},
                       {u"MALFAZLA"_s, 0}, {u"ISKONTIP"_s, u"0"_s}, {u"M_ISKONTO"_s, 0.0}, {u"MKDVARMI"_s, u"H"_s}});
            recordStockMovement(db, {pr.no, when, purchaseNo, line, double(qty), cost, std::nullopt, std::nullopt});
            net += cost * qty;
        }
        insertRow(db, u"ALIS1"_s,
                  {{u"KRMKOD"_s, supplier}, {u"ALISNO"_s, purchaseNo}, {u"FATNO"_s, QStringLiteral("A-%1").arg(4500 + p)},
                   {u"FATARIH"_s, when.date()}, {u"IRSTARIH"_s, when.date()}, {u"NET"_s, net}, {u"BRUT"_s, net * 1.3},
                   {u"INORAN1"_s, 25.0}, {u"INORAN3"_s, 8.0}, {u"VADE"_s, today.addDays(-5 + p * 3)}});
        insertRow(db, u"HAREKET"_s,
                  {{u"HAREKNO"_s, movementNo++}, {u"CARIKOD"_s, supplier}, {u"ALSATNO"_s, purchaseNo}, {u"TUR"_s, u"A"_s},
                   {u"TARIH"_s, when.date()}, {u"VADE"_s, today.addDays(-5 + p * 3)}, {u"ALACAK"_s, net},
                   {u"ALSAT"_s, u"A"_s}, {u"BILGI"_s, when.date().toString(u"dd.MM.yyyy"_s) + u" Tarihli Alım Fat."_s},
                   {u"NIHAI"_s, 0}});
        changeInstitutionCredit(db, supplier, net);
        ++purchaseNo;
    }
    for (int s = 0; s < 40; ++s) {
        const QDateTime when(today.addDays(-30 + s * 3 / 4), QTime(9 + s % 9, (s * 7) % 60, s % 60, 0));
        const int lines = 1 + s % 3;
        double total = 0;
        for (int line = 1; line <= lines; ++line) {
            const Product& pr = products[(s * 13 + line * 29) % products.size()];
            const int qty = 1 + (s + line) % 2;
            insertRow(db, u"SATIS"_s,
                      {{u"SATISNO"_s, saleNo}, {u"SIRANOURUN"_s, line}, {u"SATARIH"_s, when}, {u"ILACNO"_s, pr.no},
                       {u"FIYAT"_s, pr.price}, {u"MIKTAR"_s, qty}, {u"KDV"_s, 8.0}, {u"RECETETIP"_s, u"N"_s},
                       {u"PARAKENDE"_s, u"P"_s}});
            recordStockMovement(db, {pr.no, when, saleNo, line, std::nullopt, std::nullopt, double(qty), pr.price});
            total += pr.price * qty;
        }
        if (s % 8 == 3) {
            // A sale on open account of a patient, due within the reminder window.
            const int patient = 1 + s % 30;
            insertRow(db, u"HAREKET"_s,
                      {{u"HAREKNO"_s, movementNo++}, {u"CARIKOD"_s, QString::number(patient)}, {u"ALSATNO"_s, saleNo},
                       {u"TUR"_s, u"M"_s}, {u"TARIH"_s, when.date()}, {u"VADE"_s, today.addDays(-3 + s / 8)},
                       {u"BORC"_s, total}, {u"ALSAT"_s, u"S"_s},
                       {u"BILGI"_s, when.date().toString(u"dd.MM.yyyy"_s) + u" Tarihli Prk.Satış"_s}, {u"NIHAI"_s, 0}});
            changeAccountDebt(db, QString::number(patient), total);
        }
        ++saleNo;
    }
    Sql::run(db, u"UPDATE NEWSATIS SET YENISATISNO = :v"_s, {{u"v"_s, saleNo}});
    Sql::run(db, u"UPDATE NEWALIS SET NEWALISNO = :v"_s, {{u"v"_s, purchaseNo}});
    Sql::run(db, u"UPDATE HRKNOAL SET HRKNO = :v"_s, {{u"v"_s, movementNo}});
    tx.commit();
}

}  // namespace selvar
