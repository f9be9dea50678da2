#include "companion/institution_lists.h"

#include "core/turkish.h"
#include "data/database.h"
#include "data/sql.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

const QStringList& institutionListCaptions()
{
    static const QStringList r{u"KODU"_s,      u"KURUM ADI"_s,  u"BAŞLIK 1"_s, u"BAŞLIK 2"_s,
                               u"BAŞLIK 3"_s,  u"BAŞLIK 4"_s,   u"BAŞLIK 5"_s, u"BAŞLIK 6"_s,
                               u"YUVARLAMA HANESİ"_s, u"Y.DEĞERLENDİRME (R/S)"_s, u"KAT.PAYI BRÜTTEN (1)"_s};
    return r;
}

const QStringList& institutionListFields()
{
    static const QStringList r{u"ETIKET1"_s, u"ETIKET2"_s, u"ETIKET3"_s, u"ETIKET4"_s, u"ETIKET5"_s,
                               u"ETIKET6"_s, u"FATYUVAR"_s, u"YDEGER"_s, u"HSP_ISKON"_s};
    return r;
}

std::vector<InstitutionListRow> loadInstitutionLists(Database& db)
{
    std::vector<InstitutionListRow> r;
    Table t(db, u"KRMLAR"_s);
    t.setIndex(u"KRMAD"_s);
    for (bool ok = t.first(); ok; ok = t.next()) {
        InstitutionListRow row{t.rowId(), t.text(u"KOD"_s), t.text(u"AD"_s), {}};
        for (const QString& f : institutionListFields())
            row.values << (f == u"FATYUVAR"_s && t.isNull(f) ? QString() : t.text(f));
        r.push_back(row);
    }
    return r;
}

QString setInstitutionListValue(Database& db, const QString& code, int column, const QString& value)
{
    const QStringList& fields = institutionListFields();
    if (column < 0 || column >= fields.size()) return u"Bu sütun değiştirilemez."_s;
    const QString field = fields[column];
    QVariant v = value.trimmed();
    if (field.startsWith(u"ETIKET"_s)) {
        if (value.trimmed().size() > 17) return u"Başlık en çok 17 karakter olabilir."_s;
    } else if (field == u"FATYUVAR"_s) {
        bool ok = true;
        const int n = value.trimmed().isEmpty() ? 0 : value.trimmed().toInt(&ok);
        if (!ok || n < 0 || n > 9) return u"Yuvarlama hanesi 0 ile 9 arasında bir sayı olmalı."_s;
        v = n;
    } else if (field == u"YDEGER"_s) {
        const QString s = trUpper(value.trimmed());
        if (!s.isEmpty() && s != u"R"_s && s != u"S"_s)
            return u"Yeniden değerlendirme \"R\" (reçete tarihine göre) veya \"S\" (son fiyat tarihine göre) olmalı."_s;
        v = s;
    } else if (field == u"HSP_ISKON"_s) {
        const QString s = value.trimmed();
        if (!s.isEmpty() && s != u"1"_s) return u"Katılım payı brütten hesaplanacaksa \"1\", değilse boş olmalı."_s;
    }
    Transaction tx(db);
    Table t(db, u"KRMLAR"_s);
    if (!t.findKey({code})) return u"Kurum kartı bulunamadı: "_s + code;
    t.edit();
    t.set(field, v.toString().isEmpty() ? QVariant() : v);
    t.post();
    tx.commit();
    return {};
}

}  // namespace selvar
