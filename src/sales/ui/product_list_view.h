#pragma once
// The product list of the sale windows as a table view: rows selected whole, read only,
// the pop-up menu that hides and shows the stock and expiry columns, and the view kept on
// the product the logic's list stands on.
class QTableView;
class QWidget;

namespace selvar {

class ProductListModel;
class Table;

QTableView* createProductListView(QWidget* parent);

// Makes the list's current product the view's current row; a product added or removed
// elsewhere makes the model read the list again.
void showCurrentProduct(QTableView* view, ProductListModel* model, Table& products);

}  // namespace selvar
