#pragma once
// Banded reports: a report definition and its data produce pages on a canvas, so the same
// report goes to the preview, the printer, a PDF file and into tests.
//
// Bands print in this order: page header (every page), title (first page), column header
// (top of every column), then per row of the data source the headers of the groups that
// start, the detail band and each sub-detail with its rows (read for the detail row
// through its link, such as the sale number); group footers when a group ends; the
// summary at the end; the page footer at the bottom of every page. A band that does not
// fit moves to the next column or page; a band whose height is 0 or that is not visible
// takes no room.
//
// A field control in a sub-detail's bands shows its detail row's field when the sub-detail
// row has none of that name (a prescription's totals under its lines).
//
// Code changes bands and controls before each printing through beforePrint (heights,
// widths, positions, texts, visibility), as the printouts do per prescription. All sizes
// are millimetres; positions are taken from the band's top-left corner.
#include "print/font.h"
#include "print/page_setup.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace selvar {
class Canvas;
class Database;
}  // namespace selvar

namespace selvar::report {

// One row of data: values by field name (case-insensitive).
class Row {
public:
    Row() = default;
    Row(std::initializer_list<std::pair<QString, QVariant>> values);

    QVariant value(const QString& field) const { return values_.value(field.toUpper()); }
    bool has(const QString& field) const { return values_.contains(field.toUpper()); }
    void set(const QString& field, const QVariant& value) { values_.insert(field.toUpper(), value); }
    QString text(const QString& field) const { return value(field).toString(); }
    double number(const QString& field) const { return value(field).toDouble(); }
    bool isEmpty() const { return values_.isEmpty(); }

private:
    QHash<QString, QVariant> values_;
};

// Where rows come from. A sub-detail's source is asked with the link values of its
// detail row as parameters.
class DataSource {
public:
    virtual ~DataSource() = default;
    virtual std::vector<Row> rows(const QVariantMap& params) = 0;
};

// Rows held in memory; asked with parameters, it gives the rows whose fields of the same
// names hold those values.
class RowsDataSource : public DataSource {
public:
    explicit RowsDataSource(std::vector<Row> rows) : rows_(std::move(rows)) {}
    std::vector<Row> rows(const QVariantMap& params) override;

private:
    std::vector<Row> rows_;
};

// A SELECT with named parameters; the parameters asked for and the fixed ones are bound
// when the statement names them. Columns of the tables the statement reads come back with
// their field types (dates as dates).
class SqlDataSource : public DataSource {
public:
    SqlDataSource(Database& db, const QString& sql, const QVariantMap& fixedParams = {});
    std::vector<Row> rows(const QVariantMap& params) override;

    QString sql;
    QVariantMap fixedParams;

private:
    Database& db_;
};

enum class Align { Left, Center, Right };

namespace Frame {
enum : unsigned { None = 0, Left = 1, Top = 2, Right = 4, Bottom = 8, All = 15 };
}

class Band;
class Report;
class Engine;

// What a band's code and the expressions see when the band prints.
struct BandContext {
    const Report& report;
    const Row& row;             // the row the band shows (for group footers the group's last)
    const Row* master = nullptr;  // the detail row of a sub-detail's bands
    int page = 1;               // page number, from 1
    int column = 0;             // report column, from 0
    int recordNumber = 0;       // detail rows so far, this one included
    int groupRecordNumber = 0;  // the same within the innermost group
    int subRecordNumber = 0;    // sub-detail rows so far under this detail row
    const Engine* engine = nullptr;

    QVariant value(const QString& field) const { return row.value(field); }
    // The running value of a sum or count control, found by its name.
    double total(const QString& controlName) const;
};

using Expression = std::function<QVariant(const BandContext&)>;
using RowPredicate = std::function<bool(const Row&)>;

class Control {
public:
    enum class Kind { Text, Field, Expression, Sum, Count, PageNumber, RecordNumber, Date, Line, Box };

    Kind kind = Kind::Text;
    QString name;        // for code that changes the control
    QString text;        // Text: the text; Field, Sum, Count: the field
    Expression expression;
    double left = 0, top = 0, width = 0;
    double height = 0;   // 0: one line of its font (frames); Box: the box's height
    Align align = Align::Left;
    std::optional<FontDef> font;  // the report's font when unset
    std::optional<int> styles;     // FontStyle bits replacing the font's
    int fontSize = 0;              // points replacing the font's, when above 0
    QString pattern;     // Format pattern for the value ("%11.0n")
    QString mask;        // number mask when there is no pattern ("#,#")
    unsigned frame = Frame::None;
    double lineWidth = 0;  // Line, Box and frames; 0 the thin line
    bool visible = true;
    // Sums and counts: which rows count, and over which rows (-1 the detail rows or, in
    // a sub-detail's bands, that sub-detail's rows; otherwise that sub-detail's).
    RowPredicate condition;
    int subDetail = -1;

    // A control takes room only when it is visible and wider than 0.
    bool shown() const { return visible && width > 0; }

