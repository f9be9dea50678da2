#include "print/report.h"

#include "core/dates.h"
#include "core/format.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/sql.h"
#include "print/canvas.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace selvar::report {
using namespace Qt::Literals::StringLiterals;

// ---------------------------------------------------------------- rows and sources

Row::Row(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto& [k, v] : values) set(k, v);
}

namespace {

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    const bool an = a.typeId() != QMetaType::QString && a.canConvert<double>();
    const bool bn = b.typeId() != QMetaType::QString && b.canConvert<double>();
    if (an && bn) return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

}  // namespace

std::vector<Row> RowsDataSource::rows(const QVariantMap& params)
{
    std::vector<Row> out;
    for (const Row& r : rows_) {
        bool ok = true;
        for (auto it = params.begin(); ok && it != params.end(); ++it) ok = sameValue(r.value(it.key()), it.value());
        if (ok) out.push_back(r);
    }
    return out;
}

SqlDataSource::SqlDataSource(Database& db, const QString& s, const QVariantMap& fixed)
    : sql(s), fixedParams(fixed), db_(db)
{
}

std::vector<Row> SqlDataSource::rows(const QVariantMap& params)
{
    QVariantMap all = fixedParams;
    for (auto it = params.begin(); it != params.end(); ++it) all.insert(it.key(), it.value());

    // The tables the statement reads give the columns their types.
    std::vector<const TableDef*> tables;
    static const QRegularExpression from(uR"(\b(?:FROM|JOIN)\s+([A-Za-z_][A-Za-z0-9_]*))"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    for (auto m = from.globalMatch(sql); m.hasNext();)
        if (const TableDef* t = findTable(m.next().captured(1))) tables.push_back(t);

    Sql q(db_, sql);
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QRegularExpression named(u":"_s + QRegularExpression::escape(it.key()) + uR"(\b)"_s,
                                       QRegularExpression::CaseInsensitiveOption);
        if (named.match(sql).hasMatch()) q.bind(it.key(), it.value());
    }
    q.exec();
    std::vector<Row> out;
    std::vector<std::pair<QString, const FieldDef*>> columns;
    while (q.next()) {
        if (columns.empty()) {
            for (int i = 0; i < q.columnCount(); ++i) {
                const QString name = q.columnName(i);
                const FieldDef* f = nullptr;
                for (const TableDef* t : tables)
                    if ((f = t->field(name))) break;
                columns.emplace_back(name, f);
            }
        }
        Row r;
        for (int i = 0; i < int(columns.size()); ++i) {
            const auto& [name, f] = columns[size_t(i)];
            r.set(name, f ? db_.dialect().fromDatabase(f->type, q.value(i)) : q.value(i));
        }
        out.push_back(std::move(r));
    }
    return out;
}

// ---------------------------------------------------------------- bands

Control& Band::add(Control::Kind kind, double left, double top, double width)
{
    auto c = std::make_unique<Control>();
    c->kind = kind;
    c->left = left;
    c->top = top;
    c->width = width;
    controls_.push_back(std::move(c));
    return *controls_.back();
}

Control& Band::text(const QString& t, double left, double top, double width)
{
    Control& c = add(Control::Kind::Text, left, top, width);
    c.text = t;
    return c;
}

Control& Band::field(const QString& f, double left, double top, double width)
{
    Control& c = add(Control::Kind::Field, left, top, width);
    c.text = f;
    return c;
}

Control& Band::expression(Expression e, double left, double top, double width)
{
    Control& c = add(Control::Kind::Expression, left, top, width);
    c.expression = std::move(e);
    return c;
}

Control& Band::sum(const QString& f, double left, double top, double width)
{
    Control& c = add(Control::Kind::Sum, left, top, width);
    c.text = f;
    return c;
}

Control& Band::count(double left, double top, double width, const QString& f)
{
    Control& c = add(Control::Kind::Count, left, top, width);
    c.text = f;
    return c;
}

