#include "exchange/takas_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/dialect.h"
#include "data/operations.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"

#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
constexpr qint64 ExchangeLine = 999999999;

// Takes back the stock effect of the exchange's movements and deletes them: the
// movements themselves say which product moved and by how much.
void undoMovements(Database& db, qint64 no)
{
    Sql q(db, u"SELECT ILACNO, GIRMIK, CIKMIK FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = :s"_s);
    q.bind(u"n"_s, double(no)).bind(u"s"_s, ExchangeLine).exec();
    QList<std::pair<qint64, double>> effects;
    while (q.next()) effects << std::pair{q.integer(0), q.number(1) - q.number(2)};
    for (const auto& [product, delta] : effects)
        if (delta != 0) changeStock(db, product, -delta);
    Sql::run(db, u"DELETE FROM URUNHRK WHERE ALSATNO = :n AND SIRANO = :s"_s, {{u"n"_s, double(no)}, {u"s"_s, ExchangeLine}});
}
}  // namespace

bool movesStock(const QString& type) { return type == u"E"_s || type == u"V"_s; }

QString exchangeTypeText(const QString& type, int where)
{
    if (type == u"A"_s) return u"Aldık"_s;
    if (type == u"U"_s) return u"Verdik"_s;
    if (type == u"E"_s) return where == 2 ? u"Aldk.St"_s : u"Aldık.Stk."_s;
    if (type == u"V"_s) return where == 2 ? u"Vrdk.St"_s : (where == 1 ? u"Verdik.Stk"_s : u"Verdik.Stk."_s);
    return {};
}

QString ExchangeTotals::received() const
{
    return QString::number(qint64(receivedQuantity)) + u"Adet Ürün "_s + moneyText(receivedAmount);
}

QString ExchangeTotals::given() const
{
    return QString::number(qint64(givenQuantity)) + u" Adet Ürün "_s + moneyText(givenAmount);
}

QString ExchangeTotals::difference() const
{
    const double d = receivedAmount - givenAmount;
    if (d == 0) return u"  -----"_s;
    // The sign is in the word: what we owe, or what is owed to us.
    return moneyText(std::abs(d)) + (d > 0 ? u" Borçluyuz."_s : u" Alacaklıyız."_s);
}

TakasLogic::TakasLogic(Session& session) : session_(session) {}

namespace {
// The sort key of a product name as the index ILACADI keeps it, so that lookups by name
// use the index.
QString nameKey(Database& db, const QString& alias)
{
    const QString column = db.dialect().quote(u"ILACAD"_s);
    return sortKeySql(alias.isEmpty() ? column : alias + u'.' + column);
}
}  // namespace

ExchangeProduct TakasLogic::productByName(const QString& name) const
{
    ExchangeProduct p;
    if (name.trimmed().isEmpty()) return p;
    // Through the name index (its sort key), then the exact name.
    Sql q(session_.db, u"SELECT ILACNO, FIYAT, MIKTAR FROM URUN WHERE "_s + nameKey(session_.db, QString())
                           + u" = :k AND ILACAD = :a ORDER BY ILACNO LIMIT 1"_s);
    q.bind(u"k"_s, sortKey(name)).bind(u"a"_s, name).exec();
    if (q.next()) p = {q.integer(0), q.number(1), q.number(2)};
    return p;
}

std::optional<Exchange> TakasLogic::read(qint64 no) const
{
    const qint64 row = findKeyRow(session_.db, u"TAKAS"_s, {}, {no});
    if (!row) return std::nullopt;
    const QVariantMap r = readRecord(session_.db, u"TAKAS"_s, row);
    Exchange e;
    e.no = no;
    e.pharmacy = r.value(u"ECZADI"_s).toString();
    e.product = r.value(u"ILACAD"_s).toString();
    if (!r.value(u"ADET"_s).isNull()) e.quantity = r.value(u"ADET"_s).toInt();
    if (!r.value(u"TUTAR"_s).isNull()) e.amount = r.value(u"TUTAR"_s).toDouble();
    e.type = r.value(u"TIP"_s).toString();
    e.date = r.value(u"TARIH"_s).toDate();
    e.state = r.value(u"SONDURUM"_s).toString();
    return e;
}

qint64 TakasLogic::lastNo() const
{
    const QString no = session_.db.dialect().quote(u"NO"_s);
    return Sql::scalar(session_.db, u"SELECT MAX("_s + no + u") FROM TAKAS"_s).toLongLong();
}

