#pragma once
// The opening operations of the purchasing windows.
#include <QtGlobal>
#include <functional>

class QString;
class QWidget;

namespace selvar {
struct Session;
class ProductValuesDialog;

// The purchase invoice: new with the supplier's code, or the correction of purchase
// `purchaseNo`. `recordLines` writes the purchase list's lines, movements and stock under
// the number inside the save's transaction. Returns the purchase number stored, 0 when
// the window was left without storing.
double AlisFormAc(Session& session, bool isNew, const QString& supplier, double purchaseNo,
                  const std::function<void(double purchaseNo)>& recordLines, QWidget* parent = nullptr);

// The order list's review: true when closed with "Aktar".
// `values` is the product values dialog the rows are changed through.
bool SiparisAktarAc(Session& session, ProductValuesDialog* values, QWidget* parent = nullptr);

// Sale prices for the VAT-exclusive lines of one purchase.
void SatFiyAc(Session& session, double purchaseNo, QWidget* parent = nullptr);

// "ÜRÜN GİRİŞ ÇIKIŞ HAREKETLERİ" of a product: true when closed with OK.
bool BrStokAc(Session& session, qint64 productNo, const QString& productName, QWidget* parent = nullptr);
}  // namespace selvar
