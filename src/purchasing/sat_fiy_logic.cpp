#include "purchasing/sat_fiy_logic.h"

#include "core/dates.h"
#include "data/database.h"
#include "data/sql.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString salesPriceTypeLabel(const QString& type)
{
    if (type == u"4"_s) return u"Diğ.Isk.siz"_s;
    if (type == u"7"_s) return u"Diğ.Sbt.Isk.lu"_s;
    if (type == u"8"_s) return u"Diğ.F.Isk.lu"_s;
    return {};
}

double unroundedSalesPrice(double purchasePrice, double vat, double factor)
{
    return purchasePrice * (vat + 100) * factor * 0.01;
}

double roundedSalesPrice(double unrounded, double step)
{
    if (step <= 0) return unrounded;
    const double whole = std::round(unrounded);
    return std::ceil(whole / step - 1e-9) * step;
}

SatFiyLogic::SatFiyLogic(Session& session) : session_(session) {}

bool SatFiyLogic::open(double purchaseNo)
{
    lines_.clear();
    shown_ = false;
    Sql q(session_.db, u"SELECT a.SIRANOILAC, a.ILACNO, u.ILACAD, a.FIYAT, a.KDV, a.ISKONTIP, u.FIYAT, u.FIYATARIH "
                       u"FROM ALIS3 a LEFT JOIN URUN u ON u.ILACNO = a.ILACNO "
                       u"WHERE a.ALISNO = :n AND a.ISKONTIP IN ('4', '7', '8') ORDER BY a.SIRANOILAC"_s);
    q.bind(u"n"_s, purchaseNo).exec();
    while (q.next()) {
        SalesPriceLine l;
        l.no = int(q.integer(0));
        l.productNo = q.integer(1);
        l.name = q.text(2);
        l.purchasePrice = q.number(3);
        l.vat = q.number(4);
        l.type = q.text(5);
        l.salePrice = q.number(6);
        l.priceDate = q.date(7);
        lines_ << l;
    }
    if (lines_.isEmpty()) {
        session_.prompter.information(NoOtherTypeLinesMessage);
        return false;
    }
    Sql h(session_.db, u"SELECT KRMKOD, FATARIH FROM ALIS1 WHERE ALIS1.ALISNO=:ALno"_s);
    h.bind(u"ALno"_s, purchaseNo).exec();
    if (h.next())
        heading_ = dateText(h.date(1)) + u"Trh.li Fat.ile "_s + h.text(0).trimmed()
                   + u" Kodlu Depodan Alınan -Diğer İskonto Tipli- Ürünler"_s;
    return true;
}

bool SatFiyLogic::show()
{
    QString percent = percentText;
    percent.remove(u' ');
    bool anyDigit = false;
    for (QChar c : percent) anyDigit = anyDigit || c.isDigit();
    if (!anyDigit) return false;
    percent.replace(u',', u'.');
    if (percent.endsWith(u'.')) percent.chop(1);
    const double factor = percent.toDouble() * 0.01 + 1;
    QString stepTyped = stepText;
    stepTyped.remove(u' ');
    const double step = stepTyped.toDouble();
    const QDate today = session_.clock.today();
    for (SalesPriceLine& l : lines_) {
        l.unrounded = unroundedSalesPrice(l.purchasePrice, l.vat, factor);
        l.newPrice = roundedSalesPrice(l.unrounded, step);
        l.newDate = today;
    }
    shown_ = true;
    return true;
}

int SatFiyLogic::transfer()
{
    if (!shown_) return 0;
    Prompter& ui = session_.prompter;
    if (ui.ask(TransferPricesQuestion) != Answer::Yes) return 0;
    Database& db = session_.db;
    const QDateTime now = session_.clock.now();
    int written = 0;
    Transaction tx(db);
    for (const SalesPriceLine& l : lines_) {
        Sql cur(db, u"SELECT FIYAT, FIYATARIH FROM URUN WHERE ILACNO = :n"_s);
        cur.bind(u"n"_s, l.productNo).exec();
        if (!cur.next()) continue;  // a product no longer on file keeps nothing to change
        const double current = cur.number(0);
        if (!transferAll && l.newPrice < current) continue;
        // The old price under its own date with the time of day, edited when that key exists.
        const QDate oldDate = cur.date(1).isValid() ? cur.date(1) : now.date();
        const QDateTime archived = withTimeOf(oldDate, now);
        if (Sql::run(db, u"UPDATE URFAYAR SET FIYAT = :f WHERE ILACNO = :n AND FITARIH = :t"_s,
                     {{u"f"_s, current}, {u"n"_s, l.productNo}, {u"t"_s, archived}}) == 0)
            Sql::run(db, u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, :t, :f)"_s,
                     {{u"n"_s, l.productNo}, {u"t"_s, archived}, {u"f"_s, current}});
        Sql::run(db, u"UPDATE URUN SET FIYAT = :f, FIYATARIH = :d WHERE ILACNO = :n"_s,
                 {{u"f"_s, l.newPrice}, {u"d"_s, l.newDate}, {u"n"_s, l.productNo}});
        ++written;
    }
    tx.commit();
    ui.information(PricesTransferredMessage);
    return written;
}

}  // namespace selvar
