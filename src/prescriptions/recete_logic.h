#pragma once
// Registration of an institution prescription (the window TReceteForm, "REÇETE KAYIT"):
// one RECETE.DB row created or corrected for a sale, its shares computed from the sale's
// working list, the patient and doctor cards, the book number, an optional credit entry
// and the standard back-print.
#include "data/operations.h"
#include "prescriptions/shares.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace selvar {

struct Session;
class Canvas;

// A line of the sale with the VAT of the institution's part of it.
struct PrescriptionLine : SaleLine {
    double vatOfInstitutionPart = 0;  // kdvTut
};

// The options of the standard back-print.
struct StandardBackPrintOptions {
    bool syringes = true;      // "İlaç ve Enjektör Adetleri Yazılsın"
    bool visa = true;          // "Vize Trh Yazılsın"
    bool serial = true;        // "Seri No Yazılsın"
    bool protocol = true;      // "Protokol No Yazılsın"
    int marginCm = 0;          // "Yazıcı Sol Marjin (cm)"
};

class ReceteLogic {
public:
    enum class PatientState { NotLookedUp, KnownByName, Chosen, New };
    enum class StoreResult { Stored, Stopped };

    explicit ReceteLogic(Session& session);

    // ReceteKayitAc's opening: mode 1 inserts a new row, mode 0 corrects the row of the
    // book number.
    void open(const QString& bookNo, int mode, const QString& dateText, double saleNo);
    int mode() const { return mode_; }
    QString invoiceNotice() const;  // "Bu Reçete ... Nolu Faturaya dahildir." or empty

    // The record being entered (RECETE.DB fields) and the window's own boxes.
    QVariant field(const QString& name) const { return rec_.value(name); }
    QString text(const QString& name) const;
    QDate date(const QString& name) const { return rec_.value(name).toDate(); }
    double number(const QString& name) const { return rec_.value(name).toDouble(); }
    void setField(const QString& name, const QVariant& value);

    QString institutionBox() const { return institutionBox_; }
    void setInstitutionBox(const QString& code) { institutionBox_ = code; }
    const Institution& institution() const { return institution_; }
    QString patientName() const { return patientName_; }
    QString patientSurname() const { return patientSurname_; }
    void setPatientName(const QString& n) { patientName_ = n; }
    void setPatientSurname(const QString& s) { patientSurname_ = s; }
    PatientState patientState() const { return patientState_; }
    qint64 patientNo() const { return patientNo_; }
    QString doctorName() const { return doctorName_; }
    QString doctorSurname() const { return doctorSurname_; }
    void setDoctorName(const QString& n) { doctorName_ = n; }
    void setDoctorSurname(const QString& s) { doctorSurname_ = s; }
    QString classLetter() const { return classLetter_; }
    void setClassLetter(const QString& letter);  // recomputes the shares when it changes
    bool storeAllowed() const { return !patientName_.trimmed().isEmpty(); }
    bool creditAllowed() const { return !institutionBox_.trimmed().isEmpty() || !patientName_.trimmed().isEmpty(); }

    // ---- computing
    QList<PrescriptionLine> lines() const;
    void computeGross();
    void computeShares();
    const ShareResult& shares() const { return shares_; }
    QStringList shownShareRates() const;     // five texts, "" without institution
    QStringList shownDiscountRates() const;
    void computeVat();                       // KDVA, KDVB, KDVC of the record

    // ---- boxes left, keys
    void institutionLeft();
    void chooseInstitution();                // F5
    void patientNameLeft();                  // name or surname box left
    void choosePatient();                    // F6
    void doctorCodeLeft(const QString& codeText);
    void doctorNameLeft();
    void chooseDoctor();                     // F7
    void prescriptionDateLeft();
    void receiptDateLeft();
    void visaLeft(const QString& text);      // "" clears; not a date: previous value with a beep
    void doctorNameEntered();
    QString headingLabel(int i) const;       // ETIKET1..6 of the institution
    void chooseHeading(int i, const std::function<QString()>& pick);  // F3 or double click

    // ---- store, credit, close
    // The sale window's writing of its lines under the stored sale number; the store
    // runs it in its own transaction, so the prescription and its lines land together.
    void setLinesRecorder(std::function<void(double saleNo)> record) { recordLines_ = std::move(record); }
    StoreResult store();
    bool stored() const { return stored_; }
    double result() const { return result_; }
    void creditEntry();
    double creditEntryNo() const { return creditEntryNo_; }
    void closing();                          // without storing: the credit entry goes again

    // The back-print choice left for the caller: 2 stamped, 1 defined, 0 none.
    int printChoice() const { return printChoice_; }
    void setPrintChoice(int c) { printChoice_ = c; }

    // ---- the standard back-print
    QStringList standardBackPrintLines(const StandardBackPrintOptions& o) const;
    static constexpr int UnderlinedLine = 1;  // the rates line
    // Draws the page on a canvas that has begun its document; false without a patient.
    bool drawStandardBackPrint(Canvas& canvas, const StandardBackPrintOptions& o) const;
    bool checkPatientForPrint() const;  // "Lütfen Hasta adını verin!"

private:
    Institution loadInstitution(const QString& code) const;
    void copyCard(const QVariantMap& card, bool takeRecordFields);  // HastaBilgiYaz
    QVariantMap patientCard(qint64 no) const;
    bool cardDiffers(const QVariantMap& card) const;
    QVariantMap cardValues() const;
    static QString classOfCard(const QVariantMap& card);
    QString shownAmount(double v) const;
    QList<PrescriptionLine> linesOfClass(const QString& cls) const;
    void putVat(QVariantMap& rec) const;  // KDVA, KDVB, KDVC by the class in rec

    Session& session_;
    int mode_ = 1;
    double saleNo_ = 0;
    qint64 rowId_ = 0;
    std::function<void(double)> recordLines_;
    QVariantMap rec_;
    QString institutionBox_;
    Institution institution_;
    QString patientName_, patientSurname_;
    PatientState patientState_ = PatientState::NotLookedUp;
    qint64 patientNo_ = 0;
    QString doctorName_, doctorSurname_;
    QString classLetter_ = QStringLiteral("Ç");
    double oldNet_ = 0;
    double creditEntryNo_ = 0;
    bool stored_ = false;
    double result_ = 0;
    int printChoice_ = 0;
    ShareResult shares_;
};

inline const QString BookCounterBusy = QStringLiteral("1-2 saniye sonra OK tuşuna basın.");

}  // namespace selvar
