// Exchanges with other pharmacies: the row, its movement and the stock together; edits
// and deletions taking the old effect back; the check; the query list with its bound
// pharmacy, caption and totals; the printed list; the price update; the pharmacies in
// Turkish order.
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "exchange/takas_logic.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/document.h"
#include "print/print_service.h"
#include "support/scripted_prompter.h"
#include "support/testdb.h"

#include <QTest>

using namespace selvar;
using namespace selvar::test;
using namespace Qt::Literals::StringLiterals;

namespace {
struct Fixture {
    TestDb t;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(14, 0))};
    Session session{t.db(), prompter, clock};
    TakasLogic logic{session};
    qint64 parol = 0, vitamin = 0;
    Fixture()
    {
        parol = addProduct(t.db(), u"PAROL 500 MG 20 TABLET"_s, 3000, 20);
        vitamin = addProduct(t.db(), u"VİTAMİN C 1000 MG"_s, 5000, 10);
    }
    double stock(qint64 p) { return Sql::scalar(t.db(), u"SELECT MIKTAR FROM URUN WHERE ILACNO = :p"_s, {{u"p"_s, p}}).toDouble(); }
    int movements(qint64 no)
    {
        return Sql::scalar(t.db(), u"SELECT COUNT(*) FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = 999999999"_s,
                           {{u"n"_s, double(no)}})
            .toInt();
    }
    Exchange exchange(const QString& type, int quantity, const QString& product = u"PAROL 500 MG 20 TABLET"_s)
    {
        Exchange e;
        e.pharmacy = u"şifa eczanesi"_s;
        e.product = product;
        e.quantity = quantity;
        e.amount = quantity * 3000.0;
        e.type = type;
        e.date = QDate(2026, 11, 5);
        return e;
    }
};
}  // namespace

class TstTakas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void receivedAndGivenLeaveStock();
    void editsAndDeletions();
    void refusals();
    void failedStoreLeavesNothing();
    void queryList();
    void printedList();
    void priceUpdate();
    void pharmaciesInTurkishOrder();
};

// A store that fails half-way leaves no row, no movement and the stock as it was; stored
// again it is a new exchange, not an edit of the row that was never kept.
void TstTakas::failedStoreLeavesNothing()
{
    Fixture f;
    Exchange e = f.exchange(u"V"_s, 3);
    makeUpdatesFail(f.t.db(), u"URUN"_s, u"MIKTAR"_s);
    QVERIFY_THROWS_EXCEPTION(std::exception, f.logic.store(e));
    QCOMPARE(e.no, 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM TAKAS"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM URUNHRK"_s).toInt(), 0);
    QCOMPARE(f.stock(f.parol), 20.0);
    stopFailingUpdates(f.t.db(), u"URUN"_s);
    QVERIFY(f.logic.store(e));
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM TAKAS"_s).toInt(), 1);
    QCOMPARE(f.movements(e.no), 1);
    QCOMPARE(f.stock(f.parol), 17.0);
}

void TstTakas::receivedAndGivenLeaveStock()
{
    Fixture f;
    for (const QString& type : {u"A"_s, u"U"_s}) {
        Exchange e = f.exchange(type, 4);
        QVERIFY(f.logic.store(e));
        QCOMPARE(f.movements(e.no), 0);
    }
    QCOMPARE(f.stock(f.parol), 20.0);
    const Exchange back = *f.logic.read(f.logic.lastNo());
    QCOMPARE(back.pharmacy, u"ŞİFA ECZANESİ"_s);
    QCOMPARE(back.type, u"U"_s);
    QCOMPARE(back.amount.value_or(0), 12000.0);
}

void TstTakas::editsAndDeletions()
{
    Fixture f;
    // An "E" of 5 made 3: one movement of 3, stock +3 in all.
    Exchange e = f.exchange(u"E"_s, 5);
    QVERIFY(f.logic.store(e));
    QCOMPARE(f.stock(f.parol), 25.0);
    e.quantity = 3;
    QVERIFY(f.logic.store(e));
    QCOMPARE(f.stock(f.parol), 23.0);
    QCOMPARE(f.movements(e.no), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT GIRMIK FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = 999999999"_s,
                         {{u"n"_s, double(e.no)}}).toInt(), 3);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT GIRFIYAT FROM URUNHRK WHERE ALSATNO = :n"_s, {{u"n"_s, double(e.no)}}).toDouble(),
             3000.0);
    // Moved to another product and date: each product right, the movement follows.
    e.product = u"VİTAMİN C 1000 MG"_s;
    e.date = QDate(2026, 11, 20);
    QVERIFY(f.logic.store(e));
    QCOMPARE(f.stock(f.parol), 20.0);
    QCOMPARE(f.stock(f.vitamin), 13.0);
    QCOMPARE(f.movements(e.no), 1);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT ILACNO FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = 999999999"_s,
                         {{u"n"_s, double(e.no)}}).toLongLong(), f.vitamin);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT GCTARIH FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = 999999999"_s,
                         {{u"n"_s, double(e.no)}}).toString().left(10), u"2026-11-20"_s);

    // A "V" deleted: stock back, movement gone, row gone.
    Exchange v = f.exchange(u"V"_s, 4);
    QVERIFY(f.logic.store(v));
    QCOMPARE(f.stock(f.parol), 16.0);
    f.logic.remove(v.no);
    QCOMPARE(f.stock(f.parol), 20.0);
    QCOMPARE(f.movements(v.no), 0);
    QVERIFY(!f.logic.read(v.no));
    // A "V" turned into "U": stock back, no movement left behind.
    Exchange w = f.exchange(u"V"_s, 2);
    QVERIFY(f.logic.store(w));
    QCOMPARE(f.stock(f.parol), 18.0);
    w.type = u"U"_s;
    QVERIFY(f.logic.store(w));
    QCOMPARE(f.stock(f.parol), 20.0);
    QCOMPARE(f.movements(w.no), 0);
}

