#pragma once
// The small choices the purchase grids open over a cell ("İskonto Tipi", "M.Fzl.KDV yi
// Ekle?"): a titled list of options moved through with the arrows; Enter, Esc or a click
// outside leaves it on the option checked.
#include <QStringList>

class QModelIndex;
class QTableView;
class QWidget;

namespace selvar {
// The option chosen, -1 when none was.
int chooseOverCell(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& title,
                   const QStringList& items, int current);

// The two choices themselves, as the purchase and the order grids offer them.
int chooseDiscountType(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& current);
// "E" or "H"; empty when nothing was chosen.
QString chooseFreeGoodsVat(QWidget* parent, QTableView* view, const QModelIndex& cell, const QString& current);
}  // namespace selvar
