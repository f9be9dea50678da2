#pragma once
// Registration of an SSK prescription (the window TReceteSSKForm, "SSK TİPİ REÇETE
// KAYIT"): one RECETE.DB and one RECSSK.DB row per sale, the patient and the insured as
// HASTA.DB cards, the shares over three buckets (normal, with medicine, special), the VAT
// of the institution's part, and the SSK back sheet printed directly or as a report.
// The store writes the cards, the counters, both rows, the log and the sale's lines in
// one transaction, after every question was answered.
#include "prescriptions/shares.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace selvar {

struct Session;
class Canvas;
namespace report {
class Report;
}

// A line of the SSK working list with what the back sheet and the VAT need.
struct SskPrescriptionLine {
    int no = 0;              // SIRANO
    QString name;            // URUNAD
    qint64 productNo = 0;
    QString type;            // RECKOD
    double vat = 0;          // KDV
    int quantity = 0;
    double price = 0;
    double amount = 0;       // TUTAR
    double n = 0, i = 0, o = 0;  // Nilac, Iilac, Oilac: the amount in its bucket (institution box filled)
    double part = 0;         // the institution's part
    double vatOfPart = 0;    // kdvTut
    QString code;            // ILACBAR
    QString form;            // FORMU
};

// The bucket of an SSK line: "I" with medicine, "O" special, every other letter normal.
Bucket sskBucketOf(const QString& type);

inline const QString SskDataMissing = QStringLiteral("Hasta Bilgileri verilmeden Kayıt Yapılamaz.");
inline const QString SskPrintDataMissing = QStringLiteral("Hasta Bilgileri verilmeden Döküm Alınamaz.");
inline const QString SskFontKey = QStringLiteral("recssk");

class ReceteSskLogic {
public:
    enum class CardState { NotLookedUp, KnownByName, Chosen, New };
    enum class StoreResult { Stored, Stopped };

    explicit ReceteSskLogic(Session& session);

    // ReceteSSKAc's opening: mode 1 a new prescription dated by the date text (today
    // when blank), mode 0 the prescription of the sale number.
    void open(int mode, const QString& dateText, double saleNo);
    int mode() const { return mode_; }
    QString invoiceNotice() const;  // "Bu Reçete<date>Tarihli<no>Nolu Faturaya dahildir" or empty

    // ---- the two rows (RECETE.DB and RECSSK.DB fields)
    QVariant field(const QString& name) const { return rec_.value(name); }
    QString text(const QString& name) const;
    double number(const QString& name) const { return rec_.value(name).toDouble(); }
    void setField(const QString& name, const QVariant& value);
    QVariant sskField(const QString& name) const { return ssk_.value(name); }
    QString sskText(const QString& name) const;
    void setSskField(const QString& name, const QVariant& value);

    // ---- the window's own boxes
    QString institutionBox() const { return institutionBox_; }
    void setInstitutionBox(const QString& code) { institutionBox_ = code; }
    const Institution& institution() const { return institution_; }
    QString headingLabel(int i) const;  // ETIKET1..3
    QString patientName() const { return patientName_; }
    QString patientSurname() const { return patientSurname_; }
    void setPatientName(const QString& n) { patientName_ = n; }
    void setPatientSurname(const QString& s) { patientSurname_ = s; }
    CardState patientState() const { return patientState_; }
    qint64 patientNo() const { return patientNo_; }
    QString insuredName() const { return sskText(QStringLiteral("RS_AD")); }
    QString insuredSurname() const { return sskText(QStringLiteral("RS_SOYAD")); }
    void setInsuredName(const QString& n) { setSskField(QStringLiteral("RS_AD"), n); }
    void setInsuredSurname(const QString& s) { setSskField(QStringLiteral("RS_SOYAD"), s); }
    CardState insuredState() const { return insuredState_; }
    qint64 insuredNo() const { return insuredNo_; }
    QString classLetter() const { return classLetter_; }
    void setClassLetter(const QString& letter);  // "N", "Ç", "E", "R", "D"
    bool illness() const { return sskText(QStringLiteral("HASTALIK")) == QStringLiteral("1"); }
    void setIllness(bool on) { setSskField(QStringLiteral("HASTALIK"), on ? QStringLiteral("1") : QStringLiteral(" ")); }
    QString statusItem() const;        // the item of DURUM_KOD
    void setStatusItem(const QString& item);
    QString relationshipItem() const;  // the item of YAKINLIK_KOD
    void setRelationshipItem(const QString& item);
    QString countryItem() const;
    void setCountryItem(const QString& item);
    QString doctorCodeText() const;
    bool storeAllowed() const { return !patientName_.trimmed().isEmpty() && !patientSurname_.trimmed().isEmpty(); }

