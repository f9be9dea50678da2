#include "companion/cards.h"

#include "core/dates.h"
#include "core/turkish.h"
#include "data/database.h"
#include "data/dialect.h"
#include "data/errors.h"
#include "data/sql.h"
#include "data/table.h"

#include <cmath>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

CardField F(const QString& field, const QString& caption, FieldKind kind = FieldKind::Text)
{
    CardField f;
    f.field = field;
    f.caption = caption;
    f.kind = kind;
    return f;
}

CardField required(CardField f)
{
    f.required = true;
    return f;
}

CardField lookup(const QString& field, const QString& caption, const QString& table, const QString& key,
                 const QString& name, const QString& index)
{
    CardField f = F(field, caption, FieldKind::Lookup);
    f.lookupTable = table;
    f.lookupKey = key;
    f.lookupName = name;
    f.lookupIndex = index;
    return f;
}

CardField letter(const QString& field, const QString& caption, const QList<Option>& options)
{
    CardField f = F(field, caption, FieldKind::Letter);
    f.options = options;
    return f;
}

// The small cards: a number given by the card and a name.
CardDef nameCard(CardKind kind, const QString& table, const QString& title, const QString& keyField,
                  const QString& nameField, const QString& index, const QString& noCaption, const QString& nameCaption,
                  const QString& listCaption, const QList<CardReference>& refs)
{
    CardDef s{kind, table, title, keyField, KeyKind::AutoNumber, index, nameField, {}, {}, refs};
    s.columns = {{nameField, listCaption, FieldKind::Text, 360}, {keyField, u"NO"_s, FieldKind::Integer, 70}};
    s.fields = {F(keyField, noCaption, FieldKind::Shown), required(F(nameField, nameCaption))};
    return s;
}

