#include "sales/arajen_logic.h"

#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

AraJenLogic::AraJenLogic(Database& db) : db_(db) {}
AraJenLogic::~AraJenLogic() = default;

QString AraJenLogic::caption(Kind kind)
{
    switch (kind) {
    case Kind::Generic: return u"Jenerik Ada Göre İlaç Arama"_s;
    case Kind::Indication: return u"Endikasyon Ada Göre İlaç Arama"_s;
    case Kind::Group: return u"Ürün Grubuna Göre İlaç Arama"_s;
    }
    return {};
}

QString AraJenLogic::heading(Kind kind)
{
    switch (kind) {
    case Kind::Generic: return u"JENERİK ADLI İLAÇLAR"_s;
    case Kind::Indication: return u"ENDİKASYONLU İLAÇLAR"_s;
    case Kind::Group: return u"ÜRÜN GRUBUNA DAHİL İLAÇLAR"_s;
    }
    return {};
}

void AraJenLogic::open(Kind kind, qint64 number)
{
    number_ = number;
    search_.clear();
    search_.setLeading({number});
    table_ = std::make_unique<Table>(db_, u"URUN.DB"_s);
    const char* index = kind == Kind::Generic ? "ILACJEN" : kind == Kind::Indication ? "ILACENDIK" : "ILACGRUP";
    table_->setIndex(QString::fromLatin1(index));
    table_->setRange({number}, {number});
    const QString sql = kind == Kind::Generic    ? u"SELECT JENERIKAD FROM JEN WHERE JENERIKNO = :n"_s
                        : kind == Kind::Group ? u"SELECT GRUPAD FROM GRUP WHERE GRUPNO = :n"_s
                                              : u"SELECT ENDIKASYONAD FROM ENDIK WHERE ENDIKNO = :n"_s;
    className_ = Sql::scalar(db_, sql, {{u"n"_s, number}}).toString();
}

QStringList AraJenLogic::names() const
{
    QStringList r;
    if (!table_) return r;
    Table t(db_, u"URUN.DB"_s);
    t.setIndex(table_->indexName());
    t.setRange({number_}, {number_});
    if (!t.hasRow()) return r;
    do r << t.text(u"ILACAD"_s);
    while (t.next());
    return r;
}

QString AraJenLogic::currentName() const { return table_ && table_->hasRow() ? table_->text(u"ILACAD"_s) : QString(); }

int AraJenLogic::currentRow() const
{
    if (!table_ || !table_->hasRow()) return -1;
    // Rows before the cursor within the class.
    Table t(db_, u"URUN.DB"_s);
    t.setIndex(table_->indexName());
    t.setRange({number_}, {number_});
    int row = 0;
    if (!t.hasRow()) return -1;
    do {
        if (t.rowId() == table_->rowId()) return row;
        ++row;
    } while (t.next());
    return -1;
}

void AraJenLogic::setCurrentRow(int row)
{
    if (!table_) return;
    table_->first();
    for (int i = 0; i < row && table_->next(); ++i) {
    }
}

void AraJenLogic::type(QChar c)
{
    if (!table_) return;
    search_.type(*table_, QString(c));
}

void AraJenLogic::backspace()
{
    if (!table_) return;
    search_.backspace(*table_);
}

void AraJenLogic::clear() { search_.clear(); }

}  // namespace selvar