bool TakasLogic::store(Exchange& e)
{
    Prompter& p = session_.prompter;
    if (e.pharmacy.trimmed().isEmpty() || !e.date.isValid() || !e.quantity || !e.amount) {
        p.warning(u"Bilgiler verilmeden Kayıt Saklanmaz!"_s);
        return false;
    }
    ExchangeProduct product;
    if (movesStock(e.type)) {
        product = productByName(e.product);
        if (!product.found()) {
            p.warning(u"\""_s + e.product
                      + u"\" adlı ürün kartı bulunamadı. Stoğa işlenen takas ürün kartı olmadan saklanmaz."_s);
            return false;
        }
    }
    e.pharmacy = trUpper(e.pharmacy.trimmed());
    Database& db = session_.db;
    Transaction tx(db);
    const QVariantMap values{{u"ECZADI"_s, e.pharmacy}, {u"ILACAD"_s, e.product}, {u"ADET"_s, *e.quantity},
                             {u"TUTAR"_s, *e.amount}, {u"TIP"_s, e.type}, {u"TARIH"_s, e.date},
                             {u"SONDURUM"_s, e.state.isEmpty() ? QVariant() : QVariant(e.state)}};
    // The number is the exchange's only once the transaction has landed: a new row rolled
    // back is stored again as new, not as an edit of a row that does not exist.
    qint64 no = e.no;
    if (no == 0) {
        no = insertRecord(db, u"TAKAS"_s, values);
    } else {
        const qint64 row = findKeyRow(db, u"TAKAS"_s, {}, {no});
        if (!row) throw DbError(u"Takas No :"_s + QString::number(no) + u" bulunamadı."_s);
        updateRecord(db, u"TAKAS"_s, row, values);
        // The old effect goes, whatever the new type; an exchange keeps at most one movement.
        undoMovements(db, no);
    }
    if (movesStock(e.type)) {
        StockMovement m;
        m.productNo = product.no;
        m.when = QDateTime(e.date, QTime(0, 0));
        m.documentNo = double(no);
        m.line = ExchangeLine;
        if (e.type == u"E"_s) m.inQuantity = *e.quantity, m.inPrice = product.price;
        else m.outQuantity = *e.quantity, m.outPrice = product.price;
        recordStockMovement(db, m);
    }
    tx.commit();
    e.no = no;
    return true;
}

void TakasLogic::remove(qint64 no)
{
    Database& db = session_.db;
    Transaction tx(db);
    undoMovements(db, no);
    Sql::run(db, u"DELETE FROM TAKAS WHERE "_s + db.dialect().quote(u"NO"_s) + u" = :n"_s, {{u"n"_s, no}});
    tx.commit();
}

QStringList TakasLogic::orderChoices()
{
    return {u"Eczane Adı"_s, u"Takas Tarihi"_s, u"Tutar"_s, u"Ürün Adı"_s, u"Ürün Adeti"_s, u"Takas Tipi"_s};
}

QStringList TakasLogic::orderClauses()
{
    return {u"ORDER BY ECZADI"_s,  u"ORDER BY TARIH DESC"_s, u"ORDER BY TUTAR DESC"_s,
            u"ORDER BY ILACAD"_s,  u"ORDER BY ADET DESC"_s,  u"ORDER BY TIP"_s};
}

std::optional<TakasLogic::List> TakasLogic::query(const ExchangeQuery& q, const QString& order)
{
    Database& db = session_.db;
    List list;
    list.caption = u"Takas Listesi"_s;
    // The conditions in their order, the pharmacy bound as a parameter.
    QStringList conditions;
    QVariantMap params;
    if (!q.pharmacy.trimmed().isEmpty()) {
        conditions << u"(TAKAS.ECZADI=:Eczane)"_s;
        // Stored names are in capitals by Turkish rules; so is the one looked for.
        params.insert(u"Eczane"_s, trUpper(q.pharmacy.trimmed()));
    }
    const DateInput from = parseDateText(q.from), to = parseDateText(q.to);
    if (from.isValid()) {
        conditions << u"TAKAS.TARIH>=:TrhRB"_s;
        params.insert(u"TrhRB"_s, from.date);
        list.caption += u' ' + q.from + u" den"_s;
    }
    if (to.isValid()) {
        conditions << u"TAKAS.TARIH<=:TrhRS"_s;
        params.insert(u"TrhRS"_s, to.date);
        list.caption += u' ' + q.to + u" e kadar"_s;
    }
    if (q.type == 0 || q.type == 1) {
        conditions << (q.type == 0 ? u"TAKAS.TIP<=:AlVermi"_s : u"TAKAS.TIP>=:AlVermi"_s);
        params.insert(u"AlVermi"_s, q.type == 0 ? u"E"_s : u"U"_s);
    }
    QString where;
    for (int i = 0; i < conditions.size(); ++i) where += (i == 0 ? u" WHERE "_s : u" AND "_s) + conditions[i];
    {
        Sql rows(db, u"SELECT TAKAS.ECZADI, TAKAS.TARIH, TAKAS.ILACAD, TAKAS.ADET, TAKAS.TUTAR, TAKAS.TIP FROM TAKAS"_s + where
                         + u' ' + order);
        for (auto it = params.begin(); it != params.end(); ++it) rows.bind(it.key(), it.value());
        rows.exec();
        while (rows.next())
            list.rows << ExchangeListRow{rows.text(0), rows.text(2), rows.text(5), rows.date(1), int(rows.integer(3)),
                                         rows.number(4)};
    }
    if (list.rows.isEmpty()) {
        session_.prompter.information(u"Verilen Sınırlara dahil Takas Yapılmamış"_s);
        return std::nullopt;
    }
    QString totalsWhere;
    for (const QString& c : conditions) totalsWhere += u" AND "_s + c;
    Sql totals(db, u"SELECT SUM(TAKAS.TUTAR), SUM(TAKAS.ADET) FROM TAKAS WHERE TIP=:Tipi"_s + totalsWhere);
    for (const QString& type : {u"A"_s, u"E"_s, u"U"_s, u"V"_s}) {
        totals.bind(u"Tipi"_s, type);
        for (auto it = params.begin(); it != params.end(); ++it) totals.bind(it.key(), it.value());
        totals.exec();
        if (!totals.next()) continue;
        const bool received = type == u"A"_s || type == u"E"_s;
        (received ? list.totals.receivedAmount : list.totals.givenAmount) += totals.number(0);
        (received ? list.totals.receivedQuantity : list.totals.givenQuantity) += totals.number(1);
    }
    return list;
}

