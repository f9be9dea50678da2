#pragma once
// The counter: product search by name, barcode and scanner, the working list of the sale
// (SATEMP.DB), recording retail, prescription and invoiced sales with stock and product
// movements, open-account entries, and the correction or conversion of old sales.
#include "sales/product_picker.h"
#include "sales/product_values.h"
#include "sales/sale_record.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace selvar {

struct Session;
class Table;

// Writes the sale's lines under a number, inside the caller's transaction: a
// registration window runs it in the transaction that stores its own document.
using LinesRecorder = std::function<void(double saleNo)>;

// Opening operations of other windows that the sale window calls.
struct SaleWindowLinks {
    // Prescription registration: (book number, mode 1 new / 0 correction, date text, sale
    // number, the lines' recorder) -> sale number, 0 cancelled.
    std::function<double(const QString&, int, const QString&, double, const LinesRecorder&)> receteKayitAc;
    // Invoice registration: (mode 1 new / 0 correction, sale number, invoice FATNO, the
    // lines' recorder) -> sale number, 0 cancelled.
    std::function<double(int, double, double, const LinesRecorder&)> faturaKayitAc;
    // Back-prints: 1 the defined back sheet, 2 the stamped one; PrintRequest.saleNo holds the sale number.
    std::function<void(int)> backPrint;
    // Product movement history of a product.
    std::function<void(qint64, const QString&)> stockCard;
    // The old-records chooser: 'S' sales, 'R' prescriptions, 'F' invoices, '0' none.
    std::function<QChar()> chooseOldRecordKind;
};

// Texts of the buttons and labels that follow the window's mode.
struct SaleCaptions {
    QString oldSales = QStringLiteral("Eski Satışlar");
    QString retail = QStringLiteral("Perakende Kayıt");
    QString prescription = QStringLiteral("Reçete Kayıt");
    QString invoice = QStringLiteral("Fatura Kayıt");
    bool oldLabelsShown = false;
    QString oldDateLabel;    // "(" + date and time + ")"
    QString oldNumberLabel;  // number + " Nolu ESKİ"
};

class SatisLogic {
public:
    using SearchMode = ProductPicker::SearchMode;

    SatisLogic(Session& session, ProductValuesDialog* values, SaleWindowLinks links);
    ~SatisLogic();

    // Entry from the main window: opens the tables and resets the window state.
    void Giris();
    void setValuesDialog(ProductValuesDialog* values) { values_ = values; }
    // The window closes: a loaded correction ends, otherwise the list is emptied.
    void closing();

    // ---- product list (URUN.DB on ILACADI)
    ProductPicker& picker() { return picker_; }
    Table& products() { return picker_.products(); }
    QString currentProductName() const { return picker_.currentName(); }
    qint64 currentProductNo() const { return picker_.currentNo(); }
    bool positionByName(const QString& exactName) { return picker_.positionByName(exactName); }
    void productsChanged() { picker_.reopen(); }  // after a card was edited elsewhere
    QString genericName() const { return picker_.genericName(); }
    QString groupName() const { return picker_.groupName(); }
    QString indicationName() const { return picker_.indicationName(); }
    QString prescriptionTypeText() const { return picker_.prescriptionTypeText(); }
    QString leaflet() const { return picker_.leaflet(); }
    void saveLeaflet(const QString& text) { picker_.saveLeaflet(text); }

    // ---- searching
    SearchMode searchMode() const { return picker_.searchMode(); }
    void toggleSearchMode() { picker_.toggleSearchMode(); }
    QString searchModeLabel() const { return picker_.searchModeLabel(); }
    QString searchButtonCaption() const { return picker_.searchButtonCaption(); }
    void typeSearchChar(QChar c) { picker_.typeSearchChar(c); }
    void searchBackspace() { picker_.searchBackspace(); }
    void clearSearch() { picker_.clearSearch(); }  // Esc and the arrow keys
    QString searchText() const { return picker_.searchText(); }
    QString barcodeText() const { return picker_.barcodeText(); }
    void scannerMark();                 // F2 in the product list
    void enterInProductList();          // Enter or double click
    void barcodeEnter();
    bool scanStarted() const { return picker_.scanStarted(); }
    bool scanEnded() const { return picker_.scanEnded(); }