QList<CardDef> buildDefs()
{
    QList<CardDef> r;
    {
        CardDef s{CardKind::Product, u"URUN"_s, u"ÜRÜN KARTLARI"_s, u"ILACNO"_s, KeyKind::AutoInc,
                   u"ILACADI"_s, u"ILACAD"_s, {}, {}, {}};
        s.columns = {{u"ILACAD"_s, u"ÜRÜN ADI"_s, FieldKind::Text, 280},
                     {u"FIYAT"_s, u"FİYATI"_s, FieldKind::Money, 90},
                     {u"FIYATARIH"_s, u"Fiyat Trh"_s, FieldKind::Date, 85},
                     {u"MIKTAR"_s, u"Adet"_s, FieldKind::Integer, 55},
                     {u"YER"_s, u"Yeri"_s, FieldKind::Text, 60},
                     {u"MIAD"_s, u"Miadı"_s, FieldKind::MonthYear, 65},
                     {u"ILACKOD"_s, u"Barkod"_s, FieldKind::Text, 110}};
        s.fields = {required(F(u"ILACAD"_s, u"Ürün Adı"_s)),
                    F(u"ILACKOD"_s, u"Barkod"_s),
                    lookup(u"JENERIKNO"_s, u"Jenerik"_s, u"JEN"_s, u"JENERIKNO"_s, u"JENERIKAD"_s, u"JENAD"_s),
                    lookup(u"GRUPNO"_s, u"Ürün Grubu"_s, u"GRUP"_s, u"GRUPNO"_s, u"GRUPAD"_s, u"GRUPADI"_s),
                    lookup(u"ENDIKNO"_s, u"Endikasyon"_s, u"ENDIK"_s, u"ENDIKNO"_s, u"ENDIKASYONAD"_s, u"ENDIKAD"_s),
                    F(u"FIYAT"_s, u"Fiyatı"_s, FieldKind::Money),
                    F(u"FIYATARIH"_s, u"Fiyat Tarihi"_s, FieldKind::Date),
                    F(u"KDV"_s, u"KDV (%)"_s, FieldKind::Real),
                    F(u"MIAD"_s, u"Miadı (Ay.Yıl)"_s, FieldKind::MonthYear),
                    F(u"YER"_s, u"Yeri"_s),
                    letter(u"RECETEKOD"_s, u"Reçete Tipi"_s, prescriptionTypes()),
                    letter(u"ALISTIP"_s, u"İskonto Tipi"_s, discountTypes()),
                    F(u"MIKTAR"_s, u"Adet (Stok)"_s, FieldKind::Shown),
                    F(u"AKTIFSTOK"_s, u"A.Stok"_s, FieldKind::Shown),
                    F(u"PASIFSTOK"_s, u"P.Stok"_s, FieldKind::Shown),
                    F(u"PROSPEKTUS"_s, u"Prospektüs"_s, FieldKind::Memo)};
        s.references = {{u"URUNHRK"_s, u"ILACNO"_s, u"stok hareketi"_s},
                        {u"SATIS"_s, u"ILACNO"_s, u"satış satırı"_s},
                        {u"ALIS3"_s, u"ILACNO"_s, u"alış satırı"_s},
                        {u"SATEMP"_s, u"URUNO"_s, u"satış listesi satırı"_s},
                        {u"SATEMSSK"_s, u"URUNO"_s, u"SSK satış listesi satırı"_s},
                        {u"ALISTEMP"_s, u"URUNO"_s, u"alış listesi satırı"_s},
                        {u"RECSSK_A"_s, u"ILACNO"_s, u"SSK reçete satırı"_s},
                        {u"SIPLIST"_s, u"ILACNO"_s, u"sipariş satırı"_s},
                        {u"MRAPORD"_s, u"ILACNO"_s, u"sayım düzeltmesi"_s}};
        r << s;
    }
    {
        CardDef s{CardKind::Institution, u"KRMLAR"_s, u"KURUM / CARİ KARTLARI"_s, u"KOD"_s, KeyKind::EnteredText,
                   u"KRMAD"_s, u"AD"_s, {}, {}, {}};
        s.columns = {{u"AD"_s, u"ADI"_s, FieldKind::Text, 280},
                     {u"KOD"_s, u"KODU"_s, FieldKind::Text, 90},
                     {u"BORC"_s, u"BORÇ"_s, FieldKind::Money, 100},
                     {u"ALACAK"_s, u"ALACAK"_s, FieldKind::Money, 100},
                     {u"VERGINO"_s, u"Vergi No"_s, FieldKind::Text, 100}};
        s.fields = {required(F(u"KOD"_s, u"Kurum Kodu"_s)), required(F(u"AD"_s, u"Adı"_s)),
                    F(u"ADR1"_s, u"Adres"_s), F(u"ADR2"_s, QString()), F(u"ADR3"_s, QString()),
                    F(u"VERGIDAIRE"_s, u"Vergi Dairesi"_s), F(u"VERGINO"_s, u"Vergi No"_s),
                    F(u"BORC"_s, u"Borç"_s, FieldKind::Balance), F(u"ALACAK"_s, u"Alacak"_s, FieldKind::Balance)};
        for (const RateAxis& c : rateCategories())
            for (const RateAxis& p : rateClasses()) {
                CardField f = F(c.part + p.part, c.caption + u" / "_s + p.caption, FieldKind::Real);
                f.section = u"rates"_s;
                s.fields << f;
            }
        CardField hsp = F(u"HSP_ISKON"_s, u"Katılım Payı Kurum İskontosu Düşülmeden Hesaplansın"_s, FieldKind::Flag);
        hsp.flagValue = u"1"_s;
        s.fields << hsp;
        for (int i = 1; i <= 6; ++i)
            s.fields << F(u"ETIKET"_s + QString::number(i), u"Reçete Başlığı "_s + QString::number(i));
        s.fields << F(u"FATYUVAR"_s, u"Faturada Yuvarlanacak Hane"_s, FieldKind::Integer)
                 << F(u"SOZTRHBAS"_s, u"Sözleşme Başlangıcı"_s, FieldKind::Date)
                 << F(u"SOZTRHBIT"_s, u"Sözleşme Bitişi"_s, FieldKind::Date)
                 << letter(u"YDEGER"_s, u"Yeniden Değerlendirme"_s,
                           {{QString(), u"(seçilmedi)"_s},
                            {u"R"_s, u"Reçete Tarihine Göre"_s},
                            {u"S"_s, u"Son Fiyat Tarihine Göre"_s}});
        s.references = {{u"HAREKET"_s, u"CARIKOD"_s, u"cari hareket"_s},
                        {u"HASTA"_s, u"KURUM"_s, u"hasta kartı"_s},
                        {u"RECETE"_s, u"KURUMKOD"_s, u"reçete"_s},
                        {u"FATURA"_s, u"KRMKOD"_s, u"fatura"_s},
                        {u"ALIS1"_s, u"KRMKOD"_s, u"alış faturası"_s},
                        {u"RECKASE"_s, u"KURUM"_s, u"kaşeli reçete arkası ayarı"_s},
                        {u"recarka"_s, u"KURUMKOD"_s, u"reçete arkası tanımı"_s}};
        r << s;
    }
    {
        CardDef s{CardKind::Patient, u"HASTA"_s, u"HASTA KARTLARI"_s, u"HASTANO"_s, KeyKind::AutoInc,
                   u"HAS_AD_SOY"_s, u"HASTADI"_s, {}, {}, {}};
        s.columns = {{u"HASTADI"_s, u"ADI"_s, FieldKind::Text, 150},
                     {u"HASTASOYAD"_s, u"SOYADI"_s, FieldKind::Text, 150},
                     {u"KURUM"_s, u"KURUMU"_s, FieldKind::Text, 80},
                     {u"SICILNO"_s, u"SİCİL NO"_s, FieldKind::Text, 110},
                     {u"BORC"_s, u"BORCU"_s, FieldKind::Money, 100},
                     {u"HASTANO"_s, u"NO"_s, FieldKind::Integer, 60}};
        s.fields = {F(u"HASTANO"_s, u"Hasta No"_s, FieldKind::Shown),
                    required(F(u"HASTADI"_s, u"Adı"_s)),
                    F(u"HASTASOYAD"_s, u"Soyadı"_s),
                    F(u"ADRES1"_s, u"Adres"_s), F(u"ADRES2"_s, QString()), F(u"ADRES3"_s, QString()),
                    lookup(u"KURUM"_s, u"Kurumu"_s, u"KRMLAR"_s, u"KOD"_s, u"AD"_s, u"KRMAD"_s),
                    letter(u"SINIF"_s, u"Sınıfı"_s, patientClasses()),
                    F(u"SICILNO"_s, u"Sicil No"_s),
                    F(u"KM_UNITNO"_s, u"Ünite No"_s),
                    F(u"ISYERINO"_s, u"İşyeri No"_s),
                    F(u"VIZETRH"_s, u"Vize Tarihi"_s, FieldKind::Date)};
        for (int i = 1; i <= 6; ++i) s.fields << F(u"BAS"_s + QString::number(i), u"Başlık "_s + QString::number(i));
        s.fields << F(u"BORC"_s, u"Borcu"_s, FieldKind::Balance);
        s.references = {{u"HAREKET"_s, u"CARIKOD"_s, u"cari hareket"_s},
                        {u"RECETE"_s, u"HASTANO"_s, u"reçete"_s}};
        r << s;
    }
    {
        CardDef s{CardKind::Doctor, u"DR"_s, u"DOKTOR KARTLARI"_s, u"DRKOD"_s, KeyKind::EnteredNumber,
                   u"DR_AD_SOY"_s, u"DRAD"_s, {}, {}, {}};
        s.columns = {{u"DRAD"_s, u"ADI"_s, FieldKind::Text, 150},
                     {u"DRSOYAD"_s, u"SOYADI"_s, FieldKind::Text, 150},
                     {u"DRKOD"_s, u"KODU"_s, FieldKind::Integer, 70},
                     {u"BRANS"_s, u"BRANŞ"_s, FieldKind::Text, 60},
                     {u"SICILNO"_s, u"SİCİL NO"_s, FieldKind::Text, 80},
                     {u"DIPLOMANO"_s, u"DİPLOMA NO"_s, FieldKind::Text, 110}};
        s.fields = {required(F(u"DRKOD"_s, u"Doktor Kodu"_s, FieldKind::Integer)),
                    required(F(u"DRAD"_s, u"Adı"_s)),
                    F(u"DRSOYAD"_s, u"Soyadı"_s),
                    F(u"SICILNO"_s, u"Sicil No"_s),
                    F(u"DIPLOMANO"_s, u"Diploma No"_s),
                    F(u"BRANS"_s, u"Branşı"_s),
                    F(u"UNITE"_s, u"Ünitesi"_s)};
        s.references = {{u"RECETE"_s, u"DRKOD"_s, u"reçete"_s}};
        r << s;
    }
    r << nameCard(CardKind::Generic, u"JEN"_s, u"JENERİK KARTLARI"_s, u"JENERIKNO"_s, u"JENERIKAD"_s, u"JENAD"_s,
                  u"Jenerik No"_s, u"Jenerik Adı"_s, u"JENERİK ADI"_s, {{u"URUN"_s, u"JENERIKNO"_s, u"ürün kartı"_s}});
    r << nameCard(CardKind::Group, u"GRUP"_s, u"ÜRÜN GRUBU KARTLARI"_s, u"GRUPNO"_s, u"GRUPAD"_s, u"GRUPADI"_s,
                  u"Grup No"_s, u"Grup Adı"_s, u"ÜRÜN GRUBU ADI"_s, {{u"URUN"_s, u"GRUPNO"_s, u"ürün kartı"_s}});
    r << nameCard(CardKind::Indication, u"ENDIK"_s, u"ENDİKASYON KARTLARI"_s, u"ENDIKNO"_s, u"ENDIKASYONAD"_s,
                  u"ENDIKAD"_s, u"Endikasyon No"_s, u"Endikasyon Adı"_s, u"ENDİKASYON ADI"_s,
                  {{u"URUN"_s, u"ENDIKNO"_s, u"ürün kartı"_s}});
    {
        CardDef s = nameCard(CardKind::Company, u"FIRMA"_s, u"FİRMA KARTLARI"_s, u"FIRMANO"_s, u"FIRMAAD"_s,
                              u"FIRMAADI"_s, u"Firma No"_s, u"Firma Adı"_s, u"FİRMA ADI"_s, {});
        s.columns.insert(1, {u"TLF"_s, u"TELEFON"_s, FieldKind::Text, 110});
        s.columns.insert(2, {u"YETKILI"_s, u"YETKİLİ"_s, FieldKind::Text, 150});
        s.fields << F(u"ADR1"_s, u"Adres"_s) << F(u"ADR2"_s, QString()) << F(u"TLF"_s, u"Telefon"_s)
                 << F(u"YETKILI"_s, u"Yetkili"_s);
        r << s;
    }
    return r;
}

