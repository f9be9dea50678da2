// The sale invoice on its pre-printed form: positions in millimetres from the first
// KORPARF.DB row, the page setup of the third SAYFA.DB row.
#include "invoicing/fatura_logic.h"

#include "core/dates.h"
#include "core/format.h"
#include "core/words.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "print/canvas.h"
#include "print/page_setup.h"
#include "print/print_service.h"

#include <cmath>
#include <optional>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<InvoiceLayout> readLayout(Database& db)
{
    Sql q(db, u"SELECT * FROM KORPARF LIMIT 1"_s);
    q.exec();
    if (!q.next()) return std::nullopt;
    InvoiceLayout l;
    for (int i = 0; i < q.columnCount(); ++i) l.mm.insert(q.columnName(i).toUpper(), q.value(i));
    return l;
}

// Amounts in the money format; a fraction keeps its two decimals (the rounding
// difference of a net with kuruş).
QString money(double v)
{
    if (v == std::floor(v)) return moneyText(v);
    return numberText(v, 2) + u" TL"_s;
}

}  // namespace

bool FaturaLogic::rounds() const
{
    // A net with no more digits than those to drop is printed as it is.
    return roundDigits_ > 0 && QString::asprintf("%0.0f", number(u"NET"_s)).size() > roundDigits_;
}

double FaturaLogic::roundedNet() const
{
    const double net = number(u"NET"_s);
    if (!rounds()) return net;
    const QString digits = QString::asprintf("%0.0f", net);
    return digits.left(digits.size() - roundDigits_).toDouble() * std::pow(10.0, roundDigits_);
}

bool FaturaLogic::print()
{
    if (!session_.print) return false;
    const std::optional<InvoiceLayout> layout = readLayout(session_.db);
    const std::optional<PageSetup> setup = readSayfaSetup(session_.db, 3);
    if (!layout || !setup) {
        session_.prompter.warning(QString::fromUtf8(NoLayout));
        return false;
    }
    std::unique_ptr<Canvas> canvas = session_.print->beginJob(u"Fatura"_s, *setup, true);
    if (!canvas) return false;  // the print dialog was cancelled
    drawInvoice(*canvas, *layout);
    canvas->endDocument();
    rec_.insert(u"KES"_s, true);  // stored only when the invoice is saved afterwards
    return true;
}

void FaturaLogic::drawInvoice(Canvas& c, const InvoiceLayout& l) const
{
    // Integer pixels per ten millimetres, as the printer's page gives them.
    const int fx = c.pageWidth() * 10 / std::max(1, c.physicalWidthMm());
    const int fy = c.pageHeight() * 10 / std::max(1, c.physicalHeightMm());
    const int left = l.at("SAYFA_S"), top = l.at("SAYFA_U");
    auto x = [&](int mm) { return (mm + left) * fx / 10; };
    auto y = [&](int mm) { return (mm + top) * fy / 10; };
    const int lineHeight = c.textHeight(u"İĞÜyg"_s) + 5;
    const QDate day = field(u"FATARIH"_s).toDate();
    auto header = [&] {
        c.textOut(x(l.at("KR_S")), y(l.at("KR_U")), text(u"KRMAD"_s));
        c.textOut(x(l.at("ADR1_S")), y(l.at("ADR1_U")), text(u"ADR1"_s));
        c.textOut(x(l.at("ADR2_S")), y(l.at("ADR2_U")), text(u"ADR2"_s));
        c.textOut(x(l.at("ADR3_S")), y(l.at("ADR3_U")), text(u"ADR3"_s));
        c.textOut(x(l.at("TRH_S")), y(l.at("TRH_U")), dateText(day.isValid() ? day : session_.clock.today()));
        c.textOut(x(l.at("VERD_S")), y(l.at("VERD_U")), text(u"VERGIDAIRE"_s));
        c.textOut(x(l.at("VERNO_S")), y(l.at("VERNO_U")), text(u"VERGINO"_s));
    };
    c.textOut(0, 0, QString::number(c.pageNumber()));
    header();
    const int lineTop = y(l.at("SUTB_U")) + lineHeight;
    const int lineEnd = y(l.at("TOP_U"));
    const int x0 = x(l.at("SUTB_S") + l.at("SIRA_U"));
    const int quantityRight = x(l.at("SUTB_S") + l.at("SIRA_U") + l.at("URUNAD_U") + l.at("MIK_U"));
    const int priceRight = quantityRight + l.at("BIRIMF_U") * fx / 10;
    const int amountRight = priceRight + l.at("TUTAR_U") * fx / 10;
    int at = lineTop;
    const QList<InvoiceLine> items = lines();
    for (int i = 0; i < items.size(); ++i) {
        const InvoiceLine& line = items[i];
        c.textOutRight(x0, at, QString::number(line.no) + u' ');
        c.textOut(x0, at, line.name);
        c.textOutRight(quantityRight, at, QString::number(line.quantity));
        c.textOutRight(priceRight, at, moneyText(line.price));
        c.textOutRight(amountRight, at, moneyText(line.amount));
        const bool more = i + 1 < items.size();
        if (more && at + 3 * lineHeight > lineEnd) {
            // The next line would run into the totals: a new sheet with its header.
            c.newPage();
            c.textOut(0, 0, u"Sayfa No :"_s + QString::number(c.pageNumber()));
            header();
            at = lineTop;
        } else {
            at += lineHeight;
        }
    }

    // The totals block: labels at TOP_S, amounts right-aligned at the amount column.
    const int labelX = x(l.at("TOP_S"));
    c.textOutRight(amountRight, at, u"_____________"_s);
    int row = lineEnd;
    auto total = [&](const QString& label, double amount) {
        c.textOut(labelX, row, label);
        c.textOutRight(amountRight, row, money(amount));
        row += lineHeight;
    };
    total(u"Toplam :"_s, number(u"BRUT"_s));
    total(u"K.D.V. ;İndirimi:"_s, number(u"TENZIL1"_s));
    if (number(u"TENZIL2"_s) != 0) {
        total(u"Ara Toplam :"_s, number(u"BRUT"_s) - number(u"TENZIL1"_s));
        total(u"( % "_s + format(u"%5.2n", number(u"INORAN2"_s)) + u") İskonto :"_s, number(u"TENZIL2"_s));
    }
    total(u"Ara Toplam:"_s, subtotal());
    Sql k(session_.db, u"SELECT KDV1, KDV2, KDV3 FROM KDV LIMIT 1"_s);
    k.exec();
    const bool rates = k.next();
    for (int i = 0; i < 3; ++i) {
        const double amount = number(u"KDV"_s + QString::number(i + 1));
        if (amount <= 0) continue;
        total(format(u"%-9s %-5.2g", i == 0 ? u"K.D.V.: %"_s : u"K.D.V %"_s, rates ? k.number(i) : 0.0), amount);
    }
    total(u"Toplam K.D.V:"_s, number(u"TOPKDV"_s));
    const double net = number(u"NET"_s), rounded = roundedNet();
    if (!rounds()) {
        total(u"Net Toplam:"_s, net);
    } else {
        total(u"Toplam:"_s, net);
        total(u"Yuvarlama Farkı : -"_s, net - rounded);
        total(u"Net Toplam:"_s, rounded);
    }
    c.textOut(x(l.at("YAZI_S")), y(l.at("YAZI_U")), u"YALNIZ "_s + amountInWords(rounded) + u" TL. DİR."_s);
}

}  // namespace selvar
