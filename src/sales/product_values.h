#pragma once
// How the sale and purchase windows use the product values dialog (TMikDlg): the caller
// fills the dialog's one-row working table FITMP.DB (ILACNO, ELDEMIK, RECKOD, FIYAT, TARIH,
// SATISMIK = 1, and ALISTIP in purchase mode), hands over the request below and shows the
// dialog modally. After OK it reads FIYAT, SATISMIK and RECKOD (and in purchase mode the
// purchase fields of the result) back from FITMP.DB.
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "core/gs1.h"

namespace selvar {

struct ProductValuesRequest {
    QString productName;                                    // the dialog's product-name label
    QString quantityLabel = QStringLiteral("Satılacak Mik&tar");  // "Alınan Mik&tar" for a purchase
    QDate prescriptionDate;                                 // old-price prescription date; null = none
    QString barcode;                                        // the code the product was found with
    QColor color;                                           // invalid = the normal colour
    bool showOldPriceList = false;                          // correction of an old record
    // With the list shown: the last price dated before this moment is the current row
    // (null = the first row).
    QDateTime oldPriceListAt;
    bool purchaseMode = false;                              // the purchase panel is shown
    // Purchase mode presets.
    QString freeGoodsText;                                  // "M&al Fazlası"
    QString lineDiscountText;                               // "Farklı İ&sk.%"
};

struct ProductValuesResult {
    bool ok = false;
    // Characters captured from the scanner while the dialog was open; with ok, a code
    // other than the request's barcode was scanned for the next line. A scanned "ESC"
    // cancels and stays here.
    QString scanBuffer;
    // Purchase mode: the panel's values (texts as typed, spaces removed by the caller).
    QString freeGoodsText;
    QString lineDiscountText;
    int freeGoodsVatChoice = -1;  // 0 "&Evet", 1 "&Hayır", -1 none chosen
    int discountType = -1;        // 0..8, -1 none chosen
    // The SSK dialog: daily use count and dose per use, as typed ("1", "  1").
    QString dailyUse;
    QString dose;
    // Further boxes of the same product scanned from their DataMatrix while the dialog was
    // open (each added one to the quantity).
    QList<Gs1Box> boxes;
};

// Implemented by TMikDlg; tests use a fake that edits FITMP.DB as scripted.
class ProductValuesDialog {
public:
    virtual ~ProductValuesDialog() = default;
    virtual ProductValuesResult showModal(const ProductValuesRequest& request) = 0;
};

}  // namespace selvar
