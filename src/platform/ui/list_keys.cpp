#include "platform/ui/list_keys.h"

#include <QKeyEvent>

namespace selvar {

bool isListMoveKey(const QKeyEvent* k)
{
    switch (k->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

bool isSearchKey(const QKeyEvent* k)
{
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString t = k->text();
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (!c.isPrint()) return false;
    return true;
}

}  // namespace selvar