    // ---- adding a product (satisEkle) and the lines
    void satisEkle();
    QList<SaleLine> lines() const;
    int lineCount() const;
    // Changes a line in the grid; a quantity of 0 or less removes it with a beep.
    void editLine(int no, int quantity, double price, const QString& prescriptionType);
    void removeLine(int no);
    double total() const { return total_; }
    double discount() const { return discount_; }
    double paid() const { return paid_; }
    void discountLeft(double discount);  // "İskonto :"
    void paidLeft(double paid);          // "Ödenen :"
    void recomputeTotal();               // on activation and after every post

    // ---- the old-price prescription date box ("Eski Fyt.lı Reç.Trh.")
    QString dateBox() const { return dateBox_; }
    void setDateBox(const QString& text) { dateBox_ = text; }
    void dateBoxLeft();  // an invalid date is cleared with a beep

    // ---- commands
    void perakendeKayit();        // F7
    void receteKayit();           // F8
    void faturaKayit();           // F9
    void veresiyeKayit();         // F10
    void satisListesiIptali();    // Esc outside the product list
    void eskiSatislar();          // F3
    void writeSaleList();         // "Satıs Listesini Yaz"
    void deleteProduct() { picker_.deleteProduct(); }  // Ctrl+Delete in the product list
    void productCard(int mode);   // Alt+D (0) and Insert (1)
    void stockCard();             // Alt+S

    // ---- state (as the numbers the window has always kept: SaleMode and Correction)
    int saleMode() const { return int(saleMode_); }
    int correctionCode() const { return int(correction_); }
    bool correcting() const { return saleMode_ != SaleMode::New; }
    double oldSaleNo() const { return oldSaleNo_; }
    QDateTime oldSaleDate() const { return oldSaleDate_; }
    double creditEntryNo() const { return creditEntryNo_; }
    double correctionCreditNo() const { return correctionCreditNo_; }
    QString saleKind() const { return saleKind_; }
    SaleCaptions captions() const;
    bool oldSalesAllowed() const;
    bool productCardAllowed() const;
    QColor dialogColor() const { return dialogColor_; }
    QString satisTxtPath() const;

private:
    // The sale as it is written under `number` (0 = a new one).
    SaleToWrite saleToWrite(double number, Correction correction, const QString& kind) const;
    // A registration window opened with the lines' recorder; the sale number it stored, 0 cancelled.
    double registerWithLines(const std::function<double(const LinesRecorder&)>& open, Correction correction,
                             const QString& kind);
    void afterRecorded();  // the window starts a new sale
    void emptyWorkingList();
    void endCorrection();
    void loadOldSale(double number);
    void removeCreditEntry(double entryNo);
    bool addLine(const QString& name, qint64 productNo, double vat, double price, int quantity, const QString& type);
    void renumberFrom(int no);
    void storeTotal();
    // One product into the list: its warnings (prescription class, expiry), the price valid
    // on the sale's date, the values dialog, then the line itself (merged with an equal
    // one); returns a code scanned in the dialog.
    QString addCurrent();
    QString barcodeStep();  // one barcode Enter; returns a code scanned in the dialog
    void followScans(QString next);
    void runPendingCommand();

    Session& session_;
    ProductValuesDialog* values_;
    SaleWindowLinks links_;
    ProductPicker picker_;
    double oldSaleNo_ = 0;
    QDateTime oldSaleDate_;
    double oldSaleTotal_ = 0;
    double creditEntryNo_ = 0;
    double correctionCreditNo_ = 0;
    QString saleKind_ = QStringLiteral("P");
    SaleMode saleMode_ = SaleMode::New;
    Correction correction_ = Correction::None;
    double total_ = 0, discount_ = 0, paid_ = 0;
    QString dateBox_;
    QColor dialogColor_;
    QString pendingCommand_;
};

}  // namespace selvar
