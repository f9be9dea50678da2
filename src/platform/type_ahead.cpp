#include "platform/type_ahead.h"

#include "core/turkish.h"
#include "data/table.h"

namespace selvar {

bool TypeAhead::position(Table& table, const QString& text) const
{
    table.findNearest(leading_ + QVariantList{text});
    return table.hasRow() && startsWithNoCase(table.text(field_), text);
}

bool TypeAhead::type(Table& table, const QString& typed)
{
    QString candidate = text_ + typed;
    if (candidate.size() > rules_.maxLength) {
        if (!rules_.restartWhenFull) {
            text_.clear();
            return false;
        }
        candidate = typed;
    }
    const bool hadRow = table.hasRow();
    const qint64 was = table.rowId();
    if (position(table, candidate) || (typed.size() == 1 && rules_.keptKeys.contains(typed[0]))) {
        text_ = candidate;
        return true;
    }
    if (!rules_.stayOnMiss || !text_.isEmpty()) table.findNearest(leading_ + QVariantList{text_});
    else if (hadRow) table.gotoRowId(was);
    return false;
}

void TypeAhead::backspace(Table& table)
{
    if (text_.isEmpty()) return;
    text_.chop(1);
    table.findNearest(leading_ + QVariantList{text_});
}

}  // namespace selvar
