#pragma once
// The product list of the sale and purchase windows, in name order (ILACADI). Only the
// row ids are loaded when the list opens; the rows themselves are read a page at a time
// as they come into view, so 100,000 products open at once.
#include <QAbstractTableModel>
#include <QHash>
#include <QVector>
#include <functional>

namespace selvar {

class Database;

class ProductListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Price, PriceDate, Stock, Shelf, Expiry, Vat, ActiveStock, PassiveStock, DiscountType, ColumnCount };

    explicit ProductListModel(Database& db, QObject* parent = nullptr);
    // The purchase window's titles, and its discount-type column shown by `label`.
    void setPurchaseColumns(std::function<QString(const QString&)> label) { discountLabel_ = std::move(label); }
    bool purchaseColumns() const { return bool(discountLabel_); }

    void reload();
    void refreshRow(qint64 rowId);
    int rowOf(qint64 rowId) const;  // -1 when not in the list
    qint64 rowIdAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    static constexpr int PageSize = 64;
    const QVector<QVariant>* rowData(int row) const;

    Database& db_;
    std::function<QString(const QString&)> discountLabel_;
    QVector<qint64> ids_;
    QHash<qint64, int> positions_;
    mutable QHash<int, QVector<QVector<QVariant>>> pages_;
};

}  // namespace selvar