void TstTakas::refusals()
{
    Fixture f;
    Exchange e = f.exchange(u"V"_s, 2);
    e.pharmacy.clear();
    QVERIFY(!f.logic.store(e));
    QCOMPARE(f.prompter.texts().last(), u"Bilgiler verilmeden Kayıt Saklanmaz!"_s);
    e = f.exchange(u"E"_s, 2);
    e.amount.reset();
    QVERIFY(!f.logic.store(e));
    QCOMPARE(f.prompter.texts().last(), u"Bilgiler verilmeden Kayıt Saklanmaz!"_s);
    // A stock-moving exchange of a product without a card.
    e = f.exchange(u"E"_s, 2, u"KARTI OLMAYAN ÜRÜN"_s);
    QVERIFY(!f.logic.store(e));
    QVERIFY(f.prompter.texts().last().startsWith(u"\"KARTI OLMAYAN ÜRÜN\" adlı ürün kartı bulunamadı."_s));
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM TAKAS"_s).toInt(), 0);
    QCOMPARE(Sql::scalar(f.t.db(), u"SELECT COUNT(*) FROM URUNHRK"_s).toInt(), 0);
    // A received one needs no card.
    e.type = u"A"_s;
    QVERIFY(f.logic.store(e));
}

void TstTakas::queryList()
{
    Fixture f;
    auto add = [&](const QString& pharmacy, const QString& type, int quantity, double amount, const QDate& date) {
        Exchange e = f.exchange(type, quantity);
        e.pharmacy = pharmacy;
        e.amount = amount;
        e.date = date;
        QVERIFY(f.logic.store(e));
    };
    add(u"DR. AYŞE'NİN ECZANESİ"_s, u"A"_s, 2, 10000, QDate(2026, 11, 1));
    add(u"DR. AYŞE'NİN ECZANESİ"_s, u"E"_s, 3, 15000, QDate(2026, 11, 2));
    add(u"DR. AYŞE'NİN ECZANESİ"_s, u"U"_s, 1, 8000, QDate(2026, 11, 3));
    add(u"DR. AYŞE'NİN ECZANESİ"_s, u"V"_s, 4, 12000, QDate(2026, 11, 4));
    add(u"ŞİFA ECZANESİ"_s, u"U"_s, 1, 99000, QDate(2026, 12, 1));
    ExchangeQuery q;
    q.pharmacy = u"DR. AYŞE'NİN ECZANESİ"_s;
    auto list = f.logic.query(q);
    QVERIFY(list);
    QCOMPARE(list->rows.size(), 4);
    QCOMPARE(list->rows.first().date, QDate(2026, 11, 4));  // newest first
    QCOMPARE(list->totals.received(), u"5Adet Ürün 25.000 TL"_s);
    QCOMPARE(list->totals.given(), u"5 Adet Ürün 20.000 TL"_s);
    QCOMPARE(list->totals.difference(), u"5.000 TL Borçluyuz."_s);
    QCOMPARE(list->caption, u"Takas Listesi"_s);
    // Names are kept in capitals: typed in small letters the pharmacy is found too.
    q.pharmacy = u"dr. ayşe'nin eczanesi"_s;
    QCOMPARE(f.logic.query(q)->rows.size(), 4);
    // Only a to date: the caption's suffix; all pharmacies up to it.
    q = {};
    q.to = u"30/11/2026"_s;
    list = f.logic.query(q);
    QVERIFY(list);
    QCOMPARE(list->caption, u"Takas Listesi 30/11/2026 e kadar"_s);
    QCOMPARE(list->rows.size(), 4);
    // The given only, and a period.
    q = {};
    q.type = 1;
    q.from = u"01/11/2026"_s;
    list = f.logic.query(q);
    QCOMPARE(list->rows.size(), 3);
    QCOMPARE(list->caption, u"Takas Listesi 01/11/2026 den"_s);
    QCOMPARE(list->totals.difference(), u"119.000 TL Alacaklıyız."_s);
    q.type = 0;
    QCOMPARE(f.logic.query(q)->rows.size(), 2);
    // Equal sums, and nothing found.
    add(u"DENGE ECZANESİ"_s, u"A"_s, 1, 5000, QDate(2026, 10, 1));
    add(u"DENGE ECZANESİ"_s, u"U"_s, 1, 5000, QDate(2026, 10, 2));
    q = {};
    q.pharmacy = u"DENGE ECZANESİ"_s;
    QCOMPARE(f.logic.query(q)->totals.difference(), u"  -----"_s);
    q.pharmacy = u"YOK ECZANESİ"_s;
    QVERIFY(!f.logic.query(q));
    QCOMPARE(f.prompter.texts().last(), u"Verilen Sınırlara dahil Takas Yapılmamış"_s);
}