Control& Band::pageNumber(double left, double top, double width)
{
    return add(Control::Kind::PageNumber, left, top, width);
}

Control& Band::recordNumber(double left, double top, double width)
{
    return add(Control::Kind::RecordNumber, left, top, width);
}

Control& Band::date(double left, double top, double width)
{
    return add(Control::Kind::Date, left, top, width);
}

Control& Band::line(double left, double top, double width, double thicknessMm)
{
    Control& c = add(Control::Kind::Line, left, top, width);
    c.lineWidth = thicknessMm;
    return c;
}

Control& Band::box(double left, double top, double width, double height)
{
    Control& c = add(Control::Kind::Box, left, top, width);
    c.height = height;
    return c;
}

Control* Band::control(const QString& name)
{
    for (auto& c : controls_)
        if (c->name == name) return c.get();
    return nullptr;
}

Group& Report::addGroup(std::function<QVariant(const Row&)> key)
{
    groups_.push_back(std::make_unique<Group>());
    groups_.back()->key = std::move(key);
    return *groups_.back();
}

Group& Report::addGroup(const QString& field)
{
    return addGroup([field](const Row& r) { return r.value(field); });
}

SubDetail& Report::addSubDetail(std::shared_ptr<DataSource> src, std::vector<std::pair<QString, QString>> link)
{
    subDetails_.push_back(std::make_unique<SubDetail>());
    subDetails_.back()->source = std::move(src);
    subDetails_.back()->link = std::move(link);
    return *subDetails_.back();
}

// ---------------------------------------------------------------- values

QString displayText(const QVariant& v, const QString& pattern, const QString& mask)
{
    if (!v.isValid() || v.isNull()) return {};
    const int type = v.typeId();
    const bool isDate = type == QMetaType::QDate;
    const bool isStamp = type == QMetaType::QDateTime;
    const bool isText = type == QMetaType::QString || type == QMetaType::QChar;
    const bool isInteger = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt ||
                           type == QMetaType::ULongLong || type == QMetaType::Short || type == QMetaType::UShort;
    const bool isBool = type == QMetaType::Bool;
    const bool isNumber = !isText && !isDate && !isStamp && !isBool && v.canConvert<double>();
    if (!pattern.isEmpty()) {
        if (isDate) return format(pattern, dateText(v.toDate()));
        if (isStamp) return format(pattern, dateTimeText(v.toDateTime()));
        if (isInteger) return format(pattern, v.toLongLong());
        if (isNumber) return format(pattern, v.toDouble());
        return format(pattern, v.toString());
    }
    if (!mask.isEmpty() && (isNumber || isText)) {
        bool ok = isNumber;
        double d = v.toDouble();
        if (isText) ok = parseNumber(v.toString(), &d);
        if (ok) return formatMask(mask, d);
    }
    if (isDate) return dateText(v.toDate());
    if (isStamp) return dateTimeText(v.toDateTime());
    if (isInteger) return QString::number(v.toLongLong());
    if (isNumber) return format(u"%g", v.toDouble());
    return v.toString();
}

// ---------------------------------------------------------------- layout engine

class Engine {
public:
    Engine(Report& report, Canvas& canvas) : r_(report), c_(canvas) {}

    int run();
    double total(const QString& name) const;

private:
    enum class Scope { Report, Page, Group, Master };
    struct Aggregate {
        const Control* control;
        Scope scope;
        int scopeIndex;  // group or sub-detail
        int source;      // -1 detail rows, else the sub-detail
        double sum = 0;
        int count = 0;
    };

    int px(double mm) const { return int(std::lround(mm * pxPerMm_)); }
    int limitY() const;
    void registerAggregates();
    void collect(const Band& band, Scope scope, int index, int defaultSource);
    // Page sums take a row once it is placed, so that it counts on the page it lands on.
    void accumulate(int source, const Row& row, bool pageScope);
    void reset(Scope scope, int index);
    std::vector<Row> calculated(std::vector<Row> rows, const std::vector<std::pair<QString, Calculation>>& calcs);

