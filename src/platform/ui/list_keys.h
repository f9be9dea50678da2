#pragma once
// The keys of a list searched by typing, the same in every window.
class QKeyEvent;

namespace selvar {

// Up, Down, Page Up, Page Down, Home and End: the list moves itself, and the search by
// typing ends.
bool isListMoveKey(const QKeyEvent* k);

// A printable key without Ctrl, Alt or Meta: text for the search by typing.
bool isSearchKey(const QKeyEvent* k);

}  // namespace selvar