void TakasLogic::drawList(Canvas& c, const List& list, int marginCm) const
{
    const PageGeometry g(c);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(c, u"İÜÖŞĞJMyg"_s, 5);
    const int end = g.pageEndY(25);
    int y = 0;
    auto line = [&](const QString& text) {
        if (y + pitch > end) {
            c.newPage();
            y = 0;
            c.textOut(x, y, u"Sayfa No :"_s + QString::number(c.pageNumber()));
            y += pitch;
        }
        c.textOut(x, y, text);
        y += pitch;
    };
    line(u"Sayfa No :"_s + QString::number(c.pageNumber()));
    line(u"Tarih :"_s + dateText(session_.clock.today()));
    line(list.caption);
    line(format(u"%-24s %-8s %-36s %4s %15s %-6s"_s, u"ECZANE ADI"_s, u"TARIH"_s, u"ÜRÜN ADI"_s, u"ADET"_s, u"  TUTAR  "_s,
                u"TIP"_s));
    for (const ExchangeListRow& r : list.rows)
        line(format(u"%-24s %-8s %-36s %4d %15m, %-7s"_s, r.pharmacy, r.date.isValid() ? r.date.toString(u"dd.MM.yy"_s) : QString(),
                    r.product, r.quantity, r.amount, exchangeTypeText(r.type, 2)));
    line(format(u"Aldıklarımızın Tutarı : %-18s"_s, list.totals.received()));
    line(format(u"Verdiklerimizin Tutarı: %-18s"_s, list.totals.given()));
    line(format(u"               Toplam : %-18s"_s, list.totals.difference()));
}

QList<PriceUpdateRow> TakasLogic::priceUpdates() const
{
    // Rows without a quantity are left out: their unit amount cannot be worked out.
    const QString no = session_.db.dialect().quote(u"NO"_s);
    Sql q(session_.db, u"SELECT T."_s + no
                           + u", T.ECZADI, T.ILACAD, T.TUTAR / T.ADET, U.FIYAT, T.ADET, U.FIYAT * T.ADET, "
                             u"U.FIYAT * T.ADET - T.TUTAR FROM TAKAS T JOIN URUN U ON "_s
                           + nameKey(session_.db, u"U"_s) + u" = "_s + nameKey(session_.db, u"T"_s)
                           + u" AND U.ILACAD = T.ILACAD "
                             u"WHERE T.ADET >= 1 AND (CASE WHEN T.ADET >= 1 THEN T.TUTAR / T.ADET END) < U.FIYAT "
                             u"AND (T.SONDURUM = 'A' OR T.SONDURUM IS NULL OR T.SONDURUM = '') "
                             u"AND (T.TIP = 'U' OR T.TIP = 'V') ORDER BY T."_s
                           + no);
    q.exec();
    QList<PriceUpdateRow> r;
    while (q.next())
        r << PriceUpdateRow{q.integer(0), q.text(1), q.text(2), q.number(3), q.number(4), q.number(6), q.number(7),
                            int(q.integer(5))};
    return r;
}

void TakasLogic::updateAll()
{
    Database& db = session_.db;
    Transaction tx(db);
    const QList<PriceUpdateRow> rows = priceUpdates();
    for (const PriceUpdateRow& r : rows) updateOne(r.no, r.newAmount);
    tx.commit();
}

void TakasLogic::updateOne(qint64 no, double amount)
{
    Sql::run(session_.db, u"UPDATE TAKAS SET TUTAR = :tut WHERE "_s + session_.db.dialect().quote(u"NO"_s) + u" = :nosu"_s,
             {{u"tut"_s, amount}, {u"nosu"_s, no}});
}

QStringList TakasLogic::pharmacies() const
{
    QStringList r;
    Sql q(session_.db, u"SELECT DISTINCT TAKAS.ECZADI FROM TAKAS WHERE TAKAS.ECZADI IS NOT NULL"_s);
    q.exec();
    while (q.next()) r << q.text(0);
    // In Turkish order: the engine's byte order puts "ÇINAR" after "ZEYNEP".
    std::sort(r.begin(), r.end(), [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
    return r;
}

}  // namespace selvar
