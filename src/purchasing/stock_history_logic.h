#pragma once
// A product's movement history (the window TBrStokForm, "ÜRÜN GİRİŞ ÇIKIŞ
// HAREKETLERİ"): its entries and exits of URUNHRK.DB read a page at a time, where each
// came from, the totals over all of them and the text listing. Nothing here writes data
// but the listing's font row.
#include "print/font.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace selvar {

struct Session;
class Canvas;

struct Movement {
    QDateTime when;
    std::optional<qint64> in, out;          // GIRMIK, CIKMIK
    std::optional<double> inPrice, outPrice;  // GIRFIYAT, CIKFIYAT
    double documentNo = 0;                  // ALSATNO
    qint64 line = 0;                        // SIRANO
    bool exchange() const { return line == 999999999; }
    bool entry() const { return in.value_or(0) >= 1; }
    bool exit() const { return !entry() && out.value_or(0) >= 1; }
    // "Takas No :7", "Alış No :12", "Satış No :61"
    QString numberText() const;
};

struct StockTotals {
    double inValue = 0, outValue = 0, inQuantity = 0, outQuantity = 0;
    bool any = false;                         // the product has movements
    std::optional<double> offMovement;        // Σ MIKDEG of MRAPORD; none without rows
    double difference() const { return outValue - inValue; }  // "Fark"
};

class StockHistoryLogic {
public:
    StockHistoryLogic(Session& session, qint64 productNo, QString productName);

    qint64 productNo() const { return productNo_; }
    QString title() const;  // the name + " Adlı Ürünün Stok Bilgileri"

    // The movements shown: all of them, or those of a date range (first day 00:00 to the
    // last day 23:59:59.999).
    void showAll();
    void showRange(const QDate& first, const QDate& last);
    QDateTime from() const { return from_; }
    QDateTime to() const { return to_; }
    // The next `count` movements of the range after `after` (from the start without one),
    // in the order (GCTARIH, ALSATNO, SIRANO).
    QList<Movement> page(const Movement* after, int count) const;

    // KimeAit: where the movement came from; empty when it cannot be said.
    QString explain(const Movement& m) const;
    StockTotals totals() const;

    // "&Yazdır": the listing of the range shown; false when the print dialog was cancelled.
    bool print(const QString& caption);
    void drawListing(Canvas& canvas, int marginCm) const;

    // The "Stokbak" row of FONT.DB.
    FontDef font;
    int margin = 0;  // cm
    bool fontChanged = false;
    void loadFont();
    void saveFont();

private:
    Session& session_;
    qint64 productNo_;
    QString name_;
    QDateTime from_, to_;
};

// The grid's rows, read a page at a time as they are scrolled into view.
class StockHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StockHistoryModel(const StockHistoryLogic& logic, QObject* parent = nullptr);
    void reload();  // back to the first page of the range shown
    const Movement* at(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    static constexpr int PageSize = 100;
    const StockHistoryLogic& logic_;
    QList<Movement> rows_;
    bool complete_ = false;
};

}  // namespace selvar
