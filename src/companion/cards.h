#pragma once
// The cards the companion library maintains: which table, which key, which name index
// orders the list, the fields of the card, and which other tables refer to a card. The
// rules (a card in use cannot be deleted, its key cannot change, a key is unique) are
// here so they can be tested without a window.
#include "platform/type_ahead.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QVector>
#include <optional>
#include <utility>
#include <vector>

namespace selvar {

class Database;

// The card lists' search by typing: past the field's width it starts again with the key,
// and a key that finds nothing leaves the cursor where it was.
inline TypeAheadRules cardSearchRules(int maxLength) { return {maxLength, true, true, {}}; }

enum class CardKind { Product, Institution, Patient, Doctor, Generic, Group, Indication, Company };

enum class KeyKind {
    AutoInc,       // given by the table on insert (ILACNO, HASTANO)
    AutoNumber,    // the next free number, given by the card (JENERIKNO ...)
    EnteredText,   // typed by the user (KOD)
    EnteredNumber  // typed by the user (DRKOD)
};

enum class FieldKind { Text, Integer, Real, Money, Date, MonthYear, Lookup, Letter, Memo, Flag, Balance, Shown };

struct Option {
    QString value, caption;
};

struct CardField {
    QString field;
    QString caption;
    FieldKind kind = FieldKind::Text;
    QList<Option> options;      // Letter
    QString lookupTable;        // Lookup: the table whose key is stored
    QString lookupKey, lookupName, lookupIndex;
    QString flagValue;          // Flag: the value stored when ticked
    QString section;            // "rates": the percentage table of an institution
    bool required = false;

    bool editable() const { return kind != FieldKind::Balance && kind != FieldKind::Shown; }
};

struct ListColumn {
    QString field;
    QString caption;
    FieldKind kind = FieldKind::Text;
    int width = 120;
};

struct CardReference {
    QString table, field, what;  // what: the Turkish name of the referring rows
};

struct CardDef {
    CardKind kind;
    QString table;
    QString title;
    QString keyField;
    KeyKind keyKind;
    QString nameIndex;  // the list's order and its search
    QString nameField;
    QList<ListColumn> columns;
    QList<CardField> fields;
    QList<CardReference> references;

    const CardField* field(const QString& name) const;
};

const CardDef& cardDef(CardKind kind);

// The rate table of an institution: five categories of product by five patient classes.
struct RateAxis {
    QString part, caption;
};
const QList<RateAxis>& rateCategories();  // ILACLARDA, OZELKATILIM, ILACBERABER, ITHAL, IHLRAP
const QList<RateAxis>& rateClasses();     // KURUM, CALISAN, EMEKLI, RAPYAT, DIGER

// The twelve prescription types of a product and the nine purchase discount types.
const QList<Option>& prescriptionTypes();
const QList<Option>& discountTypes();
const QList<Option>& patientClasses();  // SINIF of a patient, HASTATIP of a layout

// The rows of a card list in the order of its name index, and one row again after it
// changed. `values` follow the card's columns.
struct CardRow {
    qint64 rowId = 0;
    QVariant key;
    QVector<QVariant> values;
};
std::vector<CardRow> loadCardList(Database& db, const CardDef& cardDef);
std::optional<CardRow> loadCardRow(Database& db, const CardDef& cardDef, qint64 rowId);

// The choices of a lookup field (key, name) in the order of the lookup's name index.
std::vector<std::pair<QVariant, QString>> loadLookup(Database& db, const CardField& field);

// The six prescription header labels (ETIKET1..6) of an institution; empty texts when
// it has none.
QStringList institutionLabels(Database& db, const QString& code);

class CardRules {
public:
    CardRules(Database& db, const CardDef& cardDef);

    struct Usage {
        QString what;
        QString table;
        int count = 0;
    };
    std::vector<Usage> usages(const QVariant& key);
    bool keyInUse(const QVariant& key) { return !usages(key).empty(); }

    // Why the card cannot be deleted; empty when nothing refers to it.
    QString deleteRefusal(const QVariant& key);
    // Deletes the card (a product with its price history) unless it is in use; returns
    // the refusal, empty when deleted.
    QString remove(const QVariant& key);

    QVariant nextNumber();

    // Checks the values of a card before it is stored; `oldKey` is null for a new card.
    QString validate(const QVariantMap& values, const QVariant& oldKey);
    // Validates and stores the editable fields; returns the card's key. A product whose
    // price changed keeps its old price in the price history. Throws DbError with the
    // reason when the card is refused.
    QVariant save(const QVariantMap& values, const QVariant& oldKey, const QDateTime& now);

    static QString keyText(const QVariant& key);

private:
    bool keyExists(const QVariant& key);

    Database& db_;
    const CardDef& def_;
};

}  // namespace selvar
