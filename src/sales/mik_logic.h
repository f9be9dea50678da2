#pragma once
// The product values dialog's state and rules: the one-row working table FITMP.DB kept in
// edit state while the dialog is open, the quantity rules, the scanner marks, the price
// check, the product's price history (URFAYAR.DB in ILACTRH order) and the purchase panel.
#include "sales/product_values.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace selvar {

struct Session;
class Table;
class Database;

inline const QString NoOldPriceMessage =
    QStringLiteral("Reç.tarihine uygun eski fiyat yok.Lütfen geçerli fiyatı yazmayı unutmayın.");

// The values the caller puts into FITMP.DB before showing the dialog and reads after OK.
struct WorkRowValues {
    qint64 productNo = 0;       // ILACNO
    double price = 0;           // FIYAT
    QDate priceDate;            // TARIH
    qint64 stock = 0;           // ELDEMIK
    qint64 quantity = 1;        // SATISMIK
    QString prescriptionType;   // RECKOD
    QString discountType;       // ALISTIP, purchase mode
};
void writeWorkRow(Database& db, const WorkRowValues& v);
WorkRowValues readWorkRow(Database& db);

struct PriceHistoryRow {
    qint64 no = 0;  // SIRANO
    QDateTime date; // FITARIH
    double price = 0;
};

// Where the SSK values dialog differs from the sale's: its price caption, a barcode kept
// as its digits, an empty quantity taken as 1, the card following the latest history
// entry after an edit, and the daily use and dose it asks for.
struct MikRules {
    bool ssk = false;
};

class MikLogic {
public:
    // Asked when the price box is left with a raised price: true when the user confirmed
    // it (the price-increase confirmation window).
    using PriceIncreaseCheck = std::function<bool(qint64 productNo, double newPrice)>;

    // What a scanner mark (F2) turned into.
    enum class ScanStep {
        None,         // not a mark of a scan: nothing happens
        CaptureOn,    // a code follows
        SameProduct,  // the product's own code again: quantity + 1, the dialog stays
        Accept,       // another code: close with OK (the quantity box is written first)
        Cancel,       // the code "ESC": close as cancelled
    };

    explicit MikLogic(Session& session, MikRules rules = {});
    ~MikLogic();
    MikLogic(const MikLogic&) = delete;
    MikLogic& operator=(const MikLogic&) = delete;

    void setPriceIncreaseCheck(PriceIncreaseCheck check) { priceIncrease_ = std::move(check); }

    // ---- showing and closing
    void show(const ProductValuesRequest& request);  // the steps of showing, in order
    void ok();      // posts the working row, then closes
    void cancel();  // drops the edit of the working row, then closes
    bool isOpen() const { return open_; }
    ProductValuesResult result() const;

    // ---- the working row
    qint64 productNo() const;
    double price() const;
    QDate priceDate() const;
    qint64 stock() const;
    qint64 quantity() const;
    QString prescriptionType() const;
    void setPrescriptionType(const QString& code);
    QString priceLabel() const { return priceLabel_; }
    QString quantityLabel() const { return request_.quantityLabel; }
    QString productName() const { return request_.productName; }

    // ---- the quantity box
    void quantityTyped(const QString& chars);       // every key but Enter, as typed
    void setQuantityText(const QString& text);      // the box's text becomes the quantity
    QString typedKeys() const { return typedKeys_; }

    // ---- the price box
    bool setPriceText(const QString& text);  // false for text that is not a number
    void priceLeft();                        // the raised-price check
    double shownPrice() const { return shownPrice_; }

    // ---- the scanner (F2, the code, F2)
    ScanStep scannerMark(bool inQuantityBox);
    bool captureChar(const QString& text);  // true when the character belongs to a scan
    bool capturing() const { return scanOn_ && !scanDone_; }
    QString scanBuffer() const { return scanBuffer_; }
    QString productBarcode() const { return productBarcode_; }
    bool scanOn() const { return scanOn_; }
    bool scanDone() const { return scanDone_; }
    QDate prescriptionDate() const { return request_.prescriptionDate; }

    // ---- the SSK line data ("&Gün.Kul." one digit, "&Doz" three)
    QString dailyUse() const { return dailyUse_; }
    void setDailyUse(const QString& t) { dailyUse_ = t.left(1); }
    QString dose() const { return dose_; }
    void setDose(const QString& t) { dose_ = t.left(3); }

    // ---- the old-price list
    bool oldPriceListEnabled() const { return historyButtonEnabled_; }
    bool oldPriceListShown() const { return historyShown_; }
    bool openOldPriceList();   // false when there is no history (the button is disabled)
    void closeOldPriceList();  // "Esk. Fyt. List.Ka&pat"
    const QList<PriceHistoryRow>& history() const { return historyRows_; }
    int historyCurrent() const { return historyCurrent_; }
    void setHistoryCurrent(int row);
    // Enter: takes the current row's price and date when it is a real price; then the
    // list closes. False when the row cannot be taken.
    bool takeHistoryRow();
    // Posting an edited row: the date gets the time of day and the product's price and
    // price date follow the row (with the SSK rules: the latest row). The list moves to
    // its last row.
    void postHistoryRow(int row, const QDate& date, double price);

    // ---- the purchase panel
    bool purchaseMode() const { return request_.purchaseMode; }
    int discountType() const;  // ALISTIP as 0..8, -1 none
    void setDiscountType(int type);
    bool selectsWholePrice() const { return purchaseMode() && discountType() == 4; }
    QString freeGoodsText() const { return freeGoodsText_; }
    void setFreeGoodsText(const QString& t) { freeGoodsText_ = t; }
    QString lineDiscountText() const { return lineDiscountText_; }
    void setLineDiscountText(const QString& t) { lineDiscountText_ = t; }
    int freeGoodsVatChoice() const { return freeGoodsVat_; }
    void setFreeGoodsVatChoice(int choice) { freeGoodsVat_ = choice; }

private:
    void loadHistory();
    void pickOldPrescriptionPrice();
    void positionHistory(const QDateTime& at);
    void refreshHistoryButton();
    void close();
    Table& work();
    const Table& work() const;

    Session& session_;
    MikRules rules_;
    std::unique_ptr<Table> work_;
    PriceIncreaseCheck priceIncrease_;
    ProductValuesRequest request_;
    bool open_ = false;
    bool accepted_ = false;

    double shownPrice_ = 0;
    QString productBarcode_;
    QString scanBuffer_;
    QList<Gs1Box> boxes_;  // further boxes of the product scanned in the dialog
    bool scanOn_ = false;
    bool scanDone_ = false;
    QString typedKeys_;
    QString priceLabel_ = QStringLiteral("Etiket Fi&yatı");

    bool historyButtonEnabled_ = false;
    bool historyShown_ = false;
    QList<PriceHistoryRow> historyRows_;
    int historyCurrent_ = -1;

    QString freeGoodsText_;
    QString lineDiscountText_;
    int freeGoodsVat_ = 1;
    QString dailyUse_ = QStringLiteral("1");
    QString dose_ = QStringLiteral("  1");
};

}  // namespace selvar
