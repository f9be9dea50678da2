#pragma once
// The reports' periods and the two small windows of operating information: the date-range
// dialog's checks, the monthly report of one product (thirteen months of units in and
// out) and the operation log (PROSES.DB) of a period with its filter, the records each
// row points at and the deletion of old rows.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace selvar {

class Canvas;
class Database;
struct Session;

inline const QString InvalidRangeDateMessage = QStringLiteral("Geçersiz Bir Tarih Belirlendi");
inline const QString ReversedRangeMessage = QStringLiteral("\"den\" tarihi \"kadar\" tarihinden küçük olamaz");

// A date box left: true when it is blank or holds a date (otherwise: a beep, the focus stays).
bool dateBoxAcceptable(const QString& text);

struct DateRange {
    QDate first, last;
    bool accepted = false;
};
// "&Tamam" of a period: both dates valid and in order, else the message and nullopt.
std::optional<DateRange> checkDateRange(Session& session, const QString& first, const QString& last);

// The first moment of `first` and the last millisecond of `last`.
QDateTime periodStart(const QDate& first);
QDateTime periodEnd(const QDate& last);

// ---------------------------------------------------------------- the monthly report

struct MonthRow {
    QString label;  // "MAYIS 1997", "TOPLAM "
    double in = 0;  // GİREN
    double out = 0; // ÇIKAN
};

const QStringList& monthListNames();  // "Ocak" ... "Aralık"

class AylikRaporLogic {
public:
    AylikRaporLogic(Session& session, qint64 productNo);
    qint64 productNo() const { return productNo_; }
    QString productName() const;
    int firstMonth() const { return month_; }  // 1..12
    int year() const { return year_; }
    void setFirstMonth(int month);
    void previousYear() { --year_; }
    void nextYear() { ++year_; }
    // Thirteen months from the first one, then "TOPLAM ".
    QList<MonthRow> rows() const;

private:
    Session& session_;
    qint64 productNo_;
    int month_;
    int year_;
};

// ---------------------------------------------------------------- the operation log

struct LogRow {
    qint64 rowId = 0;
    QDateTime when;       // TARIH
    QString description;  // ACIKLA
    QString type;         // ISLETIPI
    double price = 0;     // FIYAT
    qint64 quantity = 0;  // MIKTAR
    double amount = 0;    // TUTAR
    std::optional<double> number;  // ISLETNO
};

struct LogContents {
    QStringList headings;
    QList<QStringList> rows;
};

inline const QString DeleteLogQuestion =
    QStringLiteral("Verilen Tarihler Arasındaki Program İşletim Bilgileri Silinecektir. Onaylıyormusunuz?");

class IsletimLogic {
public:
    IsletimLogic(Session& session, const QDate& first, const QDate& last);
    QString caption() const;  // first "-" last " ARASI PROGRAM İŞLETİM LİSTESİ"
    static const QStringList& filterItems();  // "Tümünü" and the eight types
    void setFilter(int item) { filter_ = item; }
    int filter() const { return filter_; }
    QList<LogRow> rows() const;
    // "İŞLETİM NO" as the table shows it: "Satış No:" + number ... by the row's type.
    static QString numberText(const LogRow& row);
    static bool hasContents(const LogRow& row);
    LogContents contents(const LogRow& row) const;  // "İçeri&k"
    // "&Sil": both dates checked first; then the question; true when rows were deleted.
    bool deletePeriod(const QString& first, const QString& last);
    // "&Yazıcı": the listing of the rows shown, pages under "Sayfa No :" and the headings.
    QString listingHeading(bool firstPage) const;
    static QString listingLine(const LogRow& row);
    void drawListing(Canvas& canvas, int marginCm) const;

private:
    Session& session_;
    QDate first_, last_;
    int filter_ = 0;
};

}  // namespace selvar
