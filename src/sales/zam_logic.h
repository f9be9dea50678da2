#pragma once
// The price-increase confirmation: the old price goes into the price history (URFAYAR.DB)
// under its own date, the new price and the confirmation date onto the product card.
#include <QDate>
#include <QString>
#include <optional>

namespace selvar {

struct Session;

inline const QString ZamQuestion =
    QStringLiteral("Bu ürünün fiyatı artmış bu zamlı fiyat ise  ürün kartına işlensin mi?");

class ZamLogic {
public:
    ZamLogic(Session& session, qint64 productNo, double newPrice);

    qint64 productNo() const { return productNo_; }
    double newPrice() const { return newPrice_; }
    QString initialDateText() const;  // today, for "Onay Tarihi"

    // The confirmation date typed; an invalid one is reported and gives nothing.
    std::optional<QDate> confirmationDate(const QString& text) const;
    // Archives the old price and writes the new one, together or not at all. False when
    // the product is not there.
    bool apply(const QDate& confirmed);
    // "&Evet": both of the above.
    bool confirm(const QString& dateText);

private:
    Session& session_;
    qint64 productNo_;
    double newPrice_;
};

QString invalidDateMessage(const QString& text);

}  // namespace selvar