    void startPage(bool first);
    void finishPage();
    void nextPage();
    void nextColumn();
    void printColumnHeader();
    // Bands of the page (full width, no flow) and bands of the columns (flowing).
    void printPageBand(Band& band, int y);
    bool printBand(Band& band, const Row& row, const Row* master);
    void drawBand(Band& band, int x0, int y0, int width, const BandContext& ctx);
    QString controlText(const Control& c, const BandContext& ctx) const;
    FontDef controlFont(const Control& c) const;
    BandContext context(const Row& row, const Row* master) const;
    int columnX(int column) const;

    Report& r_;
    Canvas& c_;
    double pxPerMm_ = 1;
    FontDef baseFont_;
    std::vector<Aggregate> aggregates_;

    int page_ = 1;
    int column_ = 0;
    int y_ = 0;
    int columnTop_ = 0;
    bool columnUsed_ = false;  // anything but the column header printed in this column
    bool pageUsed_ = false;
    int columnWidth_ = 0;
    int record_ = 0;
    int groupRecord_ = 0;
    int subRecord_ = 0;
    const Row* current_ = nullptr;
    const Row* currentMaster_ = nullptr;
    Row empty_;
};

double BandContext::total(const QString& name) const { return engine ? engine->total(name) : 0; }

double Engine::total(const QString& name) const
{
    for (const Aggregate& a : aggregates_)
        if (a.control->name == name) return a.control->kind == Control::Kind::Count ? a.count : a.sum;
    return 0;
}

void Engine::collect(const Band& band, Scope scope, int index, int defaultSource)
{
    for (const auto& c : band.controls()) {
        if (c->kind != Control::Kind::Sum && c->kind != Control::Kind::Count) continue;
        aggregates_.push_back(Aggregate{c.get(), scope, index, c->subDetail >= 0 ? c->subDetail : defaultSource});
    }
}

void Engine::registerAggregates()
{
    collect(r_.titleBand, Scope::Report, 0, -1);
    collect(r_.pageHeader, Scope::Page, 0, -1);
    collect(r_.columnHeader, Scope::Page, 0, -1);
    collect(r_.detail, Scope::Report, 0, -1);
    collect(r_.summary, Scope::Report, 0, -1);
    collect(r_.pageFooter, Scope::Page, 0, -1);
    for (int g = 0; g < r_.groupCount(); ++g) {
        collect(r_.group(g).header, Scope::Group, g, -1);
        collect(r_.group(g).footer, Scope::Group, g, -1);
    }
    for (int s = 0; s < r_.subDetailCount(); ++s) {
        collect(r_.subDetail(s).header, Scope::Master, s, s);
        collect(r_.subDetail(s).band, Scope::Master, s, s);
        collect(r_.subDetail(s).footer, Scope::Master, s, s);
    }
}

void Engine::accumulate(int source, const Row& row, bool pageScope)
{
    for (Aggregate& a : aggregates_) {
        if (a.source != source || (a.scope == Scope::Page) != pageScope) continue;
        if (a.control->condition && !a.control->condition(row)) continue;
        const QString& f = a.control->text;
        if (a.control->kind == Control::Kind::Count) {
            if (f.isEmpty() || !row.value(f).isNull()) ++a.count;
        } else {
            const QVariant v = row.value(f);
            double d = 0;
            if (v.typeId() == QMetaType::QString) parseNumber(v.toString(), &d);
            else d = v.toDouble();
            a.sum += d;
            ++a.count;
        }
    }
}

void Engine::reset(Scope scope, int index)
{
    for (Aggregate& a : aggregates_)
        if (a.scope == scope && (scope == Scope::Page || scope == Scope::Report || a.scopeIndex == index)) {
            a.sum = 0;
            a.count = 0;
        }
}

std::vector<Row> Engine::calculated(std::vector<Row> rows, const std::vector<std::pair<QString, Calculation>>& calcs)
{
    if (calcs.empty()) return rows;
    for (Row& row : rows)
        for (const auto& [name, fn] : calcs) row.set(name, fn(row));
    return rows;
}

