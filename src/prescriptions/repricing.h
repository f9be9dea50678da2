#pragma once
// Repricing recorded prescriptions: the price in force on a date, the sales whose lines
// need another price, a prescription's amounts rebuilt from its stored lines, the window
// that reprices one prescription (TYeniDegForm) and the automatic run over all
// uninvoiced prescriptions from a date on.
#include "prescriptions/shares.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace selvar {

class Canvas;
class Database;
struct Session;

struct PriceInForce {
    double price = 0;
    QDateTime date;  // FITARIH of the history entry
};
// The last history entry of the product dated (date part only) on or before `day`; none
// when the product has no history or every entry is later.
std::optional<PriceInForce> priceInForce(Database& db, qint64 productNo, const QDate& day);

// "Yeniden Değerlendirme": prescription sales from `from` on (null: from the earliest)
// with a line sold at another price than its product's card, in sale-number order.
QList<double> salesAtStalePrices(Database& db, const QDate& from);
// "Esk.Fyt.lı Rç.Değerlendirme": prescription sales from `from` on with a line sold at the
// card's price although the prescription is dated before that price.
QList<double> salesAtTooNewPrices(Database& db, const QDate& from);

// The interactive runs: `lineSales` has one sale number per line found, in order; `open`
// shows each sale once, when its lines end (the last one too), and "Dur" ends the run.
// The number of sales shown.
int repriceSales(const QList<double>& lineSales, const std::function<bool(double saleNo)>& open);

// The prescription of a sale rebuilt from its stored lines: the five gross fields, the
// shares with the stored class and the share rates at full precision, HASTAKATPAY, NET
// and KDVA..KDVC. Runs in the caller's transaction; false when the sale has no prescription.
bool recomputePrescription(Database& db, double saleNo);

// TYeniDlg: the first day of the current month as the date box shows it at first.
QString repricingStartText(const QDate& today);
// The date box's text: a valid date, or empty for "from the earliest"; nullopt when it is
// neither (the focus goes back to the box).
std::optional<QDate> repricingStart(const QString& text);

inline const QString RepricingZeroMessage = QStringLiteral(
    "Yeni Satış Fiyatı Olarak 0 veya daha küçük bir değer verilemez. Gereken değeri vermek için F1 tuşuna basıp yardım alın");
inline const QString RepricingConfirmQuestion = QStringLiteral("Fiyat Değişikliğini Tasdikliyormusunuz?");

// One line of YENIF.DB as the window shows it.
struct RepricingLine {
    int no = 0;            // SIRANO
    qint64 productNo = 0;
    QString productName;
    qint64 quantity = 0;
    QDateTime saleTime;    // TARIH
    double soldPrice = 0;  // ESKIFIYAT
    double cardPrice = 0;  // KARTFIYATI
    QDate cardDate;        // the card's FIYATARIH
    double newPrice = 0;   // YENIFIYAT; 0 = no proposal
    QDateTime newDate;     // YENIFYTRH
    double difference = 0; // FARK
    QString prescriptionType;
    double vat = 0;
};

// TYeniDegForm's logic: one prescription repriced line by line.
class YeniDegLogic {
public:
    enum class Choice { CardPrice, HistoryPrice };  // "Yeni Satış Fiyat Aktarma Seçimi"
    enum class Result { Continue, Stop };           // "Devam" / "Dur"

    explicit YeniDegLogic(Session& session);

    // Steps 1 to 4: YENIF.DB rebuilt, the proposals, the invoice notice and the shares.
    // False when the sale has no prescription.
    bool open(double saleNo);
    double saleNo() const { return saleNo_; }
    const QVariantMap& prescription() const { return rec_; }
    QDate prescriptionDate() const { return rec_.value(QStringLiteral("RECTARIH")).toDate(); }
    QString invoiceNotice() const;  // FATARIH + " Tarihinde FATURASI Kesilmiştir."; empty when not invoiced
    const Institution& institution() const { return institution_; }
    const ShareResult& shares() const { return shares_; }
    QString institutionRule() const;  // "Reçete Tarihine Göre" / "Son Fiyat Tarihine Göre"
    Choice choice() const { return choice_; }
    void setChoice(Choice c) { choice_ = c; }
    bool changed() const { return changed_; }

    QList<RepricingLine> lines() const;
    // The price history of a product, oldest first.
    QList<PriceInForce> history(qint64 productNo) const;
    // Moving onto a line: true (a beep) when its proposal is dated after the prescription.
    bool proposalAfterPrescription(int lineNo) const;

    // Step 6: the line's proposal from the card, or from the history entry chosen.
    void proposeCardPrice(int lineNo);
    void proposeHistoryPrice(int lineNo, const PriceInForce& entry);
    // Step 7: refused for 0 or less, asked, then the sale line, YENIF and the prescription's
    // gross, shares, net and VAT in one transaction. True when transferred.
    bool transfer(int lineNo);
    // Step 8: "&Sonraki " (with the credit-entry reminder for a changed prescription) and "&Dur".
    Result next();
    Result stop() { return Result::Stop; }

    // The rates and amounts as the window shows them.
    QStringList shownDiscountRates() const;
    QStringList shownShareRates() const;
    static QString shownAmount(double v);
    // "&R.A.Dkm": the back sheet's lines (the first underlined), and the sheet drawn with
    // the margin in centimetres.
    QStringList backPrintLines() const;
    void drawBackPrint(Canvas& canvas, int marginCm) const;

private:
    void loadPrescription();
    void computeShares();
    void setProposal(int lineNo, double price, const QDateTime& date);

    Session& session_;
    double saleNo_ = 0;
    QVariantMap rec_;
    Institution institution_;
    QString rule_;  // the institution's YDEGER
    ShareResult shares_;
    Choice choice_ = Choice::CardPrice;
    bool changed_ = false;
};

// The automatic run of OtomatikDegerlendir.
struct AutomaticRepricing {
    enum Option { AllAtPrescriptionDate = 0, ChosenAtPrescriptionDate = 1, AllAtLatest = 2, ChosenAtLatest = 3 };
    QStringList memo;          // the report's lines
    QList<double> saleNumbers; // "Değerlendirilen Reçetelerin Satış Noları"
    int lines = 0;
    int prescriptions = 0;
};
// The option's text after the date and " reçete Tarinden itibaren ".
QString automaticRepricingText(int option, const QString& institution);
// Options 1 and 3 need an institution: the warning when it is missing, else empty.
QString automaticRepricingRefusal(int option, const QString& institution);
// Both parts, each in one transaction; the lines and prescriptions of both are gathered.
AutomaticRepricing runAutomaticRepricing(Session& session, int option, const QString& institution, const QDate& from);

}  // namespace selvar
