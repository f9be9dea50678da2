#include "large_data.h"

#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "data/transfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <random>

namespace selvar::bench {
using namespace Qt::Literals::StringLiterals;

double median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

namespace {
const QStringList kSyllables = {u"PA"_s, u"RA"_s, u"NOL"_s, u"Çİ"_s, u"ĞE"_s, u"MİN"_s, u"SET"_s, u"ÖZ"_s,
                                u"ŞU"_s, u"RUP"_s, u"LAK"_s, u"TI"_s, u"KA"_s, u"VİT"_s, u"DO"_s, u"FEN"_s,
                                u"AL"_s, u"BE"_s, u"CİL"_s, u"ÜN"_s, u"IŞ"_s, u"MOL"_s, u"TEK"_s, u"ZOL"_s};

// The two institutions of the prescriptions, with their discounts and shares by patient
// type, and the patients they are written for.
void addInstitutionsAndPatients(Database& db)
{
    for (const auto& [code, name, fromGross] : {std::tuple{u"SSK"_s, u"SOSYAL SİGORTALAR KURUMU"_s, u"0"_s},
                                                std::tuple{u"ES"_s, u"EMEKLİ SANDIĞI"_s, u"1"_s}}) {
        QVariantMap v{{u"KOD"_s, code}, {u"AD"_s, name}, {u"HSP_ISKON"_s, fromGross}, {u"ETIKET1"_s, u"Sicil No"_s}};
        const QList<std::pair<QString, double>> discounts{
            {u"ILACLARDA"_s, 5}, {u"ILACBERABER"_s, 7}, {u"OZELKATILIM"_s, 6}, {u"ITHAL"_s, 8}, {u"IHLRAP"_s, 9}};
        for (const auto& [prefix, discount] : discounts) {
            v.insert(prefix + u"KURUM"_s, discount);
            v.insert(prefix + u"CALISAN"_s, 20.0);
            v.insert(prefix + u"EMEKLI"_s, 10.0);
            v.insert(prefix + u"RAPYAT"_s, 20.0);
            v.insert(prefix + u"DIGER"_s, 20.0);
        }
        insertRecord(db, u"KRMLAR"_s, v);
    }
    // 50,000 patients with their insurance registration numbers.
    Sql q(db, u"INSERT INTO HASTA (HASTADI, HASTASOYAD, KURUM, SINIF, SICILNO, KM_UNITNO, ISYERINO) "
              u"VALUES (:a, :s, 'SSK', 'Ç', :r, :u, :w)"_s);
    for (int i = 0; i < 50000; ++i) {
        q.bind(u"a"_s, kSyllables[i % kSyllables.size()] + kSyllables[(i / 7) % kSyllables.size()]);
        q.bind(u"s"_s, kSyllables[(i / 3) % kSyllables.size()] + kSyllables[(i / 11) % kSyllables.size()] + u"OĞLU"_s);
        q.bind(u"r"_s, QString::number(10000000 + i * 7)).bind(u"u"_s, QString::number(100 + i % 900));
        q.bind(u"w"_s, QString::number(30000 + i % 5000)).exec();
    }
}

// For the private reports: twenty busy products with 2,000-5,000 movements each over
// fourteen months, account movements of every kind and state, discounts and private
// invoices over the same months, and the VAT of the prescriptions.
void addReportHistory(Database& db)
{
    const QDate first(2025, 10, 1), last(2026, 11, 30);
    std::mt19937 rng(7);
    Sql move(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, ALSATNO, SIRANO) "
                 u"VALUES (:i, :t, :g, :c, :f, :n, :s)"_s);
    const qint64 days = first.daysTo(last);
    for (int p = 1; p <= 20; ++p) {
        const int count = 2000 + int(rng() % 3001);
        for (int k = 0; k < count; ++k) {
            const QDateTime when(first.addDays(qint64(rng() % quint64(days + 1))), QTime(8 + int(rng() % 12), int(rng() % 60)));
            const bool in = k % 5 == 0;
            move.bind(u"i"_s, p).bind(u"t"_s, when).bind(u"g"_s, in ? QVariant(10) : QVariant());
            move.bind(u"c"_s, in ? QVariant() : QVariant(1 + int(rng() % 3))).bind(u"f"_s, in ? QVariant(4000.0 + p) : QVariant());
            move.bind(u"n"_s, 900000 + k).bind(u"s"_s, p).exec();
        }
    }
    static const QStringList kinds{u"A"_s, u"D"_s, u"K"_s, u"M"_s, u"N"_s, u"P"_s, u"S"_s, u"Ç"_s};
    Sql h(db, u"INSERT INTO HAREKET (HAREKNO, TUR, TARIH, BORC, ALACAK, NIHAI, CARIKOD) VALUES (:h, :t, :d, :b, :a, :n, 'X')"_s);
    Sql d(db, u"INSERT INTO iskonto (SATISNO, TARIH, ISKONTUT) VALUES (:s, :t, :i)"_s);
    Sql f(db, u"INSERT INTO FATURA (FATNO, FATARIH, NET, TOPKDV) VALUES (:n, :t, :net, :k)"_s);
    for (int i = 0; i < 20000; ++i) {
        const QDate day = first.addDays(qint64(rng() % quint64(days + 1)));
        h.bind(u"h"_s, 1000000 + i).bind(u"t"_s, kinds[i % kinds.size()]).bind(u"d"_s, day);
        h.bind(u"b"_s, i % 2 ? 5000.0 * (i % 40) : 0.0).bind(u"a"_s, i % 2 ? 0.0 : 5000.0 * (i % 30));
        h.bind(u"n"_s, i % 4).exec();
        if (i % 4 == 0) d.bind(u"s"_s, 5000000 + i).bind(u"t"_s, day).bind(u"i"_s, 500.0).exec();
        if (i % 10 == 0) f.bind(u"n"_s, 2000000 + i).bind(u"t"_s, day).bind(u"net"_s, 108000.0).bind(u"k"_s, 8000.0).exec();
    }
    Sql::run(db, u"UPDATE RECETE SET KDVB = NET * 8 / 108"_s);
}

// For the SSK invoice: an institution of its own ("SSKF", the SSK's rates) with 6,000
// prescriptions of November 2026 waiting for their invoice (5,000 of workers themselves,
// group 2) and eleven invoiced months of 1,000 before; three lines each, some "I" and
// "O", with their SSK rows and line rows.
void addSskInvoiceMonths(Database& db, int products)
{
    Sql::run(db, u"INSERT INTO KRMLAR (KOD, AD, ADR1, ADR3, VERGIDAIRE, VERGINO, BORC, HSP_ISKON, FATYUVAR, "
                 u"ILACLARDAKURUM, ILACBERABERKURUM, OZELKATILIMKURUM, ILACLARDACALISAN, ILACBERABERCALISAN, "
                 u"OZELKATILIMCALISAN, ILACLARDAEMEKLI, ILACBERABEREMEKLI, OZELKATILIMEMEKLI) VALUES ('SSKF', "
                 u"'SOSYAL SİGORTALAR KURUMU FATURA', 'Ziya Gökalp Cad.', 'ANKARA', 'KAVAKLIDERE', '7770001112', 0, '0', 3, "
                 u"10, 5, 20, 20, 10, 30, 10, 5, 15)"_s);
    // The pre-printed form's layout (the row before the last) and its page (the last).
    for (int i = 0; i < 2; ++i) {
        Sql::run(db, u"INSERT INTO SAYFA (FONTADI, FONTSTYLE, FONTSIZE, PRBICIMI, SAYFAGEN, SAYFAYUK, SAYFAISIM) "
                     u"VALUES ('Courier New', 'Normal', 10, 0, 210, 297, 'A4   (210mm x 297mm)')"_s);
        Sql::run(db, u"INSERT INTO KOORFAT (SAYFA_S, SAYFA_U, KR_S, KR_U, ADR1_S, ADR1_U, ADR2_S, ADR2_U, ADR3_S, ADR3_U, "
                     u"VERD_S, VERD_U, VERNO_S, VERNO_U, TRH_S, TRH_U, SUTB_S, SUTB_U, SIRA_U, ADETR_U, BAS1_U, BAS2_U, "
                     u"BAS3_U, TOP1_U, TOP2_U, TOP3_U, YAZI_S, YAZI_U) VALUES (0, 0, 20, 35, 20, 41, 20, 47, 20, 53, 130, 41, "
                     u"130, 47, 150, 25, 10, 75, 10, 60, 25, 25, 25, 25, 25, 25, 20, 275)"_s);
    }
    std::mt19937 rng(11);
    Sql head(db, u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, ALTARIH, BRUTN, BRUTI, BRUTO, NET, "
                 u"HASTAKATPAY, SERINO, FATNO, FATURANO, FATARIH) VALUES (:r, 'SSKF', :n, :t, :t, :bn, :bi, :bo, :net, 0, "
                 u":seri, :fno, :fnr, :ftr)"_s);
    Sql ssk(db, u"INSERT INTO RECSSK (SATISNO, SICILNO, DURUM_KOD, YAKINLIK_KOD, HASTALIK, RS_AD, RS_SOYAD) "
                u"VALUES (:n, :s, :d, :y, ' ', :a, :sa)"_s);
    Sql line(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                 u"VALUES (:n, :l, :t, :i, :f, 1, 8, :r, 'R')"_s);
    Sql drug(db, u"INSERT INTO RECSSK_A (SATISNO, SIRANOILAC, ILACNO, KUTUSAYISI, GUN_KULLAN, BIRKUL_ALMIK) "
                 u"VALUES (:n, :l, :i, 1, '2', '1')"_s);
    Sql invoice(db, u"INSERT INTO FATURA (FATNO, FATURANO, FATARIH, KRMKOD, KES, NET, RCTOPSAYISI, FAT_GRB) "
                    u"VALUES (:f, :nr, :t, 'SSKF', :kes, :net, 1000, 3)"_s);
    double saleNo = 8000000;
    for (int month = 0; month < 12; ++month) {
        const QDate first = QDate(2025, 12, 1).addMonths(month);
        const bool open = month == 11;
        const int count = open ? 6000 : 1000;
        const double invoiceNo = 900000 + month;
        double invoiceNet = 0;
        for (int k = 0; k < count; ++k) {
            const QDate day = first.addDays(k % first.daysInMonth());
            ++saleNo;
            std::array<double, 3> gross{};
            for (int l = 1; l <= 3; ++l) {
                const QString type = l == 3 && k % 3 == 0 ? u"O"_s : (l == 2 && k % 4 == 1 ? u"I"_s : u"N"_s);
                const double price = 5000.0 * (1 + int(rng() % 400));
                const qint64 product = 1 + int(rng() % unsigned(products - 2));
                line.bind(u"n"_s, saleNo).bind(u"l"_s, l).bind(u"t"_s, QDateTime(day, QTime(10, 0))).bind(u"i"_s, product);
                line.bind(u"f"_s, price).bind(u"r"_s, type).exec();
                drug.bind(u"n"_s, saleNo).bind(u"l"_s, l).bind(u"i"_s, product).exec();
                gross[type == u"O"_s ? 2 : type == u"I"_s ? 1 : 0] += price;
            }
            const double net = gross[0] + gross[1] + gross[2];
            invoiceNet += net;
            head.bind(u"r"_s, QStringLiteral("F%1").arg(qint64(saleNo))).bind(u"n"_s, saleNo).bind(u"t"_s, day);
            head.bind(u"bn"_s, gross[0]).bind(u"bi"_s, gross[1]).bind(u"bo"_s, gross[2]).bind(u"net"_s, net);
            head.bind(u"seri"_s, QString::number(7000000 + k));
            head.bind(u"fno"_s, open ? QVariant() : QVariant(invoiceNo));
            head.bind(u"fnr"_s, open ? QVariant() : QVariant(QString::number(invoiceNo)));
            head.bind(u"ftr"_s, open ? QVariant() : QVariant(first.addMonths(1).addDays(-1)));
            head.exec();
            // Five in six are workers themselves (group 2); the rest pensioners and families.
            const bool worker = k % 6 != 5;
            ssk.bind(u"n"_s, saleNo).bind(u"s"_s, QString::number(20000000 + k)).bind(u"d"_s, worker ? u"1"_s : u"2"_s);
            ssk.bind(u"y"_s, worker ? u"0"_s : QString::number(k % 7)).bind(u"a"_s, kSyllables[k % kSyllables.size()]);
            ssk.bind(u"sa"_s, kSyllables[(k / 5) % kSyllables.size()] + u"OĞLU"_s).exec();
        }
        if (!open) {
            invoice.bind(u"f"_s, invoiceNo).bind(u"nr"_s, QString::number(invoiceNo)).bind(u"t"_s, first.addMonths(1).addDays(-1));
            invoice.bind(u"kes"_s, true).bind(u"net"_s, invoiceNet).exec();
        }
    }
}

// For the movement history: a best-selling product (number 50) with ten years of history,
// about 60,000 movements from every source with the rows that explain them, a few
// inventory corrections; and product 51 with ten movements.
void addBestSellerHistory(Database& db)
{
    std::mt19937 rng(5);
    Sql move(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, CIKFIYAT, ALSATNO, SIRANO) "
                 u"VALUES (:i, :t, :g, :c, :gf, :cf, :n, :s)"_s);
    Sql sale(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, PARAKENDE) "
                 u"VALUES (:n, 1, :t, :i, 5000, :m, 8, 'N', :p)"_s);
    Sql recete(db, u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, ALTARIH, HASTANO, NET) "
                   u"VALUES (:r, 'ES', :n, :t, :t, :h, 5000)"_s);
    Sql invoice(db, u"INSERT INTO FATURA (FATNO, FATURANO, SATISNO, FATARIH, KRMKOD, KRMAD, KES, NET) "
                    u"VALUES (:f, :f2, :n, :t, 'MEB', 'MİLLİ EĞİTİM MÜDÜRLÜĞÜ', :k, 5000)"_s);
    Sql purchase(db, u"INSERT INTO ALIS1 (KRMKOD, ALISNO, FATNO, FATARIH, NET) VALUES (:k, :n, :f, :t, 40000)"_s);
    const QDateTime start(QDate(2016, 12, 1), QTime(8, 0));
    double saleNo = 9000000, purchaseNo = 900000, invoiceNo = 9000000;
    for (int i = 0; i < 60000; ++i) {
        const QDateTime when = start.addSecs(qint64(i) * 5256);  // ten years over the movements
        const int kind = int(rng() % 100);
        move.bind(u"i"_s, 50).bind(u"t"_s, when);
        if (kind < 11) {  // a purchase from one of the two suppliers
            ++purchaseNo;
            purchase.bind(u"k"_s, kind % 2 ? u"DEPO2"_s : u"DEPO1"_s).bind(u"n"_s, purchaseNo);
            purchase.bind(u"f"_s, QStringLiteral("B-%1").arg(qint64(purchaseNo))).bind(u"t"_s, when.date()).exec();
            move.bind(u"g"_s, 10).bind(u"c"_s, QVariant()).bind(u"gf"_s, 4000.0).bind(u"cf"_s, QVariant());
            move.bind(u"n"_s, purchaseNo).bind(u"s"_s, 1).exec();
            continue;
        }
        if (kind < 13) {  // an exchange in or out
            const bool in = kind == 11;
            move.bind(u"g"_s, in ? QVariant(2) : QVariant()).bind(u"c"_s, in ? QVariant() : QVariant(2));
            move.bind(u"gf"_s, in ? QVariant(4000.0) : QVariant()).bind(u"cf"_s, in ? QVariant() : QVariant(4000.0));
            move.bind(u"n"_s, double(i)).bind(u"s"_s, 999999999).exec();
            continue;
        }
        ++saleNo;
        const QString letter = kind < 80 ? u"P"_s : (kind < 93 ? u"R"_s : u"F"_s);
        sale.bind(u"n"_s, saleNo).bind(u"t"_s, when).bind(u"i"_s, 50).bind(u"m"_s, 1).bind(u"p"_s, letter).exec();
        if (letter == u"R"_s)
            recete.bind(u"r"_s, QStringLiteral("BS%1").arg(qint64(saleNo))).bind(u"n"_s, saleNo).bind(u"t"_s, when.date())
                .bind(u"h"_s, 1 + int(rng() % 50000)).exec();
        if (letter == u"F"_s) {
            ++invoiceNo;
            invoice.bind(u"f"_s, invoiceNo).bind(u"f2"_s, QString::number(qint64(invoiceNo))).bind(u"n"_s, saleNo);
            invoice.bind(u"t"_s, when.date()).bind(u"k"_s, true).exec();
        }
        move.bind(u"g"_s, QVariant()).bind(u"c"_s, 1).bind(u"gf"_s, QVariant()).bind(u"cf"_s, 5000.0);
        move.bind(u"n"_s, saleNo).bind(u"s"_s, 1).exec();
    }
    for (int k = 0; k < 4; ++k) Sql::run(db, u"INSERT INTO MRAPORD (ILACNO, MIKDEG) VALUES (50, :m)"_s, {{u"m"_s, k % 2 ? 3 : -2}});
    for (int i = 0; i < 10; ++i) {
        move.bind(u"i"_s, 51).bind(u"t"_s, start.addDays(i * 300)).bind(u"g"_s, QVariant()).bind(u"c"_s, 1);
        move.bind(u"gf"_s, QVariant()).bind(u"cf"_s, 5000.0).bind(u"n"_s, 9500000.0 + i).bind(u"s"_s, 1).exec();
    }
}
// 20,000 exchanges with sixty pharmacies over two years, every type and state; a given one
// in four went below the product's price of today.
void addExchanges(Database& db, int products)
{
    std::mt19937 rng(21);
    static const QStringList firstNames{u"ŞİFA"_s, u"ÇINAR"_s, u"GÜNEŞ"_s, u"ÖZLEM"_s, u"DR. AYŞE'NİN"_s, u"İKLİM"_s,
                                        u"YAĞMUR"_s, u"ÜMİT"_s, u"DENİZ"_s, u"HAYAT"_s, u"MERKEZ"_s, u"ZEYNEP"_s};
    static const QStringList lastNames{u"ECZANESİ"_s, u"ECZ."_s, u"SAĞLIK ECZANESİ"_s, u"YENİ ECZANESİ"_s, u"ÇARŞI ECZ."_s};
    QStringList pharmacies;
    for (const QString& a : firstNames)
        for (const QString& b : lastNames) pharmacies << a + u' ' + b;
    struct Card {
        QString name;
        double price;
    };
    std::vector<Card> cards;
    {
        Sql q(db, u"SELECT ILACAD, FIYAT FROM URUN WHERE ILACNO % 37 = 0 AND ILACNO < :n"_s);
        q.bind(u"n"_s, products - 2).exec();
        while (q.next()) cards.push_back({q.text(0), q.number(1)});
    }
    static const QStringList types{u"A"_s, u"U"_s, u"E"_s, u"V"_s};
    static const QStringList states{u"A"_s, u"K"_s, QString()};
    Sql q(db, u"INSERT INTO TAKAS (ECZADI, ILACAD, ADET, TUTAR, TARIH, TIP, SONDURUM) VALUES (:e, :i, :a, :t, :d, :p, :s)"_s);
    for (int i = 0; i < 20000; ++i) {
        const Card& c = cards[rng() % cards.size()];
        const int quantity = i % 500 == 0 ? 0 : 1 + int(rng() % 10);
        const double unit = c.price * (rng() % 4 == 0 ? 0.8 : 1.0);
        q.bind(u"e"_s, pharmacies[int(rng() % pharmacies.size())].left(24)).bind(u"i"_s, c.name).bind(u"a"_s, quantity);
        q.bind(u"t"_s, unit * quantity).bind(u"d"_s, QDate(2025, 12, 1).addDays(int(rng() % 730)));
        q.bind(u"p"_s, types[int(rng() % 4)]).bind(u"s"_s, states[int(rng() % 3)]).exec();
    }
}
}  // namespace