    Control& named(const QString& n) { name = n; return *this; }
    Control& alignRight() { align = Align::Right; return *this; }
    Control& alignCenter() { align = Align::Center; return *this; }
    Control& withPattern(const QString& p) { pattern = p; return *this; }
    Control& withMask(const QString& m) { mask = m; return *this; }
    Control& withFont(const FontDef& f) { font = f; return *this; }
    Control& withStyles(int s) { styles = s; return *this; }
    Control& withSize(int points) { fontSize = points; return *this; }
    Control& withHeight(double mm) { height = mm; return *this; }
    Control& framed(unsigned sides = Frame::All) { frame = sides; return *this; }
    Control& when(RowPredicate p) { condition = std::move(p); return *this; }
    Control& overSubDetail(int index) { subDetail = index; return *this; }
};

class Band {
public:
    enum class Kind {
        Title, PageHeader, ColumnHeader, GroupHeader, Detail, SubDetailHeader, SubDetail,
        SubDetailFooter, GroupFooter, Summary, PageFooter
    };

    explicit Band(Kind kind) : kind_(kind) {}
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    Kind kind() const { return kind_; }

    double height = 0;  // 0 hides the band
    bool visible = true;
    // Hidden controls give their room to the controls on their right: a column whose
    // controls are all hidden is taken out and the columns after it move left.
    bool closeUp = false;
    unsigned frame = Frame::None;
    // Runs before each printing; returning false skips this printing.
    std::function<bool(Band&, const BandContext&)> beforePrint;

    bool shown() const { return visible && height > 0; }

    Control& text(const QString& text, double left, double top, double width);
    Control& field(const QString& field, double left, double top, double width);
    Control& expression(Expression e, double left, double top, double width);
    Control& sum(const QString& field, double left, double top, double width);
    // Counts rows; with a field, the rows where it is not null.
    Control& count(double left, double top, double width, const QString& field = {});
    Control& pageNumber(double left, double top, double width);
    Control& recordNumber(double left, double top, double width);
    Control& date(double left, double top, double width);  // the report's print date
    Control& line(double left, double top, double width, double thicknessMm = 0);
    Control& box(double left, double top, double width, double height);

    Control* control(const QString& name);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

private:
    Control& add(Control::Kind kind, double left, double top, double width);

    Kind kind_;
    std::vector<std::unique_ptr<Control>> controls_;
};

using Calculation = std::function<QVariant(const Row&)>;

struct Group {
    std::function<QVariant(const Row&)> key;
    Band header{Band::Kind::GroupHeader};
    Band footer{Band::Kind::GroupFooter};
    bool newPage = false;  // every group but the first starts on a new page
};

struct SubDetail {
    std::shared_ptr<DataSource> source;
    // Detail field -> parameter of the sub-detail's source ("SATISNO" -> "SATISNO").
    std::vector<std::pair<QString, QString>> link;
    Band header{Band::Kind::SubDetailHeader};
    Band band{Band::Kind::SubDetail};
    Band footer{Band::Kind::SubDetailFooter};
    bool headerFooterWhenEmpty = false;  // header and footer also for a detail row without rows

    void calculate(const QString& field, Calculation c) { calculations.emplace_back(field, std::move(c)); }
    std::vector<std::pair<QString, Calculation>> calculations;
};

class Report {
public:
    Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString title;               // the job's title
    PageSetup setup;             // orientation, paper, custom size of the job
    std::optional<FontDef> font;  // the canvas's font when unset
    double leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;  // mm
    int columns = 1;
    double columnGap = 0;        // mm between report columns
    QDate printDate;             // what date controls print; today when unset

    std::shared_ptr<DataSource> source;
    QVariantMap params;

    Band titleBand{Band::Kind::Title};
    Band pageHeader{Band::Kind::PageHeader};
    Band columnHeader{Band::Kind::ColumnHeader};
    Band detail{Band::Kind::Detail};
    Band summary{Band::Kind::Summary};
    Band pageFooter{Band::Kind::PageFooter};

    Group& addGroup(std::function<QVariant(const Row&)> key);
    Group& addGroup(const QString& field);
    SubDetail& addSubDetail(std::shared_ptr<DataSource> source, std::vector<std::pair<QString, QString>> link);
    // A calculated field of the detail rows, worked out when the rows are read; later
    // calculations see the earlier ones.
    void calculate(const QString& field, Calculation c) { calculations_.emplace_back(field, std::move(c)); }

    Group& group(int i) { return *groups_[size_t(i)]; }
    int groupCount() const { return int(groups_.size()); }
    SubDetail& subDetail(int i) { return *subDetails_[size_t(i)]; }
    int subDetailCount() const { return int(subDetails_.size()); }

    // Lays the report out on a canvas whose document has begun, from a fresh page on.
    // Returns the number of pages used.
    int render(Canvas& canvas);

private:
    friend class Engine;
    std::vector<std::unique_ptr<Group>> groups_;
    std::vector<std::unique_ptr<SubDetail>> subDetails_;
    std::vector<std::pair<QString, Calculation>> calculations_;
};

// The text a control shows for a value: pattern, else mask for numbers, else dates in
// the short date format and numbers in the general format.
QString displayText(const QVariant& value, const QString& pattern, const QString& mask);

}  // namespace selvar::report
