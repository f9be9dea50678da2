#pragma once
// The pharmacist's private reports: the second password and its log row, the cash report
// of a period (summary, account movements by kind and state, the day-by-day table in
// KASA.DB), the lists of sales and purchases with their total in XTOPLAM.DB, and the
// profit of sold products against their highest earlier entry price.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace selvar {

class Canvas;
class Database;
struct Session;

inline const QString WrongPrivatePasswordMessage = QStringLiteral("Geçersiz Şifre");
// "Tamam" of "ÖZEL ŞİFRE TASDİK": the typed text against EKIM's OZEL, exactly.
bool privatePasswordMatches(Database& db, const QString& typed);
// Closing "Özel Rapor", however it is closed.
void logPrivateReportViewed(Session& session);

// "Son Durum" of an account movement by its kind, NIHAI and BORC.
QString movementState(const QString& kind, int settled, double debit);

struct MovementGroup {
    double credit = 0;  // Σ ALACAK: "Kasa Cari Hesap Borç Toplamı"
    double debit = 0;   // Σ BORC: "Kasa Cari Hesap Alacak Toplamı"
    QString kind;       // "ALIMLAR" ...
    QString state;      // "Açık" ...
    int count = 0;
};

struct CashSummary {
    double purchaseVat = 0, purchaseNet = 0;
    double salesVat = 0, salesNet = 0;
    double retail = 0;
    int retailSales = 0;
    double privateInvoices = 0;
    int invoices = 0;
    double plainPrescriptions = 0;
    int plainCount = 0;
    double uninvoiced = 0;  // institution prescriptions not yet invoiced
    int uninvoicedCount = 0;
    double patientShares = 0;
    double income = 0;
    QList<MovementGroup> groups;
    double totalCredit = 0, totalDebit = 0;  // Σ ALACAK, Σ BORC
    double remaining() const { return totalDebit - totalCredit; }  // "KALAN"
    double creditSales = 0, cash = 0;
    double settledDebit = 0, settledCredit = 0, openDebit = 0, openCredit = 0;
    double discounts = 0;
    double cashRegister = 0;  // "Nakit Kasa Toplamı"
    double general = 0;       // "Genel Kasa Toplamı"
};
CashSummary cashSummary(Database& db, const QDate& start, const QDate& end);
// "38.800 (2 Adet Sat.)"
QString countedAmount(double amount, int count, const QString& unit);
QString wholeAmount(double v);  // thousands separators, no decimals

struct KasaRow {
    QString day;  // "dd.mm.yy" or "Toplam:"
    double retail = 0, plainPrescriptions = 0, privateInvoices = 0, patientShares = 0, creditSales = 0,
           cashIn = 0, cashOut = 0, total = 0, discounts = 0;
};
// KASA.DB rebuilt in one transaction: a row per day and "Toplam:" for the period.
QList<KasaRow> buildKasaTable(Database& db, const QDate& start, const QDate& end);

// ---------------------------------------------------------------- the two lists

struct ListRow {
    QDateTime when;
    QString productName;
    double price = 0;
    qint64 quantity = 0;
    double amount = 0;
    QString kind;  // PARAKENDE of a sale
};
inline const QString NoSalesMessage = QStringLiteral("Satış Yok");
inline const QString NoPurchasesMessage = QStringLiteral("Alış Yok");
// The rows of the period; XTOPLAM.DB refilled with their amounts. `total` is its sum.
QList<ListRow> salesList(Database& db, const QDate& start, const QDate& end, double* total);
QList<ListRow> purchaseList(Database& db, const QDate& start, const QDate& end, double* total);
QString saleKindText(const QString& kind);  // "Fat.+Reç.", "Fatura", "Perakende", "Reçete"
// "&Yazıcı": the list under "SATIŞLAR LİSTESİ" / "ALIŞLAR LİSTESİ".
void drawList(Canvas& canvas, const QString& caption, const QList<ListRow>& rows, double total, int marginCm,
              bool purchases, const QDate& today);

// ---------------------------------------------------------------- profit

struct ProfitRow {
    QString productName;
    double entryPrice = 0;  // 0: no entry before the sale
    bool hasEntry = false;
    qint64 quantity = 0;
    double price = 0;
    double profit = 0;
    double saleNo = 0;
};
const QStringList& profitKindCaptions();  // "Perakende Satışlar" ... "Tüm Satışlar"
// kind: 0 P, 1 R, 2 F, 3 E, 4 all.
QList<ProfitRow> profitRows(Database& db, const QDate& start, const QDate& end, int kind);

}  // namespace selvar
