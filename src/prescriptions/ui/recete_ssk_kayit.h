#pragma once
// The opening operation of the SSK prescription registration, called by the SSK sale
// window's "SSK Reçete Kayıt": mode 1 a new prescription dated by the date text, mode 0
// the prescription of the sale number. Returns the sale number under which it was stored,
// 0 when the window was left without storing. `recordLines` writes the sale's lines under
// that number inside the transaction that stores the prescription.
#include <QString>
#include <functional>

class QWidget;

namespace selvar {
struct Session;
double ReceteSSKAc(Session& session, int mode, const QString& dateText, double saleNo,
                   const std::function<void(double saleNo)>& recordLines, QWidget* parent = nullptr);
}
