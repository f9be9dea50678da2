#include "prescriptions/hazirdeg_logic.h"

#include "core/turkish.h"
#include "data/errors.h"
#include "data/table.h"
#include "platform/prompter.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {
const QString TableName = u"hazirdeg.db"_s;
const QString Field = u"HAZIRDEGER"_s;
const QString DuplicateMessage = u"Aynı Adlı Kayıt Zaten Vardı. Bu Yüzden Kaydedilmedi."_s;
}  // namespace

HazirDegerLogic::HazirDegerLogic(Database& db, Prompter& prompter, int mode)
    : db_(db), prompter_(prompter), mode_(mode)
{
}

HazirDegerLogic::~HazirDegerLogic() = default;

void HazirDegerLogic::open()
{
    editing_ = Editing::None;
    editText_.clear();
    search_.clear();
    table_ = std::make_unique<Table>(db_, TableName);
    table_->setIndex(QString());
    table_->first();
    reload();
}

void HazirDegerLogic::reload()
{
    ids_.clear();
    values_.clear();
    Table t(db_, TableName);
    if (!t.first()) return;
    do {
        ids_ << t.rowId();
        values_ << t.text(Field);
    } while (t.next());
}

QStringList HazirDegerLogic::rows() const
{
    QStringList r = values_;
    if (editing_ == Editing::New) r.insert(newRow_, editText_);
    else if (editing_ == Editing::Change && currentRow() >= 0) r[currentRow()] = editText_;
    return r;
}

int HazirDegerLogic::currentRow() const
{
    if (editing_ == Editing::New) return newRow_;
    if (!table_ || !table_->hasRow()) return -1;
    return int(ids_.indexOf(table_->rowId()));
}

qint64 HazirDegerLogic::rowIdAt(int row) const
{
    if (editing_ == Editing::New) {
        if (row == newRow_) return 0;
        if (row > newRow_) --row;
    }
    return row >= 0 && row < ids_.size() ? ids_[row] : 0;
}

QString HazirDegerLogic::currentValue() const
{
    if (!table_ || !table_->hasRow() || editing_ == Editing::New) return {};
    return table_->text(Field);
}

// ---------------------------------------------------------------- moving

void HazirDegerLogic::moveTo(qint64 rowId)
{
    settle();
    if (rowId) table_->gotoRowId(rowId);
}

void HazirDegerLogic::first()
{
    settle();
    table_->first();
}

void HazirDegerLogic::prior()
{
    settle();
    table_->prior();
}

void HazirDegerLogic::next()
{
    settle();
    table_->next();
}

void HazirDegerLogic::last()
{
    settle();
    table_->last();
}

void HazirDegerLogic::refresh()
{
    settle();
    table_->refresh();
    reload();
}

// ---------------------------------------------------------------- searching

void HazirDegerLogic::typeSearchChar(QChar c)
{
    if (editing_ != Editing::None) return;
    search_.type(*table_, QString(c));
}

void HazirDegerLogic::searchBackspace()
{
    if (editing_ != Editing::None) return;
    search_.backspace(*table_);
}

// ---------------------------------------------------------------- editing

QString HazirDegerLogic::normalized(const QString& text)
{
    QString v = text.trimmed();
    v.truncate(ValueWidth);
    return v.trimmed();
}

void HazirDegerLogic::newValue()
{
    settle();
    search_.clear();
    newRow_ = std::max(currentRow(), 0);
    table_->insert();
    editing_ = Editing::New;
    editText_.clear();
}

void HazirDegerLogic::changeValue()
{
    settle();
    if (!table_->hasRow()) {
        newValue();
        return;
    }
    search_.clear();
    table_->edit();
    editing_ = Editing::Change;
    editText_ = currentValue();
}

// The key compares without regard to Turkish case, so "ankara" is the same value as a
// stored "ANKARA"; the same value of the row being changed is its own.
bool HazirDegerLogic::existsElsewhere(const QString& value) const
{
    Table probe(db_, TableName);
    if (!probe.findKey({value})) return false;
    return editing_ == Editing::New || probe.rowId() != table_->rowId();
}

bool HazirDegerLogic::post()
{
    if (editing_ == Editing::None) return true;
    const QString v = normalized(editText_);
    if (v.isEmpty()) {
        // A blank value would only be a blank heading: nothing to keep.
        cancelEdit();
        return false;
    }
    if (editing_ == Editing::Change && v == currentValue()) {
        cancelEdit();
        return true;
    }
    if (existsElsewhere(v)) {
        prompter_.warning(DuplicateMessage);
        cancelEdit();
        return false;
    }
    table_->set(Field, v);
    try {
        table_->post();
    } catch (const DbError&) {
        // Another workstation may have stored the same value in the meantime.
        if (!existsElsewhere(v)) throw;
        prompter_.warning(DuplicateMessage);
        cancelEdit();
        return false;
    }
    editing_ = Editing::None;
    editText_.clear();
    reload();
    return true;
}

void HazirDegerLogic::cancelEdit()
{
    if (table_) table_->cancel();
    editing_ = Editing::None;
    editText_.clear();
}

bool HazirDegerLogic::settle()
{
    if (editing_ != Editing::None) post();
    return editing_ == Editing::None;
}

void HazirDegerLogic::deleteValue()
{
    if (editing_ != Editing::New && !table_->hasRow()) return;
    if (prompter_.ask(u"Kayıt Silinsin mi?"_s, Buttons::YesNoCancel) != Answer::Yes) return;
    search_.clear();
    if (editing_ == Editing::New) {
        cancelEdit();
        return;
    }
    cancelEdit();
    table_->remove();
    reload();
}

std::optional<QString> HazirDegerLogic::pick()
{
    if (!canPick()) return std::nullopt;
    if (editing_ != Editing::None && !post()) return std::nullopt;
    if (!table_->hasRow()) return std::nullopt;
    return currentValue();
}

}  // namespace selvar
