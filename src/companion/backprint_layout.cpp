#include "companion/backprint_layout.h"

#include "data/database.h"
#include "data/table.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

QString n(const char* prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i + 1); }

void readField(const Table& t, LayoutField& f, const char* alan, const char* caption, const char* data,
               const char* width, int i)
{
    f.chosen = t.text(n(alan, i));
    f.caption = t.text(n(caption, i));
    f.data = t.text(n(data, i));
    f.width = int(t.integer(n(width, i)));
}

void writeField(Table& t, const LayoutField& f, const char* alan, const char* caption, const char* data,
                const char* width, int i)
{
    t.set(n(alan, i), f.chosen);
    t.set(n(caption, i), f.caption);
    t.set(n(data, i), f.data);
    t.set(n(width, i), f.width);
}

}  // namespace

std::optional<BackPrintLayout> loadLayout(Database& db, const QString& institution, const QString& patientType)
{
    Table t(db, u"recarka"_s);
    if (!t.findKey({institution, patientType})) return std::nullopt;
    BackPrintLayout l;
    l.institution = t.text(u"KURUMKOD"_s);
    l.patientType = t.text(u"HASTATIP"_s);
    l.fontName = t.text(u"FONTADI"_s);
    l.fontSize = t.isNull(u"SIZE"_s) ? 10 : int(t.integer(u"SIZE"_s));
    l.style = t.text(u"STYLE"_s).isEmpty() ? u"R"_s : t.text(u"STYLE"_s);
    l.color = t.integer(u"COLOR"_s);
    l.margin = int(t.integer(u"MARJIN"_s));
    for (int i = 0; i < BackPrintLayout::FieldCount; ++i)
        readField(t, l.fields[i], "ALAN", "CAPTION", "DATA", "GENIS", i);
    for (int i = 0; i < BackPrintLayout::ColumnCount; ++i)
        readField(t, l.columns[i], "B_ALAN", "B_CAPTION", "B_DATA", "B_GENIS", i);
    l.totalWording = t.text(u"TOPVERNE"_s);
    l.productLines = t.text(u"ILACVARMI"_s) != u"H"_s;
    return l;
}

void saveLayout(Database& db, const BackPrintLayout& l)
{
    Transaction tx(db);
    Table t(db, u"recarka"_s);
    if (t.findKey({l.institution, l.patientType})) {
        t.edit();
    } else {
        t.insert();
        t.set(u"KURUMKOD"_s, l.institution);
        t.set(u"HASTATIP"_s, l.patientType);
    }
    t.set(u"FONTADI"_s, l.fontName);
    t.set(u"SIZE"_s, l.fontSize);
    t.set(u"STYLE"_s, l.style);
    t.set(u"COLOR"_s, l.color);
    t.set(u"MARJIN"_s, l.margin);
    for (int i = 0; i < BackPrintLayout::FieldCount; ++i)
        writeField(t, l.fields[i], "ALAN", "CAPTION", "DATA", "GENIS", i);
    for (int i = 0; i < BackPrintLayout::ColumnCount; ++i)
        writeField(t, l.columns[i], "B_ALAN", "B_CAPTION", "B_DATA", "B_GENIS", i);
    t.set(u"TOPVERNE"_s, l.totalWording);
    t.set(u"ILACVARMI"_s, l.productLines ? u"E"_s : u"H"_s);
    t.post();
    tx.commit();
}

void deleteLayout(Database& db, const QString& institution, const QString& patientType)
{
    Table t(db, u"recarka"_s);
    if (t.findKey({institution, patientType})) t.remove();
}