QVariant keyBindValue(const CardDef& cardDef, const QVariant& key)
{
    const FieldDef* f = tableDef(cardDef.table).field(cardDef.keyField);
    if (f && f->isText()) return key.toString().trimmed();
    return qlonglong(std::llround(key.toDouble()));
}

QString cardSelect(Database& db, const CardDef& cardDef)
{
    const Dialect& d = db.dialect();
    const TableDef& t = tableDef(cardDef.table);
    QStringList cols{d.rowId(), d.quote(cardDef.keyField)};
    for (const ListColumn& c : cardDef.columns) cols << d.quote(c.field);
    return u"SELECT "_s + cols.join(u", "_s) + u" FROM "_s + d.tableName(t);
}

CardRow readCardRow(Database& db, const CardDef& cardDef, const Sql& q)
{
    const TableDef& t = tableDef(cardDef.table);
    CardRow r;
    r.rowId = q.integer(0);
    r.key = db.dialect().fromDatabase(t.field(cardDef.keyField)->type, q.value(1));
    for (int i = 0; i < cardDef.columns.size(); ++i)
        r.values << db.dialect().fromDatabase(t.field(cardDef.columns[i].field)->type, q.value(i + 2));
    return r;
}

// ORDER BY of a named index, in the same terms as the table cursor uses.
QString indexOrder(Database& db, const TableDef& t, const QString& indexName)
{
    const Dialect& d = db.dialect();
    QStringList terms;
    if (const IndexDef* ix = t.index(indexName))
        for (const QString& f : ix->fields) terms << d.orderTerm(d.keyExpression(*t.field(f)), false);
    terms << d.orderTerm(d.rowId(), false);
    return u" ORDER BY "_s + terms.join(u", "_s);
}

}  // namespace

