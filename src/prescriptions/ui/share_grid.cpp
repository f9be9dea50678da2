#include "prescriptions/ui/share_grid.h"

#include "core/format.h"
#include "prescriptions/shares.h"

#include <QTableWidget>

namespace selvar {

void fillShareGrid(QTableWidget* grid, const ShareResult& s, const ShareGridValues& v)
{
    auto cell = [grid](int r, int c, const QString& t) {
        auto* item = new QTableWidgetItem(t);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(r, c, item);
    };
    for (int b = 0; b < v.buckets; ++b) {
        const BucketShare& x = s.buckets[size_t(b)];
        cell(b, 0, moneyText(x.gross));
        cell(b, 1, v.discountRates.value(b));
        cell(b, 2, v.institution ? moneyText(x.discount) : QString());
        cell(b, 3, moneyText(x.subtotal));
        cell(b, 4, v.shareRates.value(b));
        cell(b, 5, v.institution ? moneyText(x.share) : QString());
        cell(b, 6, moneyText(x.net));
    }
    const int total = v.buckets;
    cell(total, 0, moneyText(s.gross()));
    cell(total, 2, moneyText(s.discount()));
    cell(total, 3, moneyText(s.subtotal()));
    cell(total, 5, moneyText(v.patientShare));
    cell(total, 6, moneyText(v.net));
}

}  // namespace selvar
