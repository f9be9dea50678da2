#pragma once
// The banded printouts of the private reports: the day-by-day cash report, the account
// movements by kind and state, and the profit report with its running total per page.
#include "print/report.h"
#include "reports/cash_logic.h"

#include <memory>

namespace selvar {

// "KASA RAPORU" under `title` (the window's caption), landscape, with the left margin in mm.
std::unique_ptr<report::Report> kasaReport(const QList<KasaRow>& rows, const QString& title, std::optional<int> marginMm);

// "Türüne Göre Cari Hesap Dökümü": start "-" end " KASA CARİ HESAP TOPLAMI".
std::unique_ptr<report::Report> movementReport(const CashSummary& summary, const QString& title);

// "Giriş Fiyat Belli Olan Ürünlerin " + kind + " Kar Tutarları" for the period; the page
// footer's "Toplam" is the profit up to that page, worked out by each rendering.
std::unique_ptr<report::Report> profitReport(const QList<ProfitRow>& rows, const QDate& start, const QDate& end,
                                             const QString& kindCaption);

}  // namespace selvar
