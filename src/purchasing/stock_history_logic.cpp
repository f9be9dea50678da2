#include "purchasing/stock_history_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/geometry.h"
#include "print/page_setup.h"
#include "print/print_service.h"
#include "print/report_fonts.h"

#include <QHash>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kOrder = u" ORDER BY GCTARIH NULLS FIRST, ALSATNO NULLS FIRST, SIRANO NULLS FIRST"_s;
const QString kColumns = u"SELECT GCTARIH, GIRMIK, CIKMIK, GIRFIYAT, CIKFIYAT, ALSATNO, SIRANO FROM URUNHRK "_s;

Movement movementOf(const Sql& q)
{
    Movement m;
    m.when = q.timestamp(0);
    if (!q.isNull(1)) m.in = q.integer(1);
    if (!q.isNull(2)) m.out = q.integer(2);
    if (!q.isNull(3)) m.inPrice = q.number(3);
    if (!q.isNull(4)) m.outPrice = q.number(4);
    m.documentNo = q.number(5);
    m.line = q.integer(6);
    return m;
}

// What the explanation needs of the other tables, by document number.
struct Sources {
    QHash<double, std::pair<QString, QString>> purchases;  // ALISNO -> KRMKOD, FATNO
    QHash<double, QString> sales;                          // SATISNO -> PARAKENDE
    QHash<double, QString> invoices;                       // SATISNO -> KRMAD
    QHash<double, QString> patients;                       // SATISNO -> name and surname
};

QString explainFrom(const Movement& m, const std::optional<std::pair<QString, QString>>& purchase,
                    const std::optional<QString>& kind, const std::optional<QString>& invoiceBuyer,
                    const std::optional<QString>& patient)
{
    if (m.exchange()) return {};
    if (m.entry()) {
        if (!purchase) return {};
        return format(u"%s Kodlu yerden %s No lu Fatura ile alınmıştır.(Alış No:%0.0f)"_s, purchase->first, purchase->second,
                      m.documentNo);
    }
    if (!m.exit() || !kind) return {};
    const QString k = kind->trimmed();
    if (k.isEmpty()) return {};
    if (k == u"E"_s || k == u"F"_s)
        return invoiceBuyer ? format(u"%s Adlı Kişi ya da krm.a Ait Faturalı Satış(%0.0f no lu Satış)"_s, *invoiceBuyer, m.documentNo)
                            : format(u"%0.0f Nolu Faturalı Satış"_s, m.documentNo);
    if (k == u"P"_s) return format(u"%0.0f Nolu Perakende Satış"_s, m.documentNo);
    if (k == u"R"_s)
        return patient ? format(u"%s Adlı Kişi ye ait Reçeteli Satış"_s, *patient)
                       : format(u"%0.0f Nolu Reçeteli Satış"_s, m.documentNo);
    return u"Nolu kayıt Bulunamadı.Silinmiş ya da dışardan Müdahale olabilir."_s;
}

template <typename T>
std::optional<T> found(const QHash<double, T>& h, double key)
{
    const auto it = h.find(key);
    return it == h.end() ? std::nullopt : std::optional<T>(*it);
}

}  // namespace

QString Movement::numberText() const
{
    if (exchange()) return format(u"Takas No :%0.0f"_s, documentNo);
    return format(entry() ? u"Alış No :%0.0f"_s : u"Satış No :%0.0f"_s, documentNo);
}

StockHistoryLogic::StockHistoryLogic(Session& session, qint64 productNo, QString productName)
    : session_(session), productNo_(productNo), name_(std::move(productName))
{
    showAll();
}

QString StockHistoryLogic::title() const { return name_ + u" Adlı Ürünün Stok Bilgileri"_s; }

void StockHistoryLogic::showAll()
{
    from_ = QDateTime(QDate(1000, 11, 11), QTime(0, 0));
    to_ = QDateTime(QDate(3500, 11, 11), QTime(0, 0));
}

void StockHistoryLogic::showRange(const QDate& first, const QDate& last)
{
    from_ = dayStart(first);
    to_ = dayEnd(last);
}

QList<Movement> StockHistoryLogic::page(const Movement* after, int count) const
{
    // A key range on (ILACNO, GCTARIH), continued past the last row read.
    QString sql = kColumns + u"WHERE ILACNO = :p AND GCTARIH >= :a AND GCTARIH <= :b"_s;
    if (after)
        sql += u" AND GCTARIH >= :t0 AND (GCTARIH > :t OR (GCTARIH = :t2 AND (ALSATNO > :n OR (ALSATNO = :n2 AND SIRANO > :s))))"_s;
    Sql q(session_.db, sql + kOrder + u" LIMIT "_s + QString::number(count));
    q.bind(u"p"_s, productNo_).bind(u"a"_s, from_).bind(u"b"_s, to_);
    if (after) {
        q.bind(u"t0"_s, after->when).bind(u"t"_s, after->when).bind(u"t2"_s, after->when).bind(u"n"_s, after->documentNo);
        q.bind(u"n2"_s, after->documentNo).bind(u"s"_s, after->line);
    }
    q.exec();
    QList<Movement> r;
    while (q.next()) r << movementOf(q);
    return r;
}

