#pragma once
// The search of products of the same generic, indication or group (TAraJenDlg).
#include "platform/type_ahead.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace selvar {

class Database;
class Table;

class AraJenLogic {
public:
    enum class Kind { Generic, Indication, Group };

    explicit AraJenLogic(Database& db);
    ~AraJenLogic();

    // The products of the class `number` of the product, in name order.
    void open(Kind kind, qint64 number);
    static QString caption(Kind kind);   // "Jenerik Ada Göre İlaç Arama" ...
    static QString heading(Kind kind);   // "JENERİK ADLI İLAÇLAR" ...
    QString className() const { return className_; }
    QStringList names() const;
    QString currentName() const;
    int currentRow() const;  // position of the cursor in names()
    void setCurrentRow(int row);

    // Typing searches by name within the class; "i", "ı" and "İ" are kept even when no
    // name continues with them.
    void type(QChar c);
    void backspace();
    void clear();  // Esc, Home, Up, Down
    QString searchText() const { return search_.text(); }

private:
    Database& db_;
    std::unique_ptr<Table> table_;
    qint64 number_ = 0;
    QString className_;
    // The i/ı/İ keys stay even where no name continues: their case pairs differ.
    TypeAhead search_{QStringLiteral("ILACAD"), TypeAheadRules{36, false, false, QStringLiteral("iıİ")}};
};

}  // namespace selvar