std::vector<CardRow> loadCardList(Database& db, const CardDef& cardDef)
{
    Sql q(db, cardSelect(db, cardDef) + indexOrder(db, tableDef(cardDef.table), cardDef.nameIndex));
    q.exec();
    std::vector<CardRow> r;
    while (q.next()) r.push_back(readCardRow(db, cardDef, q));
    return r;
}

std::optional<CardRow> loadCardRow(Database& db, const CardDef& cardDef, qint64 rowId)
{
    Sql q(db, cardSelect(db, cardDef) + u" WHERE "_s + db.dialect().rowId() + u" = :r"_s);
    q.bind(u"r"_s, rowId).exec();
    if (!q.next()) return std::nullopt;
    return readCardRow(db, cardDef, q);
}

std::vector<std::pair<QVariant, QString>> loadLookup(Database& db, const CardField& field)
{
    const TableDef& t = tableDef(field.lookupTable);
    const Dialect& d = db.dialect();
    Sql q(db, u"SELECT "_s + d.quote(field.lookupKey) + u", "_s + d.quote(field.lookupName) + u" FROM "_s
                  + d.tableName(t) + indexOrder(db, t, field.lookupIndex));
    q.exec();
    std::vector<std::pair<QVariant, QString>> r;
    while (q.next()) r.emplace_back(d.fromDatabase(t.field(field.lookupKey)->type, q.value(0)), q.text(1));
    return r;
}