QString StockHistoryLogic::explain(const Movement& m) const
{
    Database& db = session_.db;
    std::optional<std::pair<QString, QString>> purchase;
    std::optional<QString> kind, buyer, patient;
    if (m.exchange()) return {};
    if (m.entry()) {
        Sql q(db, u"SELECT KRMKOD, FATNO FROM ALIS1 WHERE ALISNO = :n"_s);
        q.bind(u"n"_s, m.documentNo).exec();
        if (q.next()) purchase = std::pair{q.text(0), q.text(1)};
    } else if (m.exit()) {
        Sql q(db, u"SELECT PARAKENDE FROM SATIS WHERE SATISNO = :n ORDER BY SIRANOURUN LIMIT 1"_s);
        q.bind(u"n"_s, m.documentNo).exec();
        if (q.next()) kind = q.text(0);
        if (kind && (kind->trimmed() == u"E"_s || kind->trimmed() == u"F"_s)) {
            Sql f(db, u"SELECT KRMAD FROM FATURA WHERE SATISNO = :n LIMIT 1"_s);
            f.bind(u"n"_s, m.documentNo).exec();
            if (f.next()) buyer = f.text(0);
        } else if (kind && kind->trimmed() == u"R"_s) {
            Sql r(db, u"SELECT h.HASTADI, h.HASTASOYAD FROM RECETE r JOIN HASTA h ON h.HASTANO = r.HASTANO "
                      u"WHERE r.SATISNO = :n LIMIT 1"_s);
            r.bind(u"n"_s, m.documentNo).exec();
            if (r.next()) patient = r.text(0) + u' ' + r.text(1);
        }
    }
    return explainFrom(m, purchase, kind, buyer, patient);
}

StockTotals StockHistoryLogic::totals() const
{
    StockTotals t;
    {
        Sql q(session_.db, u"SELECT SUM(GIRMIK* GIRFIYAT), SUM(CIKMIK*CIKFIYAT), SUM(GIRMIK), SUM(CIKMIK) FROM URUNHRK "
                           u"WHERE ILACNO=:ilno"_s);
        q.bind(u"ilno"_s, productNo_).exec();
        if (q.next()) {
            t.any = !q.isNull(0) || !q.isNull(1) || !q.isNull(2) || !q.isNull(3);
            t.inValue = q.number(0);
            t.outValue = q.number(1);
            t.inQuantity = q.number(2);
            t.outQuantity = q.number(3);
        }
    }
    Sql m(session_.db, u"SELECT ILACNO, SUM(MIKDEG) FROM MRAPORD WHERE MRAPORD.ILACNO=:ILACNO GROUP BY MRAPORD.ILACNO"_s);
    m.bind(u"ILACNO"_s, productNo_).exec();
    if (m.next()) t.offMovement = m.number(1);
    return t;
}

bool StockHistoryLogic::print(const QString& caption)
{
    if (!session_.print) return false;
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(caption, PageSetup(), true);
    if (!canvas) return false;
    canvas->setFont(font);
    drawListing(*canvas, margin);
    canvas->endDocument();
    return true;
}

