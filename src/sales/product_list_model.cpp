#include "sales/product_list_model.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/sql.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QString kColumns = u"ILACAD, FIYAT, FIYATARIH, MIKTAR, YER, MIAD, KDV, AKTIFSTOK, PASIFSTOK, ALISTIP"_s;
}

ProductListModel::ProductListModel(Database& db, QObject* parent) : QAbstractTableModel(parent), db_(db) { reload(); }

void ProductListModel::reload()
{
    beginResetModel();
    ids_.clear();
    positions_.clear();
    pages_.clear();
    const Dialect& d = db_.dialect();
    const QString key = d.keyExpression(*tableDef(u"URUN"_s).field(u"ILACAD"_s));
    Sql q(db_, u"SELECT "_s + d.rowId() + u" FROM URUN ORDER BY "_s + d.orderTerm(key, false) + u", "_s
                   + d.orderTerm(d.rowId(), false));
    q.exec();
    while (q.next()) ids_.push_back(q.value(0).toLongLong());
    positions_.reserve(ids_.size());
    for (int i = 0; i < ids_.size(); ++i) positions_.insert(ids_[i], i);
    endResetModel();
}

void ProductListModel::refreshRow(qint64 rowId)
{
    const int row = rowOf(rowId);
    if (row < 0) return;
    pages_.remove(row / PageSize);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ProductListModel::rowOf(qint64 rowId) const { return positions_.value(rowId, -1); }

qint64 ProductListModel::rowIdAt(int row) const { return row >= 0 && row < ids_.size() ? ids_[row] : 0; }

int ProductListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(ids_.size()); }

int ProductListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const QVector<QVariant>* ProductListModel::rowData(int row) const
{
    const int page = row / PageSize;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        if (pages_.size() > 64) pages_.clear();  // keep memory bounded while scrolling far
        QStringList marks;
        for (int i = 0; i < PageSize; ++i) marks << u":r"_s + QString::number(i);
        const QString rowId = db_.dialect().rowId();
        Sql q(db_, u"SELECT "_s + rowId + u", "_s + kColumns + u" FROM URUN WHERE "_s + rowId + u" IN ("_s
                       + marks.join(u',') + u")"_s);
        for (int i = 0; i < PageSize; ++i) q.bind(u"r"_s + QString::number(i), rowIdAt(page * PageSize + i));
        q.exec();
        QHash<qint64, QVector<QVariant>> byId;
        while (q.next()) {
            QVector<QVariant> v;
            for (int c = 1; c <= ColumnCount; ++c) v << q.value(c);
            byId.insert(q.value(0).toLongLong(), v);
        }
        QVector<QVector<QVariant>> rows(PageSize);
        for (int i = 0; i < PageSize; ++i) rows[i] = byId.value(rowIdAt(page * PageSize + i));
        it = pages_.insert(page, rows);
    }
    const auto& r = (*it)[row % PageSize];
    return r.isEmpty() ? nullptr : &r;
}

QVariant ProductListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Shelf ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                 : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const QVector<QVariant>* r = rowData(index.row());
    if (!r) return {};
    const QVariant v = (*r)[index.column()];
    if (v.isNull()) return {};
    const Dialect& d = db_.dialect();
    switch (index.column()) {
    case Price: return formatMask(u"#,##0", v.toDouble());
    case PriceDate: return dateText(d.fromDatabase(FieldType::Date, v).toDate());
    case Expiry: return d.fromDatabase(FieldType::Date, v).toDate().toString(u"MM/yyyy"_s);
    case Vat: return format(u"%g", v.toDouble());
    case DiscountType: return discountLabel_ ? discountLabel_(v.toString()) : v;
    default: return v;
    }
}

QVariant ProductListModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList titles{u"ÜRÜN ADI"_s, u"FİYATI"_s, u"Fiyat Trh"_s, u"Adet"_s,   u"Yeri"_s,
                                    u"Miadı"_s,    u"KDV"_s,    u"A.Stok"_s,    u"P.Stok"_s, u"İsk.Tipi"_s};
    if (discountLabel_ && section == PriceDate) return u"Fiyat Trh."_s;
    if (discountLabel_ && section == Stock) return u"Eldeki"_s;
    return titles.value(section);
}

}  // namespace selvar
