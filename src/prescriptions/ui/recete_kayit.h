#pragma once
// The opening operation of the prescription registration window, called by the sale
// window's "Reçete Kayıt": returns the sale number under which the prescription was
// stored, 0 when the window was left without storing. `recordLines` writes the sale's
// lines under that number; the window runs it inside the transaction that stores the
// prescription, so both land or neither. Session::PrintRequest.choice holds the
// back-print choice afterwards (2 stamped, 1 defined, 0 none).
#include <QString>
#include <functional>

class QWidget;

namespace selvar {
struct Session;
double ReceteKayitAc(Session& session, const QString& bookNo, int mode, const QString& dateText, double saleNo,
                     const std::function<void(double saleNo)>& recordLines, QWidget* parent = nullptr);
}
