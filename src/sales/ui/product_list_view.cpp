#include "sales/ui/product_list_view.h"

#include "data/table.h"
#include "sales/product_list_model.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QTableView* createProductListView(QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(u"ProductList"_s);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->setDefaultSectionSize(22);
    view->verticalHeader()->hide();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, view, [view](const QPoint& at) {
        QMenu menu(view);
        const bool stockHidden = view->isColumnHidden(ProductListModel::Stock);
        const bool expiryHidden = view->isColumnHidden(ProductListModel::Expiry);
        QAction* stock = menu.addAction(stockHidden ? u"Adet Göster"_s : u"Adet Gizle"_s);
        QAction* expiry = menu.addAction(expiryHidden ? u"Miad Göster"_s : u"Miad Gizle"_s);
        QAction* chosen = menu.exec(view->viewport()->mapToGlobal(at));
        if (chosen == stock) view->setColumnHidden(ProductListModel::Stock, !stockHidden);
        if (chosen == expiry) view->setColumnHidden(ProductListModel::Expiry, !expiryHidden);
    });
    return view;
}

void showCurrentProduct(QTableView* view, ProductListModel* model, Table& p)
{
    if (!model) return;
    int row = model->rowOf(p.rowId());
    if (row < 0 && p.hasRow()) {
        model->reload();
        row = model->rowOf(p.rowId());
    }
    if (row < 0) return;
    model->refreshRow(p.rowId());
    const QModelIndex i = model->index(row, 0);
    view->setCurrentIndex(i);
    view->scrollTo(i);
}

}  // namespace selvar