    // ---- computing
    // The lines with their printed codes and forms; without them for the VAT alone.
    QList<SskPrescriptionLine> lines(bool withCodes = true) const;
    void computeGross();
    void computeShares();
    const ShareResult& shares() const { return shares_; }
    QStringList shownShareRates() const;     // N, I, O; "" without institution
    QStringList shownDiscountRates() const;
    void computeVat();                       // KDVA, KDVB, KDVC

    // ---- boxes left, keys
    void institutionLeft();
    void chooseInstitution();   // F5
    void patientNameLeft();     // name or surname box left
    void choosePatient();       // F6
    void insuredNameLeft();     // the insured's name or surname box left
    void chooseInsured();       // F8
    void chooseDoctor();        // F7
    void doctorCodeCleared();   // a click on "Doktor Kodu"
    void prescriptionDateLeft();
    void receiptDateLeft();
    void chooseDate(const QString& field);  // DateAl1 into RECTARIH, ALTARIH, RPBASTRH, RPBITRH or HASYATRH

    // ---- store
    void setLinesRecorder(std::function<void(double saleNo)> record) { recordLines_ = std::move(record); }
    StoreResult store();
    bool stored() const { return stored_; }
    double result() const { return result_; }
    // A failure injected after the prescription's row is posted (tests only).
    void setAfterPostHook(std::function<void()> hook) { afterPost_ = std::move(hook); }

    // ---- the back sheet
    bool printDataComplete() const;  // the store's required data
    QStringList backPrintLines() const;
    static constexpr int UnderlinedLine = 0;
    // Draws the page on a canvas that has begun its document, `marginCm` from the left.
    void drawBackPrint(Canvas& canvas, int marginCm) const;
    std::unique_ptr<report::Report> previewReport() const;

private:
    bool dataComplete() const;
    void copyPatientCard(const QVariantMap& card, bool takeRecordFields);
    void takeInsuredCard(const QVariantMap& card);
    bool patientCardDiffers(const QVariantMap& card) const;
    bool insuredCardDiffers(const QVariantMap& card) const;
    QVariantMap patientCardValues() const;
    QVariantMap insuredCardValues() const;
    void putVat(QVariantMap& rec) const;
    void reduceCodes(QVariantMap& rec, QVariantMap& ssk) const;
    QString shownAmount(double v) const;

    Session& session_;
    int mode_ = 1;
    double saleNo_ = 0;
    qint64 rowId_ = 0;     // RECETE.DB row being corrected; 0 for a new row
    qint64 sskRowId_ = 0;  // RECSSK.DB row; 0 for a new row
    QVariantMap rec_, ssk_;
    QString institutionBox_;
    Institution institution_;
    QString patientName_, patientSurname_;
    CardState patientState_ = CardState::NotLookedUp;
    qint64 patientNo_ = 0;
    CardState insuredState_ = CardState::NotLookedUp;
    qint64 insuredNo_ = 0;
    QString rememberedRegistration_;
    QString classLetter_ = QStringLiteral("N");
    double oldNet_ = 0;
    bool stored_ = false;
    double result_ = 0;
    ShareResult shares_;
    std::function<void(double)> recordLines_;
    std::function<void()> afterPost_;
};

}  // namespace selvar
