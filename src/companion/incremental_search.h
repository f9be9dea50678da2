#pragma once
// Search by typing in a card list: every key typed is added to the search text and the
// cursor goes to the nearest name on the list's name index (Turkish order, case
// ignored). A character after which no name begins with the text is dropped, so a
// wrong key never loses the place.
#include <QString>

namespace selvar {

class Table;

class IncrementalSearch {
public:
    IncrementalSearch(Table& table, const QString& field, int maxLength);

    // False when no name begins with the text plus `typed`; the text is kept as it was.
    bool type(const QString& typed);
    void backspace();
    void clear() { text_.clear(); }
    const QString& text() const { return text_; }

private:
    bool position(const QString& text);

    Table& table_;
    QString field_;
    int maxLength_;
    QString text_;
};

}  // namespace selvar
