#pragma once
// Registration of a sale invoice (the window TFaturaForm1, "Fatura Kayıt"): one
// FATURA.DB row made or corrected over the lines of the sale's working list, its totals
// and VAT split, the buyer from an institution or a patient card, an optional credit
// entry, the invoice printed on the pre-printed form, and the sale recorded under the
// stored number in the same transaction.
#include <QDate>
#include <algorithm>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace selvar {

struct Session;
class Canvas;

// A line of SATEMP.DB with the window's calculated fields (nothing rounded).
struct InvoiceLine {
    int no = 0;
    QString name;
    qint64 productNo = 0;
    double price = 0;
    int quantity = 0;
    QString type;
    double vat = 0;        // percent
    double amount = 0;     // Tutar
    double vatIn = 0;      // kdvtut, "KDV İndr."
    double discount = 0;   // iskonto
    double subtotal = 0;   // aratop, "Ara Toplam"
    double vatAfter = 0;   // topKDV, "ToplamKDV"
    double net = 0;        // NetTutur, "NetTutar"
};

// The first KORPARF.DB row, millimetres.
struct InvoiceLayout {
    QVariantMap mm;
    int at(const char* field) const { return mm.value(QString::fromLatin1(field)).toInt(); }
};

class FaturaLogic {
public:
    enum class StoreResult { Stored, Stopped };

    explicit FaturaLogic(Session& session);

    // FaturaKayitAc's opening: mode 1 a new row dated today, mode 0 the row of `invoiceNo`
    // (its NET kept as the old net). The totals are computed.
    void open(int mode, double saleNo, double invoiceNo);
    int mode() const { return mode_; }

    // ---- the row (FATURA.DB fields)
    QVariant field(const QString& name) const { return rec_.value(name); }
    QString text(const QString& name) const { return rec_.value(name).toString(); }
    double number(const QString& name) const { return rec_.value(name).toDouble(); }
    void setField(const QString& name, const QVariant& value);
    double subtotal() const;  // AraTop: BRUT - TENZIL1 - TENZIL2

    // ---- lines and totals
    QList<InvoiceLine> lines() const;
    void computeTotals();  // TopHesap, then KDVhesap
    void discountPercentLeft(const QString& typed);  // "İNDİRİM (%)"
    void discountAmountLeft(const QString& typed);   // "İNDİRİM (TL)"
    static double percentAsTyped(double value);       // 1250 -> 12.50

    // ---- the buyer; true when a card was taken (the focus goes on to the discount)
    bool chooseInstitution();  // F5
    bool choosePatient();      // F6

    // ---- store, credit, leave
    // The sale window's writing of its lines under the stored sale number, run in the
    // store's transaction.
    void setLinesRecorder(std::function<void(double saleNo)> record) { recordLines_ = std::move(record); }
    StoreResult store();
    bool stored() const { return stored_; }
    double result() const { return result_; }
    void creditEntry();  // "Veresiye Kayıt"
    double creditEntryNo() const { return creditEntryNo_; }
    void closing();      // without storing: the credit entry made here goes again

    // ---- printing ("Fatura Kes")
    int roundDigits() const { return roundDigits_; }
    void setRoundDigits(int n) { roundDigits_ = std::clamp(n, 0, 5); }
    // The net after dropping the last n digits (unchanged when it has no more digits).
    double roundedNet() const;
    bool rounds() const;  // n above 0 and the net longer than n digits
    // Prints on the pre-printed form; false when cancelled or without a layout.
    bool print();
    // Draws the invoice on a canvas whose document has begun.
    void drawInvoice(Canvas& canvas, const InvoiceLayout& layout) const;

    static constexpr const char* NoLayout = "Fatura Sayfa Düzeni Tanımlı Değil.";

private:
    bool takeInstitution(const QString& code);
    QString description() const;

    Session& session_;
    int mode_ = 1;
    double saleNo_ = 0;
    qint64 rowId_ = 0;
    QVariantMap rec_;
    double oldNet_ = 0;
    double creditEntryNo_ = 0;
    bool stored_ = false;
    double result_ = 0;
    int roundDigits_ = 2;
    std::function<void(double)> recordLines_;
};

}  // namespace selvar
