#include "companion/ui/ui_support.h"

#include "core/dates.h"
#include "core/format.h"
#include "platform/ui/qt_prompter.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>

namespace selvar::ortak {
using namespace Qt::Literals::StringLiterals;

Answer MessagePrompter::message(MessageKind kind, const QString& text, Buttons buttons)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // Called from a program without windows: the message goes to the error output.
        std::fprintf(stderr, "ortakdlg: %s\n", text.toLocal8Bit().constData());
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel;
    }
    return QtPrompter(parent_).message(kind, text, buttons);
}

void MessagePrompter::beep() { QApplication::beep(); }

std::optional<QDate> pickDate(QWidget* parent, const QDate& start)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(u"Takvim"_s);
    auto* layout = new QVBoxLayout(&dialog);
    auto* calendar = new QCalendarWidget(&dialog);
    calendar->setObjectName(u"calendar"_s);
    calendar->setLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setGridVisible(true);
    calendar->setSelectedDate(start.isValid() ? start : QDate::currentDate());
    layout->addWidget(calendar);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(u"&Tamam"_s, QDialogButtonBox::AcceptRole);
    QPushButton* today = buttons->addButton(u"&Bugün"_s, QDialogButtonBox::ActionRole);
    buttons->addButton(u"&Vazgeç"_s, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(today, &QPushButton::clicked, calendar,
                     [calendar] { calendar->setSelectedDate(QDate::currentDate()); });
    // Enter or a double click on a day chooses it.
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    calendar->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return calendar->selectedDate();
}

DateEdit::DateEdit(bool monthYear, QWidget* parent) : QLineEdit(parent), monthYear_(monthYear)
{
    setInputMask(monthYear ? u"99.9999;_"_s : u"99.99.9999;_"_s);
    setMaximumWidth(110);
}

void DateEdit::setDate(const QDate& d)
{
    if (!d.isValid()) {
        clear();
        return;
    }
    setText(monthYear_ ? d.toString(u"MM.yyyy"_s) : dateText(d));
}

bool DateEdit::isBlank() const
{
    for (QChar c : text())
        if (c.isDigit()) return false;
    return true;
}

QDate DateEdit::date() const
{
    if (isBlank()) return {};
    if (monthYear_) {
        const QStringList parts = text().split(u'.');
        if (parts.size() != 2) return {};
        bool okMonth = false, okYear = false;
        const int m = parts[0].trimmed().toInt(&okMonth);
        int y = parts[1].trimmed().toInt(&okYear);
        if (!okMonth || !okYear || m < 1 || m > 12) return {};
        if (y < 100) y += y < 50 ? 2000 : 1900;
        // An expiry month holds to its last day.
        const QDate first(y, m, 1);
        return first.addMonths(1).addDays(-1);
    }
    const DateInput in = parseDateText(text());
    return in.isValid() ? in.date : QDate();
}

void DateEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F4 && e->modifiers() == Qt::NoModifier) {
        const QDate start = date().isValid() ? date() : QDate::currentDate();
        if (const auto d = pickDate(this, start)) setDate(*d);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

QString displayText(FieldKind kind, const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (kind) {
    case FieldKind::Money:
    case FieldKind::Balance: return formatMask(u"#,#", v.toDouble());
    case FieldKind::Real: return format(u"%g", v.toDouble());
    case FieldKind::Integer: return QString::number(qlonglong(v.toDouble()));
    case FieldKind::Date:
        if (v.typeId() == QMetaType::QDateTime) return dateTimeText(v.toDateTime()).left(16);
        return dateText(v.toDate());
    case FieldKind::MonthYear: return v.toDate().toString(u"MM.yyyy"_s);
    default: return v.toString();
    }
}

void ValueModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ValueModel::setRow(int row, Row value)
{
    rows_[size_t(row)] = std::move(value);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int ValueModel::rowOfId(const QVariant& id) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return int(i);
    return -1;
}

QVariant ValueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count()) return {};
    const Column& c = columns_[index.column()];
    if (role == Qt::DisplayRole) return displayText(c.kind, rows_[size_t(index.row())].values.value(index.column()));
    if (role == Qt::TextAlignmentRole) {
        const bool number = c.kind == FieldKind::Money || c.kind == FieldKind::Balance || c.kind == FieldKind::Real
                            || c.kind == FieldKind::Integer;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant ValueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columns_.size())
        return columns_[section].caption;
    return {};
}

void setUpList(QTableView* view, const QList<int>& widths)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < widths.size(); ++i) view->setColumnWidth(i, widths[i]);
    if (view->model() && view->model()->rowCount() > 0) selectRow(view, 0);
}

int currentRow(QTableView* view)
{
    const QModelIndex i = view->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void selectRow(QTableView* view, int row)
{
    if (!view->model() || row < 0 || row >= view->model()->rowCount()) return;
    const QModelIndex i = view->model()->index(row, 0);
    view->setCurrentIndex(i);
    view->selectRow(row);
    view->scrollTo(i);
}

}  // namespace selvar::ortak