const QList<DataField>& prescriptionDataFields()
{
    static const QList<DataField> r{
        {u"RKDEFTERNO"_s, u"Reç.Kayıt Def.No"_s}, {u"KURUMKOD"_s, u"Kurum Kodu"_s},
        {u"SATISNO"_s, u"Satış No"_s}, {u"DRKOD"_s, u"Doktor Kodu"_s}, {u"SERINO"_s, u"Seri No"_s},
        {u"PROTOKOLNO"_s, u"Protokol No"_s}, {u"RECTARIH"_s, u"Reçete Tarihi"_s},
        {u"ALTARIH"_s, u"İlaç Veriliş Tarihi"_s}, {u"FATARIH"_s, u"Fatura Tarihi"_s},
        {u"FATURANO"_s, u"Fatura No"_s}, {u"FATNO"_s, u"Fatura Evrak No"_s}, {u"HASTANO"_s, u"Hasta No"_s},
        {u"HASTATIP"_s, u"Hasta Tipi"_s}, {u"BAS1"_s, u"Başlık 1"_s}, {u"BAS2"_s, u"Başlık 2"_s},
        {u"BAS3"_s, u"Başlık 3"_s}, {u"BAS4"_s, u"Başlık 4"_s}, {u"BAS5"_s, u"Başlık 5"_s},
        {u"BAS6"_s, u"Başlık 6"_s}, {u"VIZETRH"_s, u"Vize Tarihi"_s}, {u"DZADR1"_s, u"Adres 1"_s},
        {u"DZADR2"_s, u"Adres 2"_s}, {u"BRUTN"_s, u"İlaç Brüt"_s}, {u"BRUTI"_s, u"İlaç Beraberi Brüt"_s},
        {u"BRUTO"_s, u"Özel Katılımlı Brüt"_s}, {u"BRUTH"_s, u"İthal Brüt"_s},
        {u"BRUTMR"_s, u"Raporlu İthal Brüt"_s}, {u"HASTAKATPAY"_s, u"Hasta Katılım Payı"_s},
        {u"NET"_s, u"Net Tutar"_s}, {u"KDVA"_s, u"KDV 1"_s}, {u"KDVB"_s, u"KDV 2"_s}, {u"KDVC"_s, u"KDV 3"_s},
        {u"BRUT"_s, u"Brüt Toplam"_s}, {u"INDIRSon"_s, u"Kurum İskontosu Toplamı"_s},
        {u"HKPson"_s, u"Katılım Payı Toplamı"_s}, {u"NETSON"_s, u"Net Kalan Toplamı"_s},
        {u"INDIR"_s, u"İndirim"_s}, {u"NetNONIthal"_s, u"Yerli Net"_s}, {u"NetTumIHL"_s, u"İthal Net"_s}};
    return r;
}

const QList<DataField>& productDataFields()
{
    static const QList<DataField> r{
        {u"ILAD"_s, u"Ürün Adı"_s}, {u"BARKOD"_s, u"Barkod"_s}, {u"MIKTAR"_s, u"Adet"_s},
        {u"FIYAT"_s, u"Birim Fiyat"_s}, {u"BRUTUTAR"_s, u"Tutar"_s}, {u"RECETETIP"_s, u"Reçete Tipi"_s},
        {u"KDV"_s, u"KDV Oranı"_s}, {u"bN"_s, u"İlaç Fiyatı"_s}, {u"bI"_s, u"İlaç Beraberi Fiyatı"_s},
        {u"bO"_s, u"Özel Katılımlı Fiyatı"_s}, {u"bH"_s, u"İthal Fiyatı"_s}, {u"bMR"_s, u"Raporlu İthal Fiyatı"_s},
        {u"bNTUT"_s, u"İlaç Tutarı"_s}, {u"bITUT"_s, u"İlaç Beraberi Tutarı"_s},
        {u"bOTUT"_s, u"Özel Katılımlı Tutarı"_s}, {u"bHTUT"_s, u"İthal Tutarı"_s},
        {u"bMRTUT"_s, u"Raporlu İthal Tutarı"_s}};
    return r;
}

QString dataFieldMeaning(const QString& name)
{
    for (const auto* list : {&prescriptionDataFields(), &productDataFields()})
        for (const DataField& f : *list)
            if (f.first == name) return f.second;
    return {};
}

}  // namespace selvar