void StockHistoryLogic::drawListing(Canvas& c, int marginCm) const
{
    Database& db = session_.db;
    // The sources of the whole range in four statements rather than some per line.
    Sources s;
    const QString inRange = u"(SELECT h.ALSATNO FROM URUNHRK h WHERE h.ILACNO = :p AND h.GCTARIH >= :a AND h.GCTARIH <= :b)"_s;
    auto run = [&](const QString& sql, const std::function<void(const Sql&)>& take) {
        Sql q(db, sql);
        q.bind(u"p"_s, productNo_).bind(u"a"_s, from_).bind(u"b"_s, to_).exec();
        while (q.next()) take(q);
    };
    run(u"SELECT ALISNO, KRMKOD, FATNO FROM ALIS1 WHERE ALISNO IN "_s + inRange,
        [&](const Sql& q) { s.purchases.insert(q.number(0), {q.text(1), q.text(2)}); });
    run(u"SELECT SATISNO, PARAKENDE FROM SATIS WHERE SATISNO IN "_s + inRange + u" ORDER BY SATISNO, SIRANOURUN"_s,
        [&](const Sql& q) {
            if (!s.sales.contains(q.number(0))) s.sales.insert(q.number(0), q.text(1));
        });
    run(u"SELECT SATISNO, KRMAD FROM FATURA WHERE SATISNO IN "_s + inRange, [&](const Sql& q) {
        if (!s.invoices.contains(q.number(0))) s.invoices.insert(q.number(0), q.text(1));
    });
    run(u"SELECT r.SATISNO, h.HASTADI, h.HASTASOYAD FROM RECETE r JOIN HASTA h ON h.HASTANO = r.HASTANO WHERE r.SATISNO IN "_s
            + inRange,
        [&](const Sql& q) {
            if (!s.patients.contains(q.number(0))) s.patients.insert(q.number(0), q.text(1) + u' ' + q.text(2));
        });

    const PageGeometry g(c);
    const int x = g.cmX(marginCm);
    const int pitch = PageGeometry::linePitch(c, u"İÇĞŞgy"_s, 5);
    const int end = g.pageEndY(25);
    int y = 0;
    const QString heading = format(u"%-12s %4s %17s %4s %17s %-15s"_s, u"TARİH"_s, u"G.MİK"_s, u"GİRİŞ FİYATI"_s, u"Ç.MİK"_s,
                                   u"ÇIKIŞ FİYATI"_s, u"HRK.NO"_s);
    const QString title = name_ + u" ADLI ILACIN STOK HAREKETLERİ"_s;
    auto line = [&](const QString& text) {
        c.textOut(x, y, text);
        y += pitch;
    };
    auto headings = [&] {
        FontDef f = c.font();
        const FontDef plain = f;
        f.bold = f.underline = true;
        c.setFont(f);
        line(heading);
        c.setFont(plain);
    };
    auto next = [&] {
        if (y + pitch <= end) return;
        c.newPage();
        y = 0;
        line(u"Sayfa No :"_s + QString::number(c.pageNumber()));
        line(title);
        headings();
    };
    line(u"Sayfa No :"_s + QString::number(c.pageNumber()));
    line(u"Tarih :"_s + dateText(session_.clock.today()));
    line(title);
    headings();
    // A page of movements at a time: the listing holds no more than that in memory.
    std::optional<Movement> last;
    for (;;) {
        const QList<Movement> rows = page(last ? &*last : nullptr, 500);
        for (const Movement& m : rows) {
            next();
            line(format(u"%-12s %4d %17.0n %4d %17.0n %-15s"_s, m.when.toString(u"dd.MM.yy hh:mm"_s), m.in.value_or(0),
                        m.inPrice.value_or(0), m.out.value_or(0), m.outPrice.value_or(0), m.numberText()));
            next();
            line(format(u" ( %s )"_s, explainFrom(m, found(s.purchases, m.documentNo), found(s.sales, m.documentNo),
                                                 found(s.invoices, m.documentNo), found(s.patients, m.documentNo))));
        }
        if (rows.size() < 500) break;
        last = rows.last();
    }
    const StockTotals t = totals();
    next();
    line(format(u"%-12s %4.0n %17.0n %4.0n %17.0n"_s, u" Toplam:"_s, t.inQuantity, t.inValue, t.outQuantity, t.outValue));
}

void StockHistoryLogic::loadFont()
{
    font = FontDef(u"Courier New"_s, 10);
    margin = 1;
    loadReportFont(session_.db, u"Stokbak"_s, font, margin);
}

void StockHistoryLogic::saveFont()
{
    if (fontChanged) saveReportFont(session_.db, u"Stokbak"_s, font, margin >= 0 ? std::optional<int>(margin) : std::nullopt);
}

// ---------------------------------------------------------------- the grid

StockHistoryModel::StockHistoryModel(const StockHistoryLogic& logic, QObject* parent)
    : QAbstractTableModel(parent), logic_(logic)
{
}

void StockHistoryModel::reload()
{
    beginResetModel();
    rows_ = logic_.page(nullptr, PageSize);
    complete_ = rows_.size() < PageSize;
    endResetModel();
}

const Movement* StockHistoryModel::at(int row) const { return row >= 0 && row < rows_.size() ? &rows_[row] : nullptr; }

int StockHistoryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int StockHistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QVariant StockHistoryModel::data(const QModelIndex& index, int role) const
{
    const Movement* m = at(index.row());
    if (!m) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 || index.column() == 5 ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                                          : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return m->when.toString(u"dd.MM.yy hh:mm"_s);
    case 1: return m->in ? QVariant(QString::number(*m->in)) : QVariant();
    case 2: return m->inPrice ? QVariant(formatMask(u"#,#", *m->inPrice)) : QVariant();
    case 3: return m->out ? QVariant(QString::number(*m->out)) : QVariant();
    case 4: return m->outPrice ? QVariant(formatMask(u"#,#", *m->outPrice)) : QVariant();
    case 5: return m->numberText();
    default: return {};
    }
}

QVariant StockHistoryModel::headerData(int section, Qt::Orientation o, int role) const
{
    static const QStringList titles{u"Tarih"_s, u"Grş.Mik."_s, u"Giriş Fiyatı"_s, u"Çık.Mik."_s, u"Çıkış Fiyatı"_s,
                                    u"Hareket No"_s};
    if (o == Qt::Horizontal && role == Qt::DisplayRole) return titles.value(section);
    return QAbstractTableModel::headerData(section, o, role);
}

bool StockHistoryModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !complete_; }

void StockHistoryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || complete_) return;
    const QList<Movement> more = logic_.page(rows_.isEmpty() ? nullptr : &rows_.last(), PageSize);
    complete_ = more.size() < PageSize;
    if (more.isEmpty()) return;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + more.size()) - 1);
    rows_ << more;
    endInsertRows();
}

}  // namespace selvar
