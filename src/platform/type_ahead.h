#pragma once
// Search by typing in a list shown in the order of a name index: every key typed is added
// to the search text and the cursor goes to the nearest entry (Turkish order, case
// ignored). A key with which no entry continues is dropped again, so a wrong key never
// loses the place. Each list keeps its own rules.
#include <QString>
#include <QVariantList>

namespace selvar {

class Table;

struct TypeAheadRules {
    int maxLength = 36;
    // Past the longest text: true starts the search again with the key typed, false
    // empties it and leaves the cursor where it is.
    bool restartWhenFull = false;
    // A dropped key: true puts the cursor back where it was, false on the nearest entry of
    // the text without the key.
    bool stayOnMiss = false;
    // Keys kept although no entry continues with them (the generic search keeps i, ı and
    // İ, whose case pairs differ between the two alphabets).
    QString keptKeys;
};

class TypeAhead {
public:
    // `field` is the name the index orders by; `leading` are values of the index's
    // earlier fields that the search stays within (the class number of a generic list).
    explicit TypeAhead(QString field, TypeAheadRules rules = {}) : field_(std::move(field)), rules_(rules) {}
    void setLeading(const QVariantList& leading) { leading_ = leading; }

    // False when the key was dropped.
    bool type(Table& table, const QString& typed);
    void backspace(Table& table);
    void clear() { text_.clear(); }
    const QString& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

private:
    bool position(Table& table, const QString& text) const;

    QString field_;
    TypeAheadRules rules_;
    QVariantList leading_;
    QString text_;
};

}  // namespace selvar