QString largeDatabase(const LargeSizes& s)
{
    const QString dir = QCoreApplication::applicationDirPath() + u"/../bench-data"_s;
    QDir().mkpath(dir);
    const QString path = QDir(dir).absoluteFilePath(QStringLiteral("large-%1-v8.sqlite").arg(s.products));
    if (QFile::exists(path)) return path;
    QTextStream(stdout) << "generating " << path << " ...\n";
    QElapsedTimer timer;
    timer.start();
    const QString tmp = path + u".tmp"_s;
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(tmp + suffix);
    {
        Database db(AliasConfig::forSqliteFile(tmp));
        db.execute(u"PRAGMA synchronous=OFF"_s);
        db.createSchema();
        std::mt19937 rng(42);
        auto below = [&](int n) { return int(rng() % unsigned(n)); };
        Transaction tx(db);
        {
            Sql q(db, u"INSERT INTO URUN (ILACAD, FIYAT, FIYATARIH, MIKTAR, ILACKOD, RECETEKOD, KDV, MIAD, YER, "
                      u"JENERIKNO, GRUPNO, ENDIKNO, ALISTIP) VALUES (:a, :f, :t, :m, :k, :r, 8, :miad, 'A-01', :j, :g, :e, '0')"_s);
            // The last two products are syringes, counted apart on the back sheets; one
            // product in ten is imported.
            for (int i = 0; i < s.products; ++i) {
                QString name;
                const int syringe = i - (s.products - 2);
                if (syringe >= 0) {
                    name = syringe == 0 ? u"ENJEKTÖR 2,5 ML"_s : u"ENJEKTÖR 5 ML"_s;
                } else {
                    const int parts = 2 + below(3);
                    for (int p = 0; p < parts; ++p) name += kSyllables[below(int(kSyllables.size()))];
                    name += QStringLiteral(" %1 MG %2 TABLET").arg(5 * (1 + below(200))).arg(10 * (1 + below(6)));
                }
                q.bind(u"a"_s, name.left(36)).bind(u"f"_s, 5000.0 * (1 + below(2000)));
                q.bind(u"r"_s, syringe >= 0 ? u"I"_s : (i % 10 == 7 ? u"L"_s : u"N"_s));
                q.bind(u"t"_s, QDate(2026, 1, 1).addDays(below(300))).bind(u"m"_s, below(200));
                q.bind(u"k"_s, QStringLiteral("869%1").arg(1000000000LL + i, 10, 10, QChar(u'0')));
                q.bind(u"miad"_s, QDate(2027, 1, 1).addDays(below(900)));
                q.bind(u"j"_s, 1 + below(500)).bind(u"g"_s, 1 + below(40)).bind(u"e"_s, 1 + below(80));
                q.exec();
            }
        }
        addInstitutionsAndPatients(db);
        const QDateTime start(QDate(2025, 12, 1), QTime(8, 0));
        // Every fifth sale is a prescription; its gross by category is kept for its header.
        struct Gross {
            double normal = 0, withMedicine = 0, imported = 0;
        };
        std::vector<Gross> gross(size_t(s.saleLines / 5 + 2));
        {
            Sql q(db, u"INSERT INTO SATIS (SATISNO, SIRANOURUN, SATARIH, ILACNO, FIYAT, MIKTAR, KDV, RECETETIP, "
                      u"PARAKENDE) VALUES (:n, :l, :t, :i, :f, :m, 8, :r, :p)"_s);
            int line = 0;
            for (int sale = 1; line < s.saleLines; ++sale) {
                const int lines = 1 + below(5);
                const QDateTime when = start.addSecs(qint64(sale) * 300);
                const bool prescription = sale % 5 == 0;
                for (int l = 1; l <= lines && line < s.saleLines; ++l, ++line) {
                    const bool syringe = prescription && l == 2;
                    const int product = syringe ? s.products - 1 + below(2) : 1 + below(s.products - 2);
                    const QString type = syringe ? u"I"_s : (product % 10 == 8 ? u"L"_s : u"N"_s);
                    const double price = 5000.0 * (1 + below(2000));
                    const int quantity = 1 + below(3);
                    q.bind(u"n"_s, sale).bind(u"l"_s, l).bind(u"t"_s, when).bind(u"i"_s, product);
                    q.bind(u"f"_s, price).bind(u"m"_s, quantity).bind(u"r"_s, type);
                    q.bind(u"p"_s, prescription ? u"R"_s : u"P"_s);
                    q.exec();
                    if (!prescription || size_t(sale / 5) >= gross.size()) continue;
                    Gross& g = gross[size_t(sale / 5)];
                    (syringe ? g.withMedicine : type == u"L"_s ? g.imported : g.normal) += price * quantity;
                }
            }
        }
        {
            // SSK workers and retirees mostly; the shares as the demo institutions take them.
            static const QStringList types{u"Ç"_s, u"Ç"_s, u"E"_s, u"R"_s, u"D"_s, u"N"_s};
            Sql q(db, u"INSERT INTO RECETE (RKDEFTERNO, KURUMKOD, SATISNO, RECTARIH, ALTARIH, HASTATIP, BRUTN, BRUTI, "
                      u"BRUTH, HASTAKATPAY, NET, HASTANO, BAS1, PROTOKOLNO, VIZETRH) "
                      u"VALUES (:r, :k, :n, :t, :t, :ht, :bn, :bi, :bh, :hkp, :net, :h, :b1, :p, :v)"_s);
            for (int i = 1; i <= s.prescriptions; ++i) {
                const Gross g = size_t(i) < gross.size() ? gross[size_t(i)] : Gross{};
                const QString type = types[i % types.size()];
                const bool es = i % 5 >= 3;
                const double rate = type == u"N"_s ? 0 : (type == u"E"_s ? 10 : 20);
                // SSK shares the discounted amount, ES the gross.
                const double total = g.normal + g.withMedicine + g.imported;
                const double afterDiscount = g.normal * 0.95 + g.withMedicine * 0.93 + g.imported * 0.92;
                const double share = (es ? total : afterDiscount) * rate / 100;
                q.bind(u"r"_s, QStringLiteral("26%1").arg(i, 7, 10, QChar(u'0'))).bind(u"n"_s, i * 5);
                q.bind(u"k"_s, es ? u"ES"_s : u"SSK"_s).bind(u"ht"_s, type);
                q.bind(u"bn"_s, g.normal).bind(u"bi"_s, g.withMedicine).bind(u"bh"_s, g.imported);
                q.bind(u"hkp"_s, share).bind(u"net"_s, afterDiscount - share);
                q.bind(u"t"_s, start.date().addDays(i % 365)).bind(u"h"_s, 1 + below(50000));
                q.bind(u"b1"_s, QString::number(1000000 + i)).bind(u"p"_s, QString::number(500000 + i));
                q.bind(u"v"_s, i % 7 == 0 ? QVariant() : QVariant(start.date().addDays(i % 300)));
                q.exec();
            }
        }
        {
            // A year of SSK prescriptions with their SSK rows and line rows (every one of
            // SSK with three of five prescriptions: 12,000).
            Sql ssk(db, u"INSERT INTO RECSSK (SATISNO, SICILNO, DURUM_KOD, YAKINLIK_KOD, HASTALIK, RS_AD, RS_SOYAD) "
                        u"SELECT r.SATISNO, h.SICILNO, '1', '0', ' ', h.HASTADI, h.HASTASOYAD FROM RECETE r "
                        u"JOIN HASTA h ON h.HASTANO = r.HASTANO WHERE r.KURUMKOD = 'SSK'"_s);
            ssk.exec();
            Sql lines(db, u"INSERT INTO RECSSK_A (SATISNO, SIRANOILAC, ILACNO, KUTUSAYISI, GUN_KULLAN, BIRKUL_ALMIK) "
                          u"SELECT s.SATISNO, s.SIRANOURUN, s.ILACNO, s.MIKTAR, '1', '1' FROM SATIS s "
                          u"JOIN RECSSK x ON x.SATISNO = s.SATISNO"_s);
            lines.exec();
        }
        {
            Sql q(db, u"INSERT INTO ALIS1 (KRMKOD, ALISNO, FATNO, FATARIH, NET) VALUES ('DEPO1', :n, :f, :t, :net)"_s);
            for (int i = 1; i <= s.purchases; ++i) {
                q.bind(u"n"_s, i).bind(u"f"_s, QString::number(10000 + i)).bind(u"t"_s, start.date().addDays(i % 365));
                q.bind(u"net"_s, 1000000.0 + i).exec();
            }
        }
        {
            Sql q(db, u"INSERT INTO URUNHRK (ILACNO, GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, CIKFIYAT, ALSATNO, SIRANO) "
                      u"VALUES (:i, :t, :g, :c, :gf, :cf, :n, :s)"_s);
            for (int i = 0; i < s.movements; ++i) {
                const bool in = i % 4 == 0;
                q.bind(u"i"_s, 1 + below(s.products)).bind(u"t"_s, start.addSecs(qint64(i) * 150));
                q.bind(u"g"_s, in ? QVariant(10) : QVariant()).bind(u"c"_s, in ? QVariant() : QVariant(1));
                q.bind(u"gf"_s, in ? QVariant(4000.0) : QVariant()).bind(u"cf"_s, in ? QVariant() : QVariant(5000.0));
                q.bind(u"n"_s, i + 1).bind(u"s"_s, 1).exec();
            }
        }
        addReportHistory(db);
        addSskInvoiceMonths(db, s.products);
        addBestSellerHistory(db);
        addExchanges(db, s.products);
        Sql::run(db, u"UPDATE HRKNOAL SET HRKNO = (SELECT COALESCE(MAX(HAREKNO), 0) + 1 FROM HAREKET)"_s);
        Sql::run(db, u"UPDATE NEWSATIS SET YENISATISNO = (SELECT MAX(SATISNO) + 1 FROM SATIS)"_s);
        tx.commit();
        db.execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        db.execute(u"ANALYZE"_s);
    }
    QFile::rename(tmp, path);
    QFile::remove(tmp + u"-wal"_s);
    QFile::remove(tmp + u"-shm"_s);
    QTextStream(stdout) << "generated in " << timer.elapsed() / 1000.0 << " s\n";
    return path;
}