BandContext Engine::context(const Row& row, const Row* master) const
{
    BandContext ctx{r_, row, master};
    ctx.page = page_;
    ctx.column = column_;
    ctx.recordNumber = record_;
    ctx.groupRecordNumber = groupRecord_;
    ctx.subRecordNumber = subRecord_;
    ctx.engine = this;
    return ctx;
}

int Engine::limitY() const
{
    int bottom = c_.pageHeight() - px(r_.bottomMargin);
    if (r_.pageFooter.shown()) bottom -= px(r_.pageFooter.height);
    return bottom;
}

int Engine::columnX(int column) const
{
    return px(r_.leftMargin) + column * (columnWidth_ + px(r_.columnGap));
}

void Engine::startPage(bool first)
{
    reset(Scope::Page, 0);
    column_ = 0;
    columnUsed_ = false;
    pageUsed_ = false;
    y_ = px(r_.topMargin);
    printPageBand(r_.pageHeader, y_);
    if (first) printPageBand(r_.titleBand, y_);
    columnTop_ = y_;
    printColumnHeader();
}

void Engine::finishPage()
{
    Band& f = r_.pageFooter;
    const Row& row = current_ ? *current_ : empty_;
    const BandContext ctx = context(row, currentMaster_);
    if (f.beforePrint && !f.beforePrint(f, ctx)) return;
    if (!f.shown()) return;
    const int y = c_.pageHeight() - px(r_.bottomMargin) - px(f.height);
    drawBand(f, px(r_.leftMargin), y, c_.pageWidth() - px(r_.leftMargin) - px(r_.rightMargin), context(row, currentMaster_));
}

void Engine::nextPage()
{
    finishPage();
    c_.newPage();
    ++page_;
    startPage(false);
}

void Engine::nextColumn()
{
    if (column_ + 1 < std::max(1, r_.columns)) {
        ++column_;
        columnUsed_ = false;
        y_ = columnTop_;
        printColumnHeader();
    } else {
        nextPage();
    }
}

void Engine::printPageBand(Band& band, int y)
{
    const Row& row = current_ ? *current_ : empty_;
    const BandContext ctx = context(row, currentMaster_);
    if (band.beforePrint && !band.beforePrint(band, ctx)) return;
    if (!band.shown()) return;
    const int width = c_.pageWidth() - px(r_.leftMargin) - px(r_.rightMargin);
    drawBand(band, px(r_.leftMargin), y, width, ctx);
    y_ = y + px(band.height);
}

void Engine::printColumnHeader()
{
    Band& band = r_.columnHeader;
    const Row& row = current_ ? *current_ : empty_;
    const BandContext ctx = context(row, currentMaster_);
    if (band.beforePrint && !band.beforePrint(band, ctx)) return;
    if (!band.shown()) return;
    drawBand(band, columnX(column_), y_, columnWidth_, ctx);
    y_ += px(band.height);
}

bool Engine::printBand(Band& band, const Row& row, const Row* master)
{
    const BandContext before = context(row, master);
    if (band.beforePrint && !band.beforePrint(band, before)) return false;
    if (!band.shown()) return false;
    const int h = px(band.height);
    // A band that does not fit goes to the next column; on an empty column it is printed
    // anyway, since no column would hold it.
    if (y_ + h > limitY() && columnUsed_) nextColumn();
    drawBand(band, columnX(column_), y_, columnWidth_, context(row, master));
    y_ += h;
    columnUsed_ = true;
    pageUsed_ = true;
    return true;
}

FontDef Engine::controlFont(const Control& c) const
{
    FontDef f = c.font ? *c.font : baseFont_;
    if (c.styles) f.setStyles(*c.styles);
    if (c.fontSize > 0) f.size = c.fontSize;
    return f;
}

