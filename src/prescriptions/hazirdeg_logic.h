#pragma once
// The ready values of the prescription-back headings (hazirdeg.db, TfmhazirBr): a list
// in key order, searched letter by letter, edited one value at a time, every value once.
#include "platform/type_ahead.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

namespace selvar {

class Database;
class Prompter;
class Table;

class HazirDegerLogic {
public:
    static constexpr int ValueWidth = 17;
    // Mode 1 is the chooser of the prescription window; mode 0 only keeps the list.
    HazirDegerLogic(Database& db, Prompter& prompter, int mode);
    ~HazirDegerLogic();

    void open();  // positioned on the first value
    int mode() const { return mode_; }
    bool canPick() const { return mode_ == 1; }

    // The grid: the values in key order; while a new value is typed, its row stands
    // (blank at first) where the cursor was.
    QStringList rows() const;
    int currentRow() const;  // -1 on an empty list
    qint64 rowIdAt(int row) const;  // 0 for the row of a new value
    QString currentValue() const;  // as stored; empty on an empty list
    bool isEmpty() const { return ids_.isEmpty(); }

    // Moving settles a pending edit first, as leaving a row of a data grid does.
    void moveTo(qint64 rowId);
    void setCurrentRow(int row) { moveTo(rowIdAt(row)); }
    void first();
    void prior();
    void next();
    void last();
    void refresh();  // rereads the list (other workstations)

    // Incremental search over the values.
    void typeSearchChar(QChar c);
    void searchBackspace();
    void clearSearch() { search_.clear(); }
    QString searchText() const { return search_.text(); }

    enum class Editing { None, New, Change };
    Editing editing() const { return editing_; }
    void newValue();     // "Yeni Kayıt"
    void changeValue();  // "&Değiştir"; on an empty list a new value
    void setEditText(const QString& text) { editText_ = text; }
    QString editText() const { return editText_; }
    // Stores the value being typed. False when nothing was stored: a value that is
    // already in the list (the message is shown) or an empty one; either way the
    // insertion or change is cancelled.
    bool post();
    void cancelEdit();
    // Posts a pending edit; true when the list is browsing afterwards.
    bool settle();

    void deleteValue();  // "Kayıt Sil", asks first

    // Mode 1: the current value after a pending edit was stored; nothing when there is
    // nothing to pick or the pending edit was refused.
    std::optional<QString> pick();

    // The stored form of a typed value: without surrounding blanks, cut to the field.
    static QString normalized(const QString& text);

private:
    void reload();
    bool existsElsewhere(const QString& value) const;

    Database& db_;
    Prompter& prompter_;
    int mode_;
    std::unique_ptr<Table> table_;
    QVector<qint64> ids_;
    QStringList values_;
    TypeAhead search_{QStringLiteral("HAZIRDEGER")};
    Editing editing_ = Editing::None;
    QString editText_;
    int newRow_ = 0;  // where the row of a new value stands
};

}  // namespace selvar