QStringList institutionLabels(Database& db, const QString& code)
{
    QStringList r(6);
    if (code.trimmed().isEmpty()) return r;
    Sql q(db, u"SELECT ETIKET1, ETIKET2, ETIKET3, ETIKET4, ETIKET5, ETIKET6 FROM KRMLAR WHERE KOD = :k"_s);
    q.bind(u"k"_s, code.trimmed()).exec();
    if (q.next())
        for (int i = 0; i < 6; ++i) r[i] = q.text(i);
    return r;
}

const CardField* CardDef::field(const QString& name) const
{
    for (const CardField& f : fields)
        if (f.field.compare(name, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

const CardDef& cardDef(CardKind kind)
{
    static const QList<CardDef> cardDefs = buildDefs();
    for (const CardDef& s : cardDefs)
        if (s.kind == kind) return s;
    return cardDefs.first();
}

const QList<RateAxis>& rateCategories()
{
    static const QList<RateAxis> r{{u"ILACLARDA"_s, u"İlaçlar"_s},
                                   {u"OZELKATILIM"_s, u"Özel Katılımlı"_s},
                                   {u"ILACBERABER"_s, u"İlaç Beraberi"_s},
                                   {u"ITHAL"_s, u"İthal İlaç"_s},
                                   {u"IHLRAP"_s, u"Raporlu İthal"_s}};
    return r;
}

const QList<RateAxis>& rateClasses()
{
    static const QList<RateAxis> r{{u"KURUM"_s, u"Kurum İsk."_s},
                                   {u"CALISAN"_s, u"Çalışan"_s},
                                   {u"EMEKLI"_s, u"Emekli"_s},
                                   {u"RAPYAT"_s, u"Rap./Yatan"_s},
                                   {u"DIGER"_s, u"Diğer"_s}};
    return r;
}

const QList<Option>& prescriptionTypes()
{
    static const QList<Option> r{{QString(), u"(yok)"_s},
                                 {u"N"_s, u"Normal"_s},
                                 {u"Y"_s, u"Yeşil"_s},
                                 {u"K"_s, u"Kırmızı"_s},
                                 {u"R"_s, u"Reçete ile Satışı Mecburi"_s},
                                 {u"A"_s, u"Antibiogram Gerekli"_s},
                                 {u"S"_s, u"Sağlık Kurulu Raporu Gerekli"_s},
                                 {u"O"_s, u"Özel Katılım Paylı"_s},
                                 {u"I"_s, u"İlaç Beraberi"_s},
                                 {u"B"_s, u"Bedelini Hasta Ödeyecek"_s},
                                 {u"H"_s, u"Hastahanede Yatan Hasta"_s},
                                 {u"L"_s, u"İthal İlaç"_s},
                                 {u"U"_s, u"Rap.İthal İlaç"_s}};
    return r;
}

const QList<Option>& discountTypes()
{
    static const QList<Option> r{{QString(), u"(yok)"_s},
                                 {u"0"_s, u"1.Sabit Depo İsk.lu"_s},
                                 {u"1"_s, u"2.İskontosuz"_s},
                                 {u"2"_s, u"3.Depocu Fiyatlı Sbt.Dp.İsk.lu"_s},
                                 {u"3"_s, u"4.Depocu Fiyatlı İsk.suz"_s},
                                 {u"4"_s, u"5.Diğer(KDVsiz) İsk.suz"_s},
                                 {u"5"_s, u"6.Farklı İskontolu"_s},
                                 {u"6"_s, u"7.Depocu Fyt.lı Farklı İsk.lu"_s},
                                 {u"7"_s, u"8.Diğer(KDVsiz) Sbt.Dp. İsk.lu"_s},
                                 {u"8"_s, u"9.Diğer(KDVsiz) Farklı İsk.lu"_s}};
    return r;
}

const QList<Option>& patientClasses()
{
    static const QList<Option> r{{u"N"_s, u"Normal"_s},
                                 {u"Ç"_s, u"Çalışan"_s},
                                 {u"E"_s, u"Emekli"_s},
                                 {u"R"_s, u"Rap./Yatan"_s},
                                 {u"D"_s, u"Diğer"_s}};
    return r;
}

CardRules::CardRules(Database& db, const CardDef& cardDef) : db_(db), def_(cardDef) {}

QString CardRules::keyText(const QVariant& key)
{
    if (key.typeId() == QMetaType::Double) return QString::number(qlonglong(std::llround(key.toDouble())));
    return key.toString().trimmed();
}

std::vector<CardRules::Usage> CardRules::usages(const QVariant& key)
{
    std::vector<Usage> r;
    if (key.isNull() || keyText(key).isEmpty()) return r;
    for (const CardReference& ref : def_.references) {
        const TableDef& t = tableDef(ref.table);
        const FieldDef* f = t.field(ref.field);
        // A movement names a patient by the number in digits.
        const QVariant v = f->isText() ? QVariant(keyText(key)) : keyBindValue(def_, key);
        const int n = int(Sql::scalar(db_, u"SELECT COUNT(*) FROM "_s + t.name + u" WHERE "_s + f->name + u" = :k"_s,
                                      {{u"k"_s, v}})
                              .toLongLong());
        if (n > 0) r.push_back({ref.what, t.name, n});
    }
    return r;
}

QString CardRules::deleteRefusal(const QVariant& key)
{
    const std::vector<Usage> used = usages(key);
    if (used.empty()) return {};
    for (const Usage& u : used)
        if (u.table == u"URUNHRK"_s) return u"Ürünün Stok Bilgisi Mevut Silinemez!!!"_s;
    QStringList parts;
    for (const Usage& u : used) parts << QString::number(u.count) + u' ' + u.what;
    return u"Bu kart başka kayıtlarda kullanılıyor ("_s + parts.join(u", "_s) + u"). Silinemez!"_s;
}

QString CardRules::remove(const QVariant& key)
{
    Transaction tx(db_);
    const QString refusal = deleteRefusal(key);
    if (!refusal.isEmpty()) return refusal;
    if (def_.kind == CardKind::Product)
        Sql::run(db_, u"DELETE FROM URFAYAR WHERE ILACNO = :k"_s, {{u"k"_s, keyBindValue(def_, key)}});
    Sql::run(db_, u"DELETE FROM "_s + def_.table + u" WHERE "_s + def_.keyField + u" = :k"_s,
             {{u"k"_s, keyBindValue(def_, key)}});
    tx.commit();
    return {};
}

QVariant CardRules::nextNumber()
{
    const QVariant v = Sql::scalar(db_, u"SELECT MAX("_s + def_.keyField + u") FROM "_s + def_.table);
    return qlonglong(v.isNull() ? 1 : std::llround(v.toDouble()) + 1);
}

bool CardRules::keyExists(const QVariant& key)
{
    // Through the key order, so codes differing only in case count as one.
    Table t(db_, def_.table);
    return t.findKey({keyBindValue(def_, key)});
}

QString CardRules::validate(const QVariantMap& values, const QVariant& oldKey)
{
    for (const CardField& f : def_.fields) {
        if (!f.required || f.field == def_.keyField) continue;
        if (values.value(f.field).toString().trimmed().isEmpty()) return f.caption + u" boş bırakılamaz."_s;
    }
    const bool entered = def_.keyKind == KeyKind::EnteredText || def_.keyKind == KeyKind::EnteredNumber;
    if (entered) {
        const QVariant key = values.value(def_.keyField, oldKey);
        const QString text = keyText(key);
        const CardField* kf = def_.field(def_.keyField);
        if (text.isEmpty() || (def_.keyKind == KeyKind::EnteredNumber && key.toDouble() <= 0))
            return kf->caption + u" boş bırakılamaz."_s;
        // The ledger reads a code of digits as a patient number.
        if (def_.kind == CardKind::Institution && isDigitsOnly(text))
            return u"Kurum kodu yalnız rakamlardan oluşamaz; rakamlardan oluşan cari kodu hasta numarasıdır."_s;
        const bool changed = oldKey.isNull() || keyText(oldKey) != text;
        if (changed && !oldKey.isNull() && keyInUse(oldKey))
            return kf->caption + u" başka kayıtlarda kullanıldığı için değiştirilemez."_s;
        if (changed && keyExists(key)) return u"Bu kodla kayıtlı bir kart var: "_s + text;
    }
    if (def_.kind == CardKind::Product) {
        // Sales find the product by its name, so two cards may not share one.
        Table t(db_, u"URUN"_s);
        t.setIndex(u"ILACADI"_s);
        const QString name = values.value(u"ILACAD"_s).toString().trimmed();
        if (t.findKey({name}) && (oldKey.isNull() || t.integer(u"ILACNO"_s) != oldKey.toLongLong()))
            return u"Bu adla kayıtlı bir ürün var: "_s + t.text(u"ILACAD"_s);
    }
    return {};
}

QVariant CardRules::save(const QVariantMap& values, const QVariant& oldKey, const QDateTime& now)
{
    Transaction tx(db_);
    const QString refusal = validate(values, oldKey);
    if (!refusal.isEmpty()) throw DbError(refusal);
    Table t(db_, def_.table);
    const bool isNew = oldKey.isNull();
    if (isNew) {
        t.insert();
        if (def_.keyKind == KeyKind::AutoNumber) t.set(def_.keyField, nextNumber());
    } else {
        if (!t.findKey({keyBindValue(def_, oldKey)})) throw DbError(u"Kart bulunamadı; başka bir kullanıcı silmiş olabilir."_s);
        t.edit();
    }
    const bool product = def_.kind == CardKind::Product;
    const double oldPrice = product && !isNew ? t.number(u"FIYAT"_s) : 0;
    const QDate oldPriceDate = product && !isNew ? t.date(u"FIYATARIH"_s) : QDate();
    const qint64 productNo = product && !isNew ? t.integer(u"ILACNO"_s) : 0;
    for (const CardField& f : def_.fields) {
        if (!f.editable() || !values.contains(f.field)) continue;
        if (f.field == def_.keyField && def_.keyKind != KeyKind::EnteredText && def_.keyKind != KeyKind::EnteredNumber)
            continue;
        QVariant v = values.value(f.field);
        if (v.typeId() == QMetaType::QString) v = v.toString().trimmed();
        t.set(f.field, v);
    }
    if (product && isNew && t.isNull(u"MIKTAR"_s)) t.set(u"MIKTAR"_s, 0);
    t.post();
    const QVariant key = t.value(def_.keyField);
    if (product && !isNew && values.contains(u"FIYAT"_s) && oldPrice > 0
        && std::fabs(values.value(u"FIYAT"_s).toDouble() - oldPrice) > 1e-9) {
        // The old price stays valid from its own date, as the price-change windows keep it.
        Sql q(db_, u"INSERT INTO URFAYAR (ILACNO, FITARIH, FIYAT) VALUES (:n, :t, :f)"_s);
        q.bind(u"n"_s, productNo)
            .bind(u"t"_s, withTimeOf(oldPriceDate.isValid() ? oldPriceDate : now.date(), now))
            .bind(u"f"_s, oldPrice)
            .exec();
    }
    tx.commit();
    return key;
}

}  // namespace selvar
