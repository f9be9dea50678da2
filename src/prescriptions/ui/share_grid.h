#pragma once
// The "Hesap" page of the registration windows: for each bucket its gross, discount rate
// and amount, subtotal, share rate and amount and net; the prescription's totals in the
// row under the buckets.
#include <QStringList>

class QTableWidget;

namespace selvar {

struct ShareResult;

struct ShareGridValues {
    int buckets = 0;
    QStringList discountRates, shareRates;  // as the window shows them
    bool institution = false;               // without one, no discount and no share
    double patientShare = 0, net = 0;       // the stored totals
};

void fillShareGrid(QTableWidget* grid, const ShareResult& shares, const ShareGridValues& v);

}  // namespace selvar
