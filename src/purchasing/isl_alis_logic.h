#pragma once
// The purchase window (TIslAlisForm, "ALIŞ İŞLEMLERİ"): the product list with its
// searches, the purchase list ALISTEMP.DB with its line rules and running total, adding a
// product through the values dialog in purchase mode, the list's cancel, the recording
// through the purchase invoice, the correction of an old purchase and the transfer of the
// orders program's list.
#include "sales/product_picker.h"
#include "sales/product_values.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace selvar {

struct Session;
class Table;

// Writes the purchase's lines under the number the invoice took, inside its transaction.
using PurchaseLinesRecorder = std::function<void(double purchaseNo)>;

// Opening operations of other windows that the purchase window calls.
struct PurchaseWindowLinks {
    // The purchase invoice: (new, supplier code, purchase number, lines' recorder) ->
    // purchase number, 0 cancelled.
    std::function<double(bool, const QString&, double, const PurchaseLinesRecorder&)> alisFormAc;
    // The order transfer dialog: true when closed with "Aktar".
    std::function<bool()> siparisAktarAc;
    // Product movement history of a product.
    std::function<void(qint64, const QString&)> stockCard;
    // The supplier choice; unset: the companion library's BrKurumCreate(1).
    std::function<QString()> chooseSupplier;
};

// One line of the purchase list as the grid shows it.
struct PurchaseListLine {
    int no = 0;                 // SIRANO
    QString name;               // URUNAD
    qint64 productNo = 0;       // URUNO
    double price = 0;           // FIYAT
    qint64 quantity = 0;        // MIKTAR
    int freeGoods = 0;          // MALFAZLASI
    QString discountType;       // TIPISKONTO "0".."8"
    double lineDiscount = 0;    // M_ISKONTO
    QString freeGoodsVat;       // MKDVVARMI "E"/"H"
    double vat = 0;             // KDV
    QString prescriptionType;   // RECKOD
};

inline const QString PurchaseQuantityMessage = QStringLiteral("1 den küçük ürün miktarı için alış yapılmaz");
inline const QString PurchaseListCancelQuestion = QStringLiteral("Alınacak Ürünler Listesi İptal Edilsinmi?");

class IslAlisLogic {
public:
    using SearchMode = ProductPicker::SearchMode;

    IslAlisLogic(Session& session, ProductValuesDialog* values, PurchaseWindowLinks links, PickerTexts texts = {});
    ~IslAlisLogic();

    void Giris();   // opens the tables, counts the total again
    void closing(); // normal mode offers the cancel of the list; a correction empties it
    void setValuesDialog(ProductValuesDialog* values) { values_ = values; }

    // ---- product list
    ProductPicker& picker() { return picker_; }
    void enterInProductList();  // Enter or double click: add, or look up the scanned code
    void scannerMark();         // F2 in the product list
    void barcodeEnter();
    void alisEkle();            // the current product through the values dialog
    QString currentPrescriptionCode();  // RECETEKOD of the current product
    // The line the last product went into (its quantity takes the focus next); 0 none.
    int lastAddedLine() const { return lastAdded_; }

    // ---- the purchase list
    QList<PurchaseListLine> lines() const;
    int lineCount() const;
    // A line edited in the grid: the line rules, then the post; a quantity below 1 is
    // refused with the message and the line removed.
    void postLine(const PurchaseListLine& line);
    void removeLine(int no);  // ALTEMPSil (Ctrl+Del in the list)
    void listeIptal();        // F8
    double total() const { return total_; }
    void alTop();             // the running total counted again

    // ---- commands
    void alisKayit();         // F7
    void eskiAlislar();       // F3: enter or leave the correction of an old purchase
    void loadOldPurchase(double number);  // the chosen old purchase into the list, correcting it
    void siparisListesiAktar();  // F9
    void deleteProduct() { picker_.deleteProduct(); }
    void productCard(int mode);
    void stockCard();

    // ---- state
    bool oldMode() const { return oldNo_ > 0; }
    double oldPurchaseNo() const { return oldNo_; }
    QDateTime oldPurchaseMoment() const { return oldMoment_; }
    QString oldButtonCaption() const;     // "Eski Alımlar" / "Es.Al.Dzl.Vazgeç"
    QString recordButtonCaption() const;  // "Alış Kayıt" / "Eski Alış Kayıt"
    bool oldPurchasesAllowed() const;
    bool productCardAllowed() const;
    QColor dialogColor() const { return dialogColor_; }

private:
    QString addCurrent();    // returns a code scanned in the dialog
    QString barcodeStep();
    // Merged with a line of the same name and price: the quantity added, and with
    // `replaceTerms` the line's discount terms taken from the new one.
    void addToList(const PurchaseListLine& line, bool replaceTerms);
    void renumberFrom(int no);
    void storeTotal();
    void emptyList();
    void leaveOldMode();     // ButonEskDuzel

    Session& session_;
    ProductValuesDialog* values_;
    PurchaseWindowLinks links_;
    ProductPicker picker_;
    double total_ = 0;
    double oldNo_ = 0;
    QDateTime oldMoment_;
    QColor dialogColor_;
    int lastAdded_ = 0;
};

// The line rules before every post: a free-goods VAT other than "E" is "H", a type
// outside "0".."8" is "0", and only types "5", "6" and "8" keep a line discount.
PurchaseListLine normalisedPurchaseLine(PurchaseListLine line);

}  // namespace selvar
