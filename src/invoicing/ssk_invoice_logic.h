#pragma once
// The SSK invoice of one institution and one patient group (the window ThazirFatSSKForm,
// "SSK TİPİ FATURA DÜZENLEME"): the prescriptions of FATSSK.DB with the VAT of their
// institution's share, the selection of a group, its contribution and discount, the
// four printouts and the recording of the invoice against the institution.
#include "prescriptions/shares.h"
#include "print/font.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <array>
#include <functional>

namespace selvar {

struct Session;
class Canvas;

// ---- the arithmetic

// The patient-rate class of a line's VAT by the insured's status (DURUM_KOD): "Ç" for
// 1, 3 and 4, "E" for 2, "R" for 5 to 8, nothing otherwise.
QString sskStatusClass(const QString& status);
// The class of a group digit: 4 and 5 pensioners, 6 and 8 report or in hospital, the rest
// workers.
QString sskGroupClass(QChar group);
QString sskStatusText(const QString& code);                   // "Çalışan Sigr." ...
QString sskRelationText(const QString& code, bool printed);  // "Kendisi" ...; "Erkek Çocuk" printed
QString sskGroupListName(QChar group);                        // "Kurum Memuru Reçeteler," ...

// KDVtut: the VAT contained in the institution's share of one sale line.
double sskLineVat(const Institution& inst, double price, double quantity, const QString& type, double vatRate,
                  const QString& status);

// A prescription of the selection with its calculated fields.
struct SskPrescription {
    QVariantMap row;  // the FATSSK.DB fields, upper case
    double saleNo = 0;
    qint64 rowId = 0;               // of FATSSK.DB
    std::array<double, 3> gross{};  // BRUTN, BRUTI, BRUTO
    std::array<double, 3> rate{};   // yuzdeN, yuzdeI, yuzdeO
    std::array<double, 3> share{};  // hkpN, hkpI, hkpO
    std::array<double, 3> discount{};  // indirN, indirI, indirO
    double shareSum() const { return share[0] + share[1] + share[2]; }        // HASTAKATPAY
    double discountSum() const { return discount[0] + discount[1] + discount[2]; }
    double grossSum() const { return gross[0] + gross[1] + gross[2]; }
    double net = 0;  // NET
    QString text(const char* field) const { return row.value(QString::fromLatin1(field)).toString(); }
};
void computeSskPrescription(SskPrescription& p, const Institution& inst, QChar group);

// The invoice totals of the selection.
struct SskTotals {
    std::array<double, 3> gross{};     // SN, SI, SO
    std::array<double, 3> rate{};      // the group's patient rates
    std::array<double, 3> share{};     // HKPN, HKPI, HKPO
    std::array<double, 3> discount{};  // ARAN, ARAI, ARAO
    double net = 0;                    // TopNet
    double averageNet = 0;
    int count = 0;
    std::array<double, 3> vat{};  // the VAT query of TOPSSK
    double vatSum() const { return vat[0] + vat[1] + vat[2]; }
    double shareSum() const { return share[0] + share[1] + share[2]; }
    double discountSum() const { return discount[0] + discount[1] + discount[2]; }
    double grossSum() const { return gross[0] + gross[1] + gross[2]; }
};
SskTotals computeSskTotals(const std::array<double, 3>& sums, const Institution& inst, QChar group);

// The net after dropping `digits` trailing digits; unchanged when it has no more.
double sskRoundedNet(double net, int digits);

// A sale line of the prescription, as the window shows it.
struct SskSaleLine {
    qint64 line = 0, productNo = 0;
    QString name, barcode, type;
    double price = 0, quantity = 0, vat = 0;
};

class HazirFatSskLogic {
public:
    // What the window asks of others: the print choice (three digits or nothing), the
    // repricing of a sale ("Devam"/"Dur") and the diskette (group digit, code, FATNO).
    struct Links {
        std::function<QString()> choosePrintout;
        std::function<QString(double saleNo)> reevaluate;
        std::function<void(QChar group, const QString& code, double invoiceNo)> diskette;
    };

    explicit HazirFatSskLogic(Session& session, Links links = {});

    // Opens FATSSK.DB for the institution: an issued invoice when invoiceNo is not 0.
    // The VAT of every prescription is computed (KDVAyarla).
    void open(const QString& code, double invoiceNo);
    const Institution& institution() const { return inst_; }
    QString code() const { return code_; }
    double invoiceNo() const { return invoiceNo_; }
    bool issued() const { return invoiceNo_ != 0; }
    // The number and date boxes at opening: the first row's FATURANO and FATARIH for an
    // issued invoice, empty and today otherwise.
    QString openingNumber() const { return openingNumber_; }
    QDate openingDate() const { return openingDate_; }

    // ---- the prescription grid
    QList<QVariantMap> prescriptions() const;  // FATSSK.DB rows with their ROWID
    QList<SskSaleLine> saleLines(double saleNo) const;
    QString patientCaption(qint64 patientNo) const;  // "<ad> <soyad> Adlı Hastaya Ait Reçete İçeriği"
    // Delete with "Bu Reçete Listeden Çıkarılsın mı?"; true when dropped.
    bool dropPrescription(qint64 rowId);
    void computeVat();  // KDVAyarla

    // ---- the printout's selection
    // Builds the selection of the three digits, TOPSSK.DB and the totals; false when it
    // has no row.
    bool select(const QString& choice);
    QString choice() const { return choice_; }
    QChar group() const { return choice_.isEmpty() ? QChar(u'0') : choice_.at(0); }
    const QList<SskPrescription>& selection() const { return selection_; }
    const SskTotals& totals() const { return totals_; }
    bool hasTotals() const { return hasTotals_; }

    // ---- "Fatura Ve Döküm": number and date box texts as typed
    void invoiceAndPrint(const QString& numberBox, const QString& dateBox);
    // Step 5: records the invoice of the selection; false when a prescription was taken
    // by another invoice (nothing written then).
    bool record(const QString& numberBox, const QDate& date);

    // ---- "&Reç.Yeniden Değerlendir"
    void recheckPrices();
    // ---- "SSK &Disketi Hazırla"
    void diskette();

    // ---- the printouts (Part of "Fatura Ve Döküm"; a canvas whose document has begun)
    // PrinterOzet: false when cancelled or without a layout.
    bool printInvoice(const QString& dateText);
    void drawInvoice(Canvas& canvas, const QVariantMap& layout, const QString& dateText);
    void printList(int kind);  // 1 list, 2 backs, 3 list with drugs
    QStringList listHeading() const;  // ListeBasligiYaz's lines after "Sayfa No:1"
    void drawList(Canvas& canvas, int marginCm);
    void drawListWithDrugs(Canvas& canvas, int marginCm);
    void drawBacks(Canvas& canvas, int marginCm);
    // The list font of FONT.DB "Fatressk" and its margin (cm).
    FontDef& listFont() { return listFont_; }
    int& listMargin() { return listMargin_; }
    bool listFontChanged = false;
    void loadListFont();
    void saveListFont();

    static constexpr const char* NoLayout = "Fatura Sayfa Düzeni Tanımlı Değil.";

private:
    void refreshFromPrescription(double saleNo);
    void fillTotals();

    Session& session_;
    Links links_;
    QString code_;
    Institution inst_;
    double invoiceNo_ = 0;
    bool openedIssued_ = false;
    QString openingNumber_;
    QDate openingDate_;
    QString choice_;
    QList<SskPrescription> selection_;
    SskTotals totals_;
    bool hasTotals_ = false;
    FontDef listFont_;
    int listMargin_ = 0;
};

}  // namespace selvar
