#pragma once
// The opening operation of the sale invoice window, called by the sale window's "Fatura
// Kayıt": mode 1 a new invoice, 0 the correction of invoice `invoiceNo`; `saleNo` the
// sale being invoiced (0 for one without a number yet). Returns the sale number under
// which the invoice was stored, 0 when the window was left without storing.
// `recordLines` writes the sale's lines under that number inside the store's
// transaction, so the invoice and its sale land together or not at all.
#include <functional>

class QWidget;

namespace selvar {
struct Session;
double FaturaKayitAc(Session& session, int mode, double saleNo, double invoiceNo,
                     const std::function<void(double saleNo)>& recordLines, QWidget* parent = nullptr);
}
