#include "companion/incremental_search.h"

#include "core/turkish.h"
#include "data/table.h"

namespace selvar {

IncrementalSearch::IncrementalSearch(Table& table, const QString& field, int maxLength)
    : table_(table), field_(field), maxLength_(maxLength)
{
}

bool IncrementalSearch::position(const QString& text)
{
    if (!table_.findNearest({text})) return false;
    return startsWithNoCase(table_.text(field_), text);
}

bool IncrementalSearch::type(const QString& typed)
{
    QString candidate = text_ + typed;
    if (candidate.size() > maxLength_) candidate = typed;
    const bool hadRow = table_.hasRow();
    const qint64 was = table_.rowId();
    if (position(candidate)) {
        text_ = candidate;
        return true;
    }
    if (!text_.isEmpty()) position(text_);
    else if (hadRow) table_.gotoRowId(was);
    return false;
}

void IncrementalSearch::backspace()
{
    if (text_.isEmpty()) return;
    text_.chop(1);
    if (text_.isEmpty()) table_.first();
    else position(text_);
}

}  // namespace selvar