QString engineArgument(int argc, char** argv)
{
    const QString e = argc > 1 ? QString::fromLatin1(argv[1]) : u"sqlite"_s;
    if (e != u"sqlite"_s && e != u"postgresql"_s) {
        QTextStream(stderr) << "engine: sqlite or postgresql\n";
        std::exit(2);
    }
    return e;
}

AliasConfig largeDatabaseOn(const QString& engine, const LargeSizes& sizes)
{
    const QString file = largeDatabase(sizes);
    if (engine == u"sqlite"_s) return AliasConfig::forSqliteFile(file);
    const QString url = qEnvironmentVariable("SELVAR_BENCH_PG");
    if (url.isEmpty()) {
        QTextStream(stderr) << "SELVAR_BENCH_PG: the URL of the benchmark database (./selvar bench sets it)\n";
        std::exit(2);
    }
    const AliasConfig alias = AliasConfig::fromLocation(url);
    createServerDatabaseIfMissing(alias);
    Database server(alias);
    // A copy of an older generation is replaced: the benchmarks only add rows, so a copy
    // of this one holds at least the file's patients and SSK rows.
    Database source(AliasConfig::forSqliteFile(file));
    auto count = [](Database& db, const char* table) {
        return Sql::scalar(db, u"SELECT COUNT(*) FROM "_s + QString::fromLatin1(table)).toInt();
    };
    const bool filled = server.hasSchema() && count(server, "URUN") == sizes.products
                        && count(server, "HASTA") >= count(source, "HASTA") && count(server, "RECSSK") >= count(source, "RECSSK")
                        && count(server, "iskonto") >= count(source, "iskonto")
                        && count(server, "RECSSK_A") >= count(source, "RECSSK_A")
                        && count(server, "TAKAS") >= count(source, "TAKAS")
                        && Sql::scalar(server, u"SELECT COUNT(*) FROM KOORFAT"_s).toInt() == 2
                        && Sql::scalar(server, u"SELECT COUNT(*) FROM MRAPORD WHERE ILACNO = 50"_s).toInt() == 4;
    if (!filled) {
        QTextStream(stdout) << "copying " << file << " to the server ...\n";
        QElapsedTimer timer;
        timer.start();
        const CopyReport report = copyDatabase(source, server, true);
        // As autovacuum leaves a running server: statistics and the visibility map that
        // lets a list in key order come from the index alone.
        server.execute(u"VACUUM ANALYZE"_s);
        QTextStream(stdout) << report.lines().last() << " (" << timer.elapsed() / 1000.0 << " s)\n";
    }
    return alias;
}

AliasConfig writableLargeDatabaseOn(const QString& engine, const QString& suffix)
{
    const AliasConfig alias = largeDatabaseOn(engine);
    if (engine != u"sqlite"_s) return alias;
    const QString path = alias.database + u'.' + suffix;
    for (const QString& s : {QString(), u"-wal"_s, u"-shm"_s}) QFile::remove(path + s);
    QFile::copy(alias.database, path);
    return AliasConfig::forSqliteFile(path);
}

}  // namespace selvar::bench