QString Engine::controlText(const Control& c, const BandContext& ctx) const
{
    switch (c.kind) {
    case Control::Kind::Text: return c.text;
    case Control::Kind::Field:
        // A sub-detail's bands see the fields of their detail row that their own rows lack.
        if (ctx.master && !ctx.row.has(c.text)) return displayText(ctx.master->value(c.text), c.pattern, c.mask);
        return displayText(ctx.row.value(c.text), c.pattern, c.mask);
    case Control::Kind::Expression:
        return c.expression ? displayText(c.expression(ctx), c.pattern, c.mask) : QString();
    case Control::Kind::Sum:
    case Control::Kind::Count:
        for (const Aggregate& a : aggregates_)
            if (a.control == &c)
                return c.kind == Control::Kind::Count ? displayText(QVariant(qlonglong(a.count)), c.pattern, c.mask)
                                                      : displayText(QVariant(a.sum), c.pattern, c.mask);
        return {};
    case Control::Kind::PageNumber: return displayText(QVariant(qlonglong(ctx.page)), c.pattern, c.mask);
    case Control::Kind::RecordNumber: return displayText(QVariant(qlonglong(ctx.recordNumber)), c.pattern, c.mask);
    case Control::Kind::Date:
        return displayText(QVariant(r_.printDate.isValid() ? r_.printDate : QDate::currentDate()), c.pattern, c.mask);
    case Control::Kind::Line:
    case Control::Kind::Box: return {};
    }
    return {};
}

void Engine::drawBand(Band& band, int x0, int y0, int width, const BandContext& ctx)
{
    // Room given up by hidden columns: every left edge at which only hidden controls
    // stand gives the distance to the next left edge to the controls further right.
    std::map<long long, bool> edges;  // left edge in 1/100 mm -> something shown there
    auto key = [](double mm) { return (long long)std::llround(mm * 100); };
    if (band.closeUp) {
        for (const auto& c : band.controls()) {
            auto [it, fresh] = edges.emplace(key(c->left), c->shown());
            if (!fresh) it->second = it->second || c->shown();
        }
    }
    auto shiftOf = [&](double left) {
        long long shift = 0;
        const long long k = key(left);
        for (auto it = edges.begin(); it != edges.end() && it->first < k; ++it) {
            if (it->second) continue;
            auto next = std::next(it);
            if (next != edges.end()) shift += next->first - it->first;
        }
        return shift / 100.0;
    };

    const int h = px(band.height);
    if (band.frame != Frame::None) {
        const int lw = c_.thinLine();
        if (band.frame & Frame::Top) c_.line(x0, y0, x0 + width, y0, lw);
        if (band.frame & Frame::Bottom) c_.line(x0, y0 + h, x0 + width, y0 + h, lw);
        if (band.frame & Frame::Left) c_.line(x0, y0, x0, y0 + h, lw);
        if (band.frame & Frame::Right) c_.line(x0 + width, y0, x0 + width, y0 + h, lw);
    }

    for (const auto& cp : band.controls()) {
        const Control& c = *cp;
        if (!c.shown()) continue;
        const double left = band.closeUp ? c.left - shiftOf(c.left) : c.left;
        const int x = x0 + px(left);
        const int y = y0 + px(c.top);
        const int w = px(c.width);
        const int lw = c.lineWidth > 0 ? std::max(1, px(c.lineWidth)) : c_.thinLine();
        if (c.kind == Control::Kind::Line) {
            c_.line(x, y, x + w, y, lw);
            continue;
        }
        if (c.kind == Control::Kind::Box) {
            c_.frame(QRect(x, y, w, px(c.height)), lw);
            continue;
        }
        const FontDef f = controlFont(c);
        c_.setFont(f);
        const QString text = controlText(c, ctx);
        int tx = x;
        if (c.align == Align::Right) tx = x + w - c_.textWidth(text);
        else if (c.align == Align::Center) tx = x + (w - c_.textWidth(text)) / 2;
        c_.textOut(tx, y, text);
        if (c.frame != Frame::None) {
            const int fh = c.height > 0 ? px(c.height) : c_.textHeight(u"Ág"_s);
            if (c.frame & Frame::Top) c_.line(x, y, x + w, y, lw);
            if (c.frame & Frame::Bottom) c_.line(x, y + fh, x + w, y + fh, lw);
            if (c.frame & Frame::Left) c_.line(x, y, x, y + fh, lw);
            if (c.frame & Frame::Right) c_.line(x + w, y, x + w, y + fh, lw);
        }
    }
    c_.setFont(baseFont_);
}

