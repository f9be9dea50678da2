#pragma once
// The SSK counter (the window TSatisSSKForm, "SSK REÇETELERİ İÇİN SATIŞ İŞLEMLERİ"): the
// shared product list and search, the working list of the prescription (SATEMSSK.DB) with
// the SSK line data, the registration of the prescription and, in its transaction, the
// lines written as a sale with their SSK line rows, movements and stock; an old SSK sale
// loaded again for correction.
#include "sales/product_picker.h"
#include "sales/product_values.h"
#include "sales/satis_logic.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace selvar {

struct Session;

// One line of SATEMSSK.DB.
struct SskLine {
    int no = 0;                 // SIRANO
    QString name;               // URUNAD, the product given
    qint64 productNo = 0;       // URUNO
    qint64 prescribedNo = 0;    // REC_ILACNO, the product written when an equivalent was given
    QString prescribedName;     // REC_ILACAD
    QString equivalence;        // ESDEGERGK
    QString type;               // RECKOD
    double vat = 0;             // KDV
    QString dailyUse;           // GUN_KUL
    QString dose;               // BIRKUL_ALMIK
    int quantity = 0;           // MIKTAR
    double price = 0;           // FIYAT

    double amount() const { return quantity * price; }
};
QList<SskLine> readSskLines(Database& db);

// The opening operations the SSK window calls.
struct SskSaleLinks {
    // The registration (mode 1 new / 0 correction, date text, sale number, the lines'
    // recorder) -> the sale number stored, 0 when left without storing.
    std::function<double(int, const QString&, double, const LinesRecorder&)> receteSskAc;
    // Product movement history of a product.
    std::function<void(qint64, const QString&)> stockCard;
};

struct SskCaptions {
    QString oldPrescriptions = QStringLiteral("Eski Reçeteler");
    QString record = QStringLiteral("SSK Reçete Kayıt");
    bool oldLabelsShown = false;
    QString oldDateLabel;    // "(" + date and time + ")"
    QString oldNumberLabel;  // number + " Nolu ESKİ"
};

inline const QString SskBelowOneMessage = QStringLiteral("1 den küçük miktarlı satış yapılamaz");

class SatisSskLogic {
public:
    SatisSskLogic(Session& session, ProductValuesDialog* values, SskSaleLinks links);

    // Entry from the main window: the list, the search and the total afresh; the working
    // list stays.
    void Giris();
    // The window closes: a loaded correction is abandoned (its list goes with it).
    void closing();
    void setValuesDialog(ProductValuesDialog* values) { values_ = values; }

    ProductPicker& picker() { return picker_; }
    void scannerMark();          // F2 in the product list
    void enterInProductList();   // Enter or double click
    void satEkle();              // the current product through the values dialog

    // ---- the working list
    QList<SskLine> lines() const;
    int lineCount() const;
    // A line posted from the grid: a quantity below 1 is refused and the line deleted.
    void postLine(const SskLine& line);
    void removeLine(int no);     // Ctrl+Delete in the list
    double total() const { return total_; }
    void recomputeTotal();       // on activation and after every change
    // "Eşdeğerini Yazdır": the line was given in place of the list's current product.
    void markEquivalent(int no);
    void setEquivalenceCode(int no, const QString& code);
    void clearEquivalent(int no);  // "Eşdeğerini Sil"

    // ---- the prescription date box
    QString dateBox() const { return dateBox_; }
    void setDateBox(const QString& text) { dateBox_ = text; }
    void dateBoxLeft();  // an invalid date is cleared with a beep

    // ---- commands
    void sskReceteKayit();       // F8
    void eskiReceteler();        // F3; in a correction it abandons it
    void satisListesiIptali();   // Esc outside the product list
    void productCard(int mode);  // Alt+D (0), Insert (1)
    void stockCard();            // Alt+S

    // The lines written under a sale number inside the registration's transaction.
    void recordLines(double saleNo);

    // ---- state
    bool correcting() const { return oldSaleNo_ != 0; }
    double oldSaleNo() const { return oldSaleNo_; }
    QDateTime oldSaleDate() const { return oldSaleDate_; }
    SskCaptions captions() const;
    bool oldSalesAllowed() const;
    bool productCardAllowed() const;

private:
    QString addCurrent();  // returns a code scanned in the dialog
    QString barcodeStep();
    void followScans(QString next);
    void addLine(const SskLine& line);
    void renumberFrom(int no);
    void emptyWorkingList();
    void endCorrection();
    void loadOldSale(double number);

    Session& session_;
    ProductValuesDialog* values_;
    SskSaleLinks links_;
    ProductPicker picker_;
    double total_ = 0;
    QString dateBox_;
    double oldSaleNo_ = 0;
    QDateTime oldSaleDate_;
    QString oldKind_;  // PARAKENDE of the old sale: "E" stays "E"
};

}  // namespace selvar