void TstTakas::printedList()
{
    Fixture f;
    Exchange e = f.exchange(u"V"_s, 4, u"PAROL 500 MG 20 TABLET"_s);
    e.amount = 12000;
    QVERIFY(f.logic.store(e));
    ExchangeQuery q;
    const auto list = f.logic.query(q);
    QVERIFY(list);
    RecordingPrintService printing(300);
    auto canvas = printing.beginJob(u"TAKAS LİSTESİ"_s, PageSetup(), true);
    f.logic.drawList(*canvas, *list, 1);
    canvas->endDocument();
    QStringList t;
    for (const TextItem& i : printing.jobs().back().document.pages[0].texts()) t << i.text;
    QCOMPARE(t.value(0), u"Sayfa No :1"_s);
    QCOMPARE(t.value(1), u"Tarih :09.12.2026"_s);
    QCOMPARE(t.value(3), u"ECZANE ADI               TARIH    ÜRÜN ADI                             ADET         TUTAR   TIP   "_s);
    QCOMPARE(t.value(4), u"ŞİFA ECZANESİ            05.11.26 PAROL 500 MG 20 TABLET                  4       12.000 TL, Vrdk.St"_s);
    QCOMPARE(t.value(5), u"Aldıklarımızın Tutarı : 0Adet Ürün 0 TL   "_s);
    QCOMPARE(t.value(7), u"               Toplam : 12.000 TL Alacaklıyız."_s);
}

void TstTakas::priceUpdate()
{
    Fixture f;
    // PAROL costs 3.000 now: an open "U" of 2 units for 8.000 is not below it; make it 5.000.
    Sql::run(f.t.db(), u"UPDATE URUN SET FIYAT = 5000 WHERE ILACNO = :p"_s, {{u"p"_s, f.parol}});
    auto add = [&](const QString& type, int quantity, double amount, const QString& state) -> qint64 {
        Exchange e = f.exchange(type, quantity);
        e.amount = amount;
        e.state = state;
        return f.logic.store(e) ? e.no : -1;
    };
    const qint64 open = add(u"U"_s, 2, 8000, u"A"_s);
    const qint64 blank = add(u"V"_s, 1, 3000, QString());
    add(u"U"_s, 2, 8000, u"K"_s);   // closed
    add(u"A"_s, 2, 8000, u"A"_s);   // received
    add(u"U"_s, 2, 12000, u"A"_s);  // not below today's price
    const qint64 none = add(u"U"_s, 1, 1000, u"A"_s);
    Sql::run(f.t.db(), u"UPDATE TAKAS SET ADET = 0 WHERE "_s + f.t->dialect().quote(u"NO"_s) + u" = :n"_s, {{u"n"_s, none}});
    const QList<PriceUpdateRow> rows = f.logic.priceUpdates();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].no, open);
    QCOMPARE(rows[0].unitAmount, 4000.0);
    QCOMPARE(rows[0].price, 5000.0);
    QCOMPARE(rows[0].difference, 2000.0);
    QCOMPARE(rows[0].newAmount, 10000.0);
    QCOMPARE(rows[1].no, blank);
    f.logic.updateOne(open, rows[0].newAmount);
    QCOMPARE(f.logic.read(open)->amount.value_or(0), 10000.0);
    f.logic.updateAll();
    QCOMPARE(f.logic.read(blank)->amount.value_or(0), 5000.0);
    QVERIFY(f.logic.priceUpdates().isEmpty());
}

void TstTakas::pharmaciesInTurkishOrder()
{
    Fixture f;
    for (const QString& name : {u"ZEYNEP ECZANESİ"_s, u"ÇINAR ECZANESİ"_s, u"CAN ECZANESİ"_s, u"ışık eczanesi"_s, u"ILGAZ ECZANESİ"_s}) {
        Exchange e = f.exchange(u"A"_s, 1);
        e.pharmacy = name;
        QVERIFY(f.logic.store(e));
    }
    QCOMPARE(f.logic.pharmacies(), (QStringList{u"CAN ECZANESİ"_s, u"ÇINAR ECZANESİ"_s, u"ILGAZ ECZANESİ"_s, u"IŞIK ECZANESİ"_s,
                                                u"ZEYNEP ECZANESİ"_s}));
}

QTEST_GUILESS_MAIN(TstTakas)
#include "tst_takas.moc"
