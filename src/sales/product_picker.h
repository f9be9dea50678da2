#pragma once
// The product list of the sale windows (URUN.DB in name order): the product under the
// cursor with its generic, group, indication and category, finding a product by typing
// its name, by its barcode or by the scanner's marks, the warnings shown before a product
// is added, and the list's own commands (delete, product card). The retail and the SSK
// sale windows each keep one.
#include "platform/type_ahead.h"
#include "sales/product_values.h"

#include <QColor>
#include <QString>
#include <memory>
#include <optional>

#include "core/gs1.h"

namespace selvar {

struct Session;
class Table;

// The texts in which the windows differ.
struct PickerTexts {
    QString keyboardMode = QStringLiteral("Liste Şu An KLAVYEDEN ARAMAYA AYARLI");
    QString barcodeMode = QStringLiteral("Liste Şu An BARKODLA ARAMAYA AYARLI");
    QString nearExpiry = QStringLiteral("İlacın Miadı Yakın");
    QString cannotDelete = QStringLiteral("Ürünün Stok Bilgisi Mevut Silinemez!!!");
    // The retail window beeps for every coloured category, the SSK window only for "R".
    bool beepForEveryColour = true;
    // The search button's captions.
    QString toBarcodeCaption = QStringLiteral("Barkodla Ara ( F5 Tuşu )");
    QString toKeyboardCaption = QStringLiteral("Klavyeden Ara ( F5 Tuşu )");
};

// The values dialog's colour for a prescription class: red, yellow, green for K, R, Y;
// invalid otherwise.
QColor valuesDialogColor(const QString& prescriptionCode);

class ProductPicker {
public:
    enum class SearchMode { Keyboard, Barcode };

    ProductPicker(Session& session, PickerTexts texts = {});
    ~ProductPicker();

    // Opens the list again and forgets any search.
    void open();
    void close();
    bool isOpen() const { return products_ != nullptr; }

    // ---- the list (URUN.DB on ILACADI)
    Table& products();
    QString currentName() const;
    qint64 currentNo() const;
    bool positionByName(const QString& exactName);
    void reopen();  // after a card was edited elsewhere; stays on the same product
    QString genericName() const;
    QString groupName() const;
    QString indicationName() const;
    QString prescriptionTypeText() const;
    QColor prescriptionTypeColor() const;  // red, yellow, green for K, R, Y; invalid otherwise
    QString leaflet() const;
    void saveLeaflet(const QString& text);

    // ---- searching
    SearchMode searchMode() const { return mode_; }
    void toggleSearchMode();
    QString searchModeLabel() const;
    QString searchButtonCaption() const;  // "Barkodla Ara ( F5 Tuşu )" ...
    void typeSearchChar(QChar c);         // keyboard mode: name search; barcode mode: collects
    void searchBackspace();
    void clearSearch();                   // Esc and the arrow keys
    QString searchText() const { return nameSearch_.text(); }
    QString barcodeText() const { return barcodeText_; }
    void setBarcodeText(const QString& code) { barcodeText_ = code; }
    // F2 in the list: the first mark switches to barcode mode, the second ends the code;
    // true when the code is complete and is to be looked up now.
    bool scannerMark();
    bool scanStarted() const { return scanStarted_; }
    bool scanEnded() const { return scanEnded_; }
    // A code scanned in the values dialog is looked up as if typed after two marks.
    void takeScannedCode(const QString& code);

    // One barcode Enter: with a typed code the list moves to the nearest code and true
    // means that product's code is the one typed (or no code was typed: the current
    // product counts). The typed code stays readable until endBarcode().
    bool lookUpBarcode();
    // The box of the last DataMatrix scan looked up: its serial, batch and expiry; its
    // product is the current one. Forgotten by endBarcode().
    const std::optional<Gs1Box>& scannedBox() const { return scannedBox_; }
    // After the barcode was handled: a finished scan returns to keyboard mode, the typed
    // code is forgotten and the list is in name order again.
    void endBarcode();

    // ---- adding
    // The warnings of the current product before its values dialog (a beep and a message
    // for "B" and "S", the dialog's colour for "Y", "K", "R", the expiry) and the request
    // with its name, the typed barcode and the colour.
    ProductValuesRequest warnAndRequest();

    // ---- the list's commands
    void deleteProduct();          // Ctrl+Delete: "Silinsin mi?", not with movements
    void productCard(int mode);    // Alt+D (0) and Insert (1) through the companion

private:
    static inline const QString ByName = QStringLiteral("ILACADI");
    static inline const QString ByBarcode = QStringLiteral("ILACKODU");

    Session& session_;
    PickerTexts texts_;
    std::unique_ptr<Table> products_;
    TypeAhead nameSearch_{QStringLiteral("ILACAD")};
    QString barcodeText_;
    bool scanStarted_ = false, scanEnded_ = false;
    std::optional<Gs1Box> scannedBox_;
    SearchMode mode_ = SearchMode::Keyboard;
};

}  // namespace selvar
