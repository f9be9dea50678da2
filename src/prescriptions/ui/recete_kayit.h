#pragma once
// The opening operation of the prescription registration window, called by the sale
// window's "Reçete Kayıt": returns the sale number under which the prescription was
// stored, 0 when the window was left without storing. Session::PrintRequest.choice holds
// the back-print choice afterwards (2 stamped, 1 defined, 0 none).
#include <QString>

class QWidget;

namespace selvar {
struct Session;
double ReceteKayitAc(Session& session, const QString& bookNo, int mode, const QString& dateText, double saleNo,
                     QWidget* parent = nullptr);
}