int Engine::run()
{
    if (!c_.isPrinting()) throw std::logic_error("report: the canvas has no document");
    if (!c_.document().pages.back().items.empty()) c_.newPage();
    const int firstPage = c_.pageNumber();
    pxPerMm_ = c_.format().millimetres.width() > 0 ? c_.pageWidth() / c_.format().millimetres.width()
                                                   : c_.resolution() / 25.4;
    baseFont_ = r_.font ? *r_.font : c_.font();
    const int columns = std::max(1, r_.columns);
    const int usable = c_.pageWidth() - px(r_.leftMargin) - px(r_.rightMargin);
    columnWidth_ = (usable - (columns - 1) * px(r_.columnGap)) / columns;
    registerAggregates();

    std::vector<Row> rows = r_.source ? calculated(r_.source->rows(r_.params), r_.calculations_) : std::vector<Row>{};
    const int groups = r_.groupCount();
    std::vector<QVariant> keys(static_cast<size_t>(groups));

    current_ = rows.empty() ? nullptr : &rows.front();
    startPage(true);

    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const Row* previous = i > 0 ? &rows[i - 1] : nullptr;
        int changed = groups;
        for (int g = 0; g < groups; ++g) {
            const QVariant k = r_.group(g).key ? r_.group(g).key(row) : QVariant();
            if (!previous || !sameValue(k, keys[size_t(g)])) {
                changed = std::min(changed, g);
            }
            keys[size_t(g)] = k;
        }
        if (previous) {
            current_ = previous;
            for (int g = groups - 1; g >= changed; --g) printBand(r_.group(g).footer, *previous, nullptr);
        }
        current_ = &row;
        for (int g = changed; g < groups; ++g) {
            reset(Scope::Group, g);
            groupRecord_ = 0;
            if (r_.group(g).newPage && previous && pageUsed_) nextPage();
            printBand(r_.group(g).header, row, nullptr);
        }
        ++record_;
        ++groupRecord_;
        subRecord_ = 0;
        accumulate(-1, row, false);
        printBand(r_.detail, row, nullptr);
        accumulate(-1, row, true);

        for (int s = 0; s < r_.subDetailCount(); ++s) {
            SubDetail& sd = r_.subDetail(s);
            reset(Scope::Master, s);
            subRecord_ = 0;
            if (!sd.source) continue;
            QVariantMap params;
            for (const auto& [field, param] : sd.link) params.insert(param, row.value(field));
            const std::vector<Row> sub = calculated(sd.source->rows(params), sd.calculations);
            currentMaster_ = &row;
            const bool frame = !sub.empty() || sd.headerFooterWhenEmpty;
            if (frame) printBand(sd.header, sub.empty() ? empty_ : sub.front(), &row);
            for (const Row& sr : sub) {
                ++subRecord_;
                accumulate(s, sr, false);
                printBand(sd.band, sr, &row);
                accumulate(s, sr, true);
            }
            if (frame) printBand(sd.footer, sub.empty() ? empty_ : sub.back(), &row);
            currentMaster_ = nullptr;
        }
    }
    if (!rows.empty())
        for (int g = groups - 1; g >= 0; --g) printBand(r_.group(g).footer, rows.back(), nullptr);
    printBand(r_.summary, rows.empty() ? empty_ : rows.back(), nullptr);
    finishPage();
    current_ = nullptr;
    return c_.pageNumber() - firstPage + 1;
}

int Report::render(Canvas& canvas)
{
    Engine e(*this, canvas);
    return e.run();
}

}  // namespace selvar::report
