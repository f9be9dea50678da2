#pragma once
// Sale prices for the products of one purchase that were bought at a VAT-exclusive price
// (discount types "4", "7", "8"): a new price from the purchase price, the VAT and a
// mark-up, rounded up to a step; the old prices archived and the new ones written in one
// transaction.
#include <QDate>
#include <QList>
#include <QString>

namespace selvar {

struct Session;

struct SalesPriceLine {
    int no = 0;              // SIRANOILAC
    qint64 productNo = 0;
    QString name;
    double purchasePrice = 0;  // ALIS3 FIYAT
    double vat = 0;
    QString type;              // "4", "7", "8"
    double salePrice = 0;      // the product's price now
    QDate priceDate;
    double newPrice = 0;
    QDate newDate;
    double unrounded = 0;
};

inline const QString NoOtherTypeLinesMessage = QStringLiteral("Seçilen Alışta -Diğer İskonto Tipli- Ürün Yok.");
inline const QString TransferPricesQuestion = QStringLiteral("Yeni Fiyatlar Ürün Kartına Aktarılsın mı?");
inline const QString PricesTransferredMessage = QStringLiteral("Fiyatlar Aktarıldı.");

// "Diğ.Isk.siz", "Diğ.Sbt.Isk.lu", "Diğ.F.Isk.lu".
QString salesPriceTypeLabel(const QString& type);
// The price before rounding: purchase × (VAT + 100) × factor × 0.01.
double unroundedSalesPrice(double purchasePrice, double vat, double factor);
// The smallest multiple of `step` not below the price rounded to whole units; the price
// itself without a step.
double roundedSalesPrice(double unrounded, double step);

class SatFiyLogic {
public:
    explicit SatFiyLogic(Session& session);

    // The purchase's lines of the three types; false (with the message) when it has none.
    bool open(double purchaseNo);
    QString heading() const { return heading_; }
    const QList<SalesPriceLine>& lines() const { return lines_; }

    QString percentText = QStringLiteral("00,  ");
    QString stepText = QStringLiteral("  5000");
    bool transferAll = false;  // "Tümünü Aktar"; default "Yeni Fiyat Eskisinden Fazla Olanları Aktar"

    // "Göster": false while the percentage is blank; otherwise the new prices.
    bool show();
    bool shown() const { return shown_; }
    // After the question: the chosen lines' old prices archived and the new ones written,
    // all in one transaction; the message only after it committed. The number written.
    int transfer();

private:
    Session& session_;
    QString heading_;
    QList<SalesPriceLine> lines_;
    bool shown_ = false;
};

}  // namespace selvar
