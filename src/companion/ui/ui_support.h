#pragma once
// Pieces the windows of the companion library share: message boxes, the command
// boundary, date boxes with the calendar on F4, and a read-only table of values.
//
// Nothing here has a Q_OBJECT: the library is unloaded after every call, so it leaves no
// meta-object, timer or deferred deletion behind in the program. For the same reason the
// windows give no text to Qt's process-wide objects (tooltips, the font cache): a text
// written in the library's code would point into the library once it is gone.
#include "companion/cards.h"
#include "data/errors.h"
#include "platform/prompter.h"
#include "platform/ui/command.h"
#include "platform/ui/list_keys.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QLineEdit>
#include <QVariant>
#include <QVector>
#include <optional>
#include <vector>

class QTableView;
class QWidget;

namespace selvar::ortak {

// Turkish message boxes over the library's windows.
class MessagePrompter final : public Prompter {
public:
    explicit MessagePrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer message(MessageKind kind, const QString& text, Buttons buttons) override;
    void beep() override;

private:
    QWidget* parent_;
};

// The calendar; the chosen date, nothing when cancelled.
std::optional<QDate> pickDate(QWidget* parent, const QDate& start);

// A date typed as day.month.year (or month.year for expiry dates); blank is no date, F4
// opens the calendar.
class DateEdit : public QLineEdit {
public:
    explicit DateEdit(bool monthYear = false, QWidget* parent = nullptr);
    void setDate(const QDate& d);
    QDate date() const;                // invalid for blank or wrong text
    bool isBlank() const;
    bool isValidOrBlank() const { return isBlank() || date().isValid(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool monthYear_;
};

// A value as a list shows it.
QString displayText(FieldKind kind, const QVariant& v);

// Read-only rows of values; each row carries an id of its own (row id, number).
class ValueModel final : public QAbstractTableModel {
public:
    struct Column {
        QString caption;
        FieldKind kind = FieldKind::Text;
    };
    struct Row {
        QVariant id;
        QVector<QVariant> values;
    };

    explicit ValueModel(QList<Column> columns) : columns_(std::move(columns)) {}

    void setRows(std::vector<Row> rows);
    void setRow(int row, Row value);
    const Row& row(int i) const { return rows_[size_t(i)]; }
    int count() const { return int(rows_.size()); }
    int rowOfId(const QVariant& id) const;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : count(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(columns_.size()); }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Column> columns_;
    std::vector<Row> rows_;
};

// A list the keyboard drives: whole rows, no editing in place, the first row current.
void setUpList(QTableView* view, const QList<int>& widths = {});
int currentRow(QTableView* view);
void selectRow(QTableView* view, int row);

}  // namespace selvar::ortak
