#include "data/schema.h"

#include "data/errors.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

FieldDef A(const QString& n, int w, const QString& note = {}) { return {n, FieldType::Alpha, w, false, note}; }
FieldDef Areq(const QString& n, int w, const QString& note = {}) { return {n, FieldType::Alpha, w, true, note}; }
FieldDef L(const QString& n, const QString& note = {}) { return {n, FieldType::Long, 0, false, note}; }
FieldDef S(const QString& n, const QString& note = {}) { return {n, FieldType::Short, 0, false, note}; }
FieldDef AI(const QString& n, const QString& note = {}) { return {n, FieldType::AutoInc, 0, false, note}; }
FieldDef N(const QString& n, const QString& note = {}) { return {n, FieldType::Number, 0, false, note}; }
FieldDef M(const QString& n, const QString& note = {}) { return {n, FieldType::Money, 0, false, note}; }
FieldDef D(const QString& n, const QString& note = {}) { return {n, FieldType::Date, 0, false, note}; }
FieldDef TS(const QString& n, const QString& note = {}) { return {n, FieldType::Timestamp, 0, false, note}; }
FieldDef B(const QString& n, const QString& note = {}) { return {n, FieldType::Logical, 0, false, note}; }
FieldDef Memo(const QString& n, const QString& note = {}) { return {n, FieldType::Memo, 0, false, note}; }

IndexDef I(const QString& name, const QStringList& fields) { return {name, fields, false}; }

QList<FieldDef> seq(const QString& prefix, int from, int to, FieldDef (*make)(const QString&, int, const QString&), int width)
{
    QList<FieldDef> r;
    for (int i = from; i <= to; ++i) r << make(prefix + QString::number(i), width, {});
    return r;
}
QList<FieldDef> seqS(const QString& prefix, int from, int to)
{
    QList<FieldDef> r;
    for (int i = from; i <= to; ++i) r << S(prefix + QString::number(i));
    return r;
}

// Patient-class rates of an institution: prefix + KURUM/CALISAN/EMEKLI/RAPYAT/DIGER.
QList<FieldDef> rateFields(const QString& prefix)
{
    QList<FieldDef> r;
    for (const char* c : {"KURUM", "CALISAN", "EMEKLI", "RAPYAT", "DIGER"})
        r << N(prefix + QString::fromLatin1(c));
    return r;
}

QList<FieldDef> userFields()
{
    QList<FieldDef> f{A(u"KULLANICI"_s, 25), A(u"SIFRESI"_s, 128, u"salted hash of the password (libsodium crypto_pwhash_str)"_s), A(u"URUNKARTI"_s, 1, u"\"H\" = no"_s),
                      A(u"KURUMHRK"_s, 1), A(u"HASTAHRK"_s, 1)};
    for (const char* r : {"ESKISAT", "ALISESKI", "ESKIBILBAK", "TOPLUFIYATBAK", "SAYIMBAK", "ECZBILBAK",
                          "FATLIS", "RECLIS", "RECHRKLIS", "RKDEFLIS", "UCLULIS", "GIRCIKRAP", "URUNLIS",
                          "CARILIS", "HASTALIS", "CARIHRKLIS", "ALFATLIS", "ENVANTER", "ALISM", "TAKAS",
                          "ACIKODE", "HATBORC", "HATALAC", "HATIKISI", "GIZLIKASA", "HIZLIMIKBAK"})
        f << B(QString::fromLatin1(r));
    return f;
}

QList<FieldDef> receteFields()
{
    QList<FieldDef> f{A(u"RKDEFTERNO"_s, 9, u"book number: XX0000001.. provisional, yy0000001.. final"_s),
                      A(u"KURUMKOD"_s, 11), N(u"SATISNO"_s), L(u"DRKOD"_s), A(u"SERINO"_s, 10),
                      A(u"PROTOKOLNO"_s, 10), D(u"RECTARIH"_s), D(u"ALTARIH"_s), D(u"FATARIH"_s),
                      A(u"HASTATIP"_s, 1), A(u"YER"_s, 1)};
    f << seq(u"BAS"_s, 1, 6, &A, 17);
    f << A(u"DZADR1"_s, 30) << A(u"DZADR2"_s, 30) << D(u"VIZETRH"_s)
      << M(u"BRUTN"_s) << M(u"BRUTI"_s) << M(u"BRUTO"_s) << M(u"BRUTH"_s) << M(u"BRUTMR"_s)
      << M(u"HASTAKATPAY"_s) << M(u"NET"_s) << M(u"KDVA"_s) << M(u"KDVB"_s) << M(u"KDVC"_s)
      << L(u"HASTANO"_s) << A(u"FATURANO"_s, 11) << N(u"FATNO"_s);
    return f;
}

QList<FieldDef> recsskFields()
{
    return {N(u"SATISNO"_s), A(u"SICILNO"_s, 13), A(u"TAHSIS_DOSNO"_s, 11), A(u"ULKE_KOD"_s, 2),
            A(u"DURUM_KOD"_s, 1), A(u"YAKINLIK_KOD"_s, 1), A(u"SAGKURNO"_s, 3), A(u"KARANTINA"_s, 10),
            A(u"MEMUNITNO"_s, 8), A(u"DRUNITNO"_s, 8), A(u"ISYERNO"_s, 9), D(u"RPBASTRH"_s),
            D(u"RPBITRH"_s), D(u"HASYATRH"_s), D(u"HSTCIKTRH"_s), A(u"TESHIS"_s, 25), A(u"HASTALIK"_s, 1),
            A(u"RAP_YAT_KOD"_s, 1), A(u"GUNKULACIK"_s, 15), A(u"RS_AD"_s, 18), A(u"RS_SOYAD"_s, 18)};
}

QList<FieldDef> layoutFields(const QStringList& names)
{
    QList<FieldDef> r;
    for (const QString& n : names) r << S(n, u"mm"_s);
    return r;
}

QList<TableDef> buildTables()
{
    QList<TableDef> t;

    // ---------------------------------------------------------------- master tables
    t << TableDef{u"URUN"_s,
                  {Areq(u"ILACAD"_s, 36, u"product name"_s), L(u"JENERIKNO"_s), L(u"GRUPNO"_s), L(u"ENDIKNO"_s),
                   D(u"MIAD"_s, u"expiry"_s), L(u"MIKTAR"_s, u"stock"_s), M(u"FIYAT"_s), D(u"FIYATARIH"_s),
                   AI(u"ILACNO"_s), A(u"ILACKOD"_s, 13, u"barcode"_s), A(u"YER"_s, 7), A(u"RECETEKOD"_s, 1),
                   N(u"KDV"_s), A(u"ALISTIP"_s, 1), L(u"AKTIFSTOK"_s), L(u"PASIFSTOK"_s), Memo(u"PROSPEKTUS"_s)},
                  {u"ILACNO"_s},
                  {I(u"ILACADI"_s, {u"ILACAD"_s}), I(u"ILACKODU"_s, {u"ILACKOD"_s}),
                   // the name after the class number lets a class be searched by name
                   I(u"ILACJEN"_s, {u"JENERIKNO"_s, u"ILACAD"_s}), I(u"ILACGRUP"_s, {u"GRUPNO"_s, u"ILACAD"_s}),
                   I(u"ILACENDIK"_s, {u"ENDIKNO"_s, u"ILACAD"_s})},
                  false, u"products"_s, {}};
    t << TableDef{u"JEN"_s, {L(u"JENERIKNO"_s), A(u"JENERIKAD"_s, 40, u"width chosen here"_s)},
                  {u"JENERIKNO"_s}, {I(u"JENAD"_s, {u"JENERIKAD"_s})}, false, u"generics"_s, {}};
    t << TableDef{u"GRUP"_s, {L(u"GRUPNO"_s), A(u"GRUPAD"_s, 40, u"width chosen here"_s)},
                  {u"GRUPNO"_s}, {I(u"GRUPADI"_s, {u"GRUPAD"_s})}, false, u"product groups"_s, {}};
    t << TableDef{u"ENDIK"_s, {L(u"ENDIKNO"_s), A(u"ENDIKASYONAD"_s, 40, u"width chosen here"_s)},
                  {u"ENDIKNO"_s}, {I(u"ENDIKAD"_s, {u"ENDIKASYONAD"_s})}, false, u"indications"_s, {}};
    t << TableDef{u"KDV"_s, {N(u"KDV1"_s), N(u"KDV2"_s), N(u"KDV3"_s)}, {}, {}, false, u"VAT rates, one row"_s,
                  {QVariantMap{{u"KDV1"_s, 1.0}, {u"KDV2"_s, 8.0}, {u"KDV3"_s, 18.0}}}};
    t << TableDef{u"URFAYAR"_s, {L(u"ILACNO"_s), TS(u"FITARIH"_s), M(u"FIYAT"_s), AI(u"SIRANO"_s)},
                  {u"SIRANO"_s}, {I(u"ILACTRH"_s, {u"ILACNO"_s, u"FITARIH"_s})}, false,
                  u"price history; shown in ILACTRH order"_s, {}};
    {
        QList<FieldDef> f{A(u"KOD"_s, 11), A(u"AD"_s, 36), A(u"ADR1"_s, 31), A(u"ADR2"_s, 31), A(u"ADR3"_s, 31),
                          A(u"VERGIDAIRE"_s, 17), A(u"VERGINO"_s, 13), M(u"BORC"_s), M(u"ALACAK"_s)};
        f << rateFields(u"ILACLARDA"_s) << rateFields(u"OZELKATILIM"_s) << rateFields(u"ILACBERABER"_s)
          << rateFields(u"ITHAL"_s) << rateFields(u"IHLRAP"_s);
        f << A(u"HSP_ISKON"_s, 1);
        f << seq(u"ETIKET"_s, 1, 6, &A, 17);
        f << L(u"FATYUVAR"_s) << D(u"SOZTRHBAS"_s) << D(u"SOZTRHBIT"_s) << A(u"YDEGER"_s, 1);
        t << TableDef{u"KRMLAR"_s, f, {u"KOD"_s}, {I(u"KRMAD"_s, {u"AD"_s})}, false,
                      u"institutions and accounts"_s, {}};
    }
    {
        QList<FieldDef> f{AI(u"HASTANO"_s), A(u"HASTADI"_s, 18), A(u"HASTASOYAD"_s, 18), A(u"ADRES1"_s, 31),
                          A(u"ADRES2"_s, 31), A(u"ADRES3"_s, 31), M(u"BORC"_s)};
        f << seq(u"BAS"_s, 1, 6, &A, 17);
        f << D(u"VIZETRH"_s) << A(u"SINIF"_s, 1) << A(u"KURUM"_s, 11) << A(u"SICILNO"_s, 13)
          << A(u"KM_UNITNO"_s, 8) << A(u"ISYERINO"_s, 9);
        t << TableDef{u"HASTA"_s, f, {u"HASTANO"_s},
                      {I(u"HAS_AD_SOY"_s, {u"HASTADI"_s, u"HASTASOYAD"_s}), I(u"HSICIL"_s, {u"SICILNO"_s})},
                      false, u"patients"_s, {}};
    }
    t << TableDef{u"DR"_s,
                  {L(u"DRKOD"_s), A(u"DRAD"_s, 18), A(u"DRSOYAD"_s, 18), A(u"SICILNO"_s, 6), A(u"DIPLOMANO"_s, 15),
                   A(u"BRANS"_s, 4), A(u"UNITE"_s, 8)},
                  {u"DRKOD"_s}, {I(u"DR_AD_SOY"_s, {u"DRAD"_s, u"DRSOYAD"_s})}, false, u"doctors"_s, {}};
    t << TableDef{u"EKIM"_s,
                  {A(u"ADI"_s, 36), A(u"EADI"_s, 35), A(u"ADR1"_s, 20), A(u"ADR2"_s, 20), A(u"ADR3"_s, 20),
                   A(u"TLF"_s, 11), S(u"ECZKODU"_s), S(u"ILCE_KOD"_s), S(u"IL_KOD"_s), S(u"MERKEZ_KOD"_s),
                   A(u"MESULAD"_s, 36), A(u"VERGINO"_s, 17), A(u"VERGIDAIRE"_s, 25), A(u"ACE"_s, 20),
                   A(u"INTERAD"_s, 255), A(u"HATIRLA"_s, 1), S(u"HATGUNB"_s), S(u"HATGUNA"_s), A(u"BBSDIZIN"_s, 255),
                   A(u"OZEL"_s, 15)},
                  {}, {}, false, u"pharmacy settings, one row"_s, {QVariantMap{{u"ACE"_s, u"Ctrl+B"_s}}}};
    t << TableDef{u"USERKIM"_s, userFields(), {u"KULLANICI"_s}, {}, true,
                  u"users; opened only with the session password"_s, {}};
    t << TableDef{u"usera"_s, userFields(), {}, {}, false, u"the user signed in now, one row"_s, {QVariantMap{}}};
    t << TableDef{u"HAREKET"_s,
                  {N(u"HAREKNO"_s), A(u"CARIKOD"_s, 11), N(u"ALSATNO"_s), A(u"TUR"_s, 1), D(u"TARIH"_s),
                   D(u"VADE"_s), M(u"ALACAK"_s), A(u"ALSAT"_s, 1), A(u"BILGI"_s, 36), S(u"NIHAI"_s), M(u"BORC"_s)},
                  {u"HAREKNO"_s},
                  {I(u"ALSATNO_ALSAT"_s, {u"ALSATNO"_s, u"ALSAT"_s}), I(u"HRKCARI"_s, {u"CARIKOD"_s, u"VADE"_s}),
                   I(u"HRKVADE"_s, {u"VADE"_s}), I(u"HRKTARIH"_s, {u"TARIH"_s})},
                  false, u"account movements"_s, {}};
    t << TableDef{u"URUNHRK"_s,
                  {L(u"ILACNO"_s), TS(u"GCTARIH"_s), L(u"GIRMIK"_s), L(u"CIKMIK"_s), M(u"GIRFIYAT"_s),
                   M(u"CIKFIYAT"_s), N(u"ALSATNO"_s), L(u"SIRANO"_s, u"999999999 = exchange"_s)},
                  {u"ILACNO"_s, u"GCTARIH"_s, u"ALSATNO"_s, u"SIRANO"_s},
                  // HRKTOPLAM holds what a product's entry and exit totals read, so they are
                  // summed from the index alone.
                  {I(u"HRKNO"_s, {u"ALSATNO"_s}),
                   I(u"HRKTOPLAM"_s, {u"ILACNO"_s, u"GIRMIK"_s, u"GIRFIYAT"_s, u"CIKMIK"_s, u"CIKFIYAT"_s})},
                  false,
                  u"product movements"_s, {}};
    t << TableDef{u"PROSES"_s,
                  {TS(u"TARIH"_s), A(u"ACIKLA"_s, 36), N(u"ISLETNO"_s), M(u"TUTAR"_s), A(u"ISLETIPI"_s, 15),
                   M(u"FIYAT"_s, u"operation-log windows"_s), L(u"MIKTAR"_s, u"operation-log windows"_s)},
                  {}, {I(u"PRSTARIH"_s, {u"TARIH"_s})}, false, u"operation log, rows only appended"_s, {}};
    t << TableDef{u"FONT"_s,
                  {A(u"BIRIM"_s, 9), A(u"FONTADI"_s, 35), S(u"FONTSIZE"_s), L(u"COLOR"_s), A(u"STYLE"_s, 1),
                   S(u"MARJIN"_s)},
                  {u"BIRIM"_s}, {}, false, u"printer font per report"_s, {}};
    t << TableDef{u"FIRMA"_s,
                  {L(u"FIRMANO"_s), A(u"FIRMAAD"_s, 36), A(u"ADR1"_s, 31), A(u"ADR2"_s, 31), A(u"TLF"_s, 15),
                   A(u"YETKILI"_s, 30)},
                  {u"FIRMANO"_s}, {I(u"FIRMAADI"_s, {u"FIRMAAD"_s})}, false,
                  u"manufacturer companies, kept by the companion library's company cards"_s, {}};

    // ---------------------------------------------------------------- sales
    t << TableDef{u"SATIS"_s,
                  {N(u"SATISNO"_s), L(u"SIRANOURUN"_s), TS(u"SATARIH"_s), L(u"ILACNO"_s), N(u"FIYAT"_s),
                   L(u"MIKTAR"_s), N(u"KDV"_s), A(u"RECETETIP"_s, 1), A(u"PARAKENDE"_s, 1, u"P R F E"_s)},
                  {u"SATISNO"_s, u"SIRANOURUN"_s},
                  {I(u"SATTARIH"_s, {u"SATARIH"_s}), I(u"SATILAC"_s, {u"ILACNO"_s})}, false, u"sale rows"_s, {}};
    t << TableDef{u"SATEMP"_s,
                  {L(u"SIRANO"_s), A(u"URUNAD"_s, 36), L(u"MIKTAR"_s), M(u"FIYAT"_s), L(u"URUNO"_s),
                   A(u"RECKOD"_s, 1), N(u"KDV"_s)},
                  {u"SIRANO"_s}, {I(u"ADFIY"_s, {u"URUNAD"_s, u"FIYAT"_s})}, false,
                  u"working list of the sale being entered"_s, {}};
    t << TableDef{u"NEWSATIS"_s, {N(u"YENISATISNO"_s)}, {}, {}, false, u"sale-number counter, one row"_s,
                  {QVariantMap{{u"YENISATISNO"_s, 1.0}}}};
    t << TableDef{u"TOPFIY"_s, {M(u"FIYAT"_s)}, {}, {}, false, u"total of the working list, one row"_s,
                  {QVariantMap{{u"FIYAT"_s, 0.0}}}};
    t << TableDef{u"iskonto"_s, {N(u"SATISNO"_s), D(u"TARIH"_s), M(u"ISKONTUT"_s)}, {u"SATISNO"_s},
                  {I(u"ISKTARIH"_s, {u"TARIH"_s})}, false,
                  u"discount of a sale"_s, {}};
    t << TableDef{u"FITMP"_s,
                  {L(u"ILACNO"_s), M(u"FIYAT"_s), D(u"TARIH"_s), L(u"ELDEMIK"_s), L(u"SATISMIK"_s),
                   A(u"RECKOD"_s, 1), A(u"ALISTIP"_s, 1)},
                  {}, {}, false, u"product values dialog working row, one row"_s, {QVariantMap{}}};

    // ---------------------------------------------------------------- prescriptions
    t << TableDef{u"RECETE"_s, receteFields(), {u"RKDEFTERNO"_s},
                  {I(u"RSATNO"_s, {u"SATISNO"_s}), I(u"RFATNO"_s, {u"FATNO"_s}), I(u"RALTARIH"_s, {u"ALTARIH"_s})}, false, u"prescription headers"_s, {}};
    t << TableDef{u"RKAYIT"_s, {A(u"RECETEKAYITNO"_s, 9)}, {}, {}, false, u"provisional book number, one row"_s,
                  {QVariantMap{{u"RECETEKAYITNO"_s, u"XX0000001"_s}}}};
    t << TableDef{u"RECSSK"_s, recsskFields(), {u"SATISNO"_s}, {}, false, u"SSK prescription data"_s, {}};
    t << TableDef{u"RECSSK_A"_s,
                  {N(u"SATISNO"_s), L(u"SIRANOILAC"_s), L(u"ILACNO"_s), L(u"REC_ILAC"_s), A(u"ESDEGERGK"_s, 3),
                   S(u"KUTUSAYISI"_s), A(u"GUN_KULLAN"_s, 1), A(u"BIRKUL_ALMIK"_s, 3)},
                  {u"SATISNO"_s, u"SIRANOILAC"_s, u"ILACNO"_s}, {}, false, u"SSK sale line data"_s, {}};
    t << TableDef{u"SATEMSSK"_s,
                  {L(u"SIRANO"_s), A(u"URUNAD"_s, 36), L(u"URUNO"_s), L(u"REC_ILACNO"_s), A(u"REC_ILACAD"_s, 36),
                   A(u"ESDEGERGK"_s, 3), A(u"RECKOD"_s, 1), N(u"KDV"_s), A(u"GUN_KUL"_s, 1), A(u"BIRKUL_ALMIK"_s, 3),
                   L(u"MIKTAR"_s), M(u"FIYAT"_s)},
                  {u"SIRANO"_s}, {I(u"ADFIY"_s, {u"URUNAD"_s, u"FIYAT"_s})}, false,
                  u"working list of the SSK prescription being sold"_s, {}};
    t << TableDef{u"YENIF"_s,
                  {L(u"SIRANO"_s), L(u"ILACNO"_s), L(u"MIKTAR"_s), TS(u"TARIH"_s), M(u"ESKIFIYAT"_s),
                   M(u"KARTFIYATI"_s), M(u"YENIFIYAT"_s), TS(u"YENIFYTRH"_s), M(u"FARK"_s)},
                  {u"SIRANO"_s}, {}, false, u"re-evaluation working copy of one prescription"_s, {}};
    t << TableDef{u"yenideg"_s,
                  {L(u"SIRANO"_s), D(u"FITARIH"_s), M(u"FIYAT"_s), N(u"SATISNO"_s), L(u"ILACNO"_s)},
                  {u"SIRANO"_s}, {}, false, u"repricings found by an automatic run"_s, {}};
    t << TableDef{u"hazirdeg"_s, {A(u"HAZIRDEGER"_s, 17)}, {u"HAZIRDEGER"_s}, {}, false,
                  u"ready values of prescription headings"_s, {}};

    // ---------------------------------------------------------------- invoicing
    {
        QList<FieldDef> f{N(u"FATNO"_s), A(u"FATURANO"_s, 15), N(u"INORAN1"_s), N(u"SATISNO"_s), A(u"KRMKOD"_s, 11),
                          A(u"KRMAD"_s, 36), A(u"ADR1"_s, 31), A(u"ADR2"_s, 31), A(u"ADR3"_s, 31),
                          A(u"VERGIDAIRE"_s, 17), A(u"VERGINO"_s, 14), D(u"FATARIH"_s), L(u"RCTOPSAYISI"_s),
                          M(u"BRUT"_s), M(u"TOPKDV"_s), N(u"INORAN2"_s), M(u"TENZIL1"_s), M(u"TENZIL2"_s),
                          M(u"NET"_s), B(u"KES"_s), M(u"KDV1"_s), M(u"KDV2"_s), M(u"KDV3"_s), S(u"FAT_GRB"_s)};
        t << TableDef{u"FATURA"_s, f, {u"FATNO"_s}, {I(u"SATISNO"_s, {u"SATISNO"_s}), I(u"FATARIH"_s, {u"FATARIH"_s})}, false,
                      u"invoice headers"_s, {}};
    }
    t << TableDef{u"FATKAYIT"_s, {N(u"NEWFATNO"_s), A(u"FATNOKESILEN"_s, 11)}, {}, {}, false,
                  u"invoice counter, one row"_s, {QVariantMap{{u"NEWFATNO"_s, 1.0}}}};
    t << TableDef{u"KORPARF"_s,
                  layoutFields({u"SAYFA_S"_s, u"SAYFA_U"_s, u"KR_S"_s, u"KR_U"_s, u"ADR1_S"_s, u"ADR1_U"_s,
                                u"ADR2_S"_s, u"ADR2_U"_s, u"ADR3_S"_s, u"ADR3_U"_s, u"VERD_S"_s, u"VERD_U"_s,
                                u"VERNO_S"_s, u"VERNO_U"_s, u"TRH_S"_s, u"TRH_U"_s, u"SUTB_S"_s, u"SUTB_U"_s,
                                u"TOP_S"_s, u"TOP_U"_s, u"YAZI_S"_s, u"YAZI_U"_s, u"SIRA_U"_s, u"URUNAD_U"_s,
                                u"MIK_U"_s, u"BIRIMF_U"_s, u"TUTAR_U"_s}),
                  {}, {}, false, u"sale invoice form layout"_s, {}};
    t << TableDef{u"SAYFA"_s,
                  {A(u"FONTADI"_s, 30), A(u"FONTSTYLE"_s, 40), S(u"FONTSIZE"_s), A(u"FONTRENK"_s, 25),
                   S(u"PRBICIMI"_s), S(u"SAYFAGEN"_s), S(u"SAYFAYUK"_s), A(u"SAYFAISIM"_s, 50)},
                  {}, {}, false, u"page setups, read by position"_s, {}};
    {
        // RECETE and RECSSK joined on SATISNO, refilled by copying before each SSK invoice.
        QList<FieldDef> f = receteFields();
        for (const FieldDef& x : recsskFields())
            if (x.name != u"SATISNO"_s) f << x;
        t << TableDef{u"FATSSK"_s, f, {}, {}, false,
                      u"working copy: prescriptions of one SSK invoice (RECETE + RECSSK)"_s, {}};
    }
    t << TableDef{u"TOPSSK"_s,
                  {N(u"SATISNO"_s), M(u"BRUTN"_s), M(u"BRUTI"_s), M(u"BRUTO"_s), M(u"KDVA"_s), M(u"KDVB"_s),
                   M(u"KDVC"_s), M(u"NET"_s)},
                  {}, {}, false, u"working copy: totals of an SSK printout"_s, {}};
    t << TableDef{u"KOORFAT"_s,
                  layoutFields({u"SAYFA_S"_s, u"SAYFA_U"_s, u"KR_S"_s, u"KR_U"_s, u"ADR1_S"_s, u"ADR1_U"_s,
                                u"ADR2_S"_s, u"ADR2_U"_s, u"ADR3_S"_s, u"ADR3_U"_s, u"VERD_S"_s, u"VERD_U"_s,
                                u"VERNO_S"_s, u"VERNO_U"_s, u"TRH_S"_s, u"TRH_U"_s, u"SUTB_S"_s, u"SUTB_U"_s,
                                u"SIRA_U"_s, u"ADETR_U"_s, u"BAS1_U"_s, u"BAS2_U"_s, u"BAS3_U"_s, u"TOP1_U"_s,
                                u"TOP2_U"_s, u"TOP3_U"_s, u"YAZI_S"_s, u"YAZI_U"_s}),
                  {}, {}, false, u"SSK invoice form layout"_s, {}};

    // ---------------------------------------------------------------- purchasing
    t << TableDef{u"ALIS1"_s,
                  {A(u"KRMKOD"_s, 11), N(u"ALISNO"_s), A(u"FATNO"_s, 15), A(u"IRSALNO"_s, 15), D(u"FATARIH"_s),
                   D(u"IRSTARIH"_s), M(u"BRUT"_s), M(u"KDVTOP"_s), N(u"INORAN1"_s), N(u"INORAN2"_s), N(u"INORAN3"_s),
                   M(u"INDIR1"_s), M(u"INDIR2"_s), M(u"INDIR3"_s), M(u"MFKDV"_s), M(u"NET"_s), M(u"KDVTENZIL"_s),
                   D(u"VADE"_s), A(u"ACIKLAMA"_s, 95)},
                  {u"ALISNO"_s}, {I(u"ALFATARIH"_s, {u"FATARIH"_s})}, false, u"purchase invoice headers"_s, {}};
    t << TableDef{u"ALISTEMP"_s,
                  {L(u"URUNO"_s), L(u"SIRANO"_s), A(u"URUNAD"_s, 36), M(u"FIYAT"_s), L(u"MIKTAR"_s), A(u"RECKOD"_s, 1),
                   S(u"MALFAZLASI"_s), A(u"TIPISKONTO"_s, 1), M(u"GER_FIYAT"_s), N(u"M_ISKONTO"_s), N(u"KDV"_s),
                   A(u"MKDVVARMI"_s, 1)},
                  {u"SIRANO"_s}, {I(u"ADFIY"_s, {u"URUNAD"_s, u"FIYAT"_s})}, false, u"purchase working list"_s, {}};
    t << TableDef{u"NEWALIS"_s, {N(u"NEWALISNO"_s)}, {}, {}, false, u"purchase-number counter, one row"_s,
                  {QVariantMap{{u"NEWALISNO"_s, 1.0}}}};
    t << TableDef{u"HRKNOAL"_s, {N(u"HRKNO"_s)}, {}, {}, false, u"account-movement counter, one row"_s,
                  {QVariantMap{{u"HRKNO"_s, 1.0}}}};
    t << TableDef{u"ALIS3"_s,
                  {N(u"ALISNO"_s), L(u"SIRANOILAC"_s), L(u"ILACNO"_s), M(u"FIYAT"_s), L(u"MIKTAR"_s), A(u"RECKOD"_s, 1),
                   N(u"KDV"_s), TS(u"ALISTARIH"_s), S(u"MALFAZLA"_s), A(u"ISKONTIP"_s, 1), N(u"M_ISKONTO"_s),
                   A(u"MKDVARMI"_s, 1)},
                  {u"ALISNO"_s, u"SIRANOILAC"_s}, {I(u"ALTARIH"_s, {u"ALISTARIH"_s})}, false,
                  u"purchase lines"_s, {}};
    t << TableDef{u"SIPLIST"_s,
                  {L(u"ILACNO"_s), A(u"ILACAD"_s, 36), M(u"FIYAT"_s), D(u"FIYATARIH"_s), D(u"SIPTARIH"_s),
                   L(u"SIPARIS"_s), M(u"FIYAT_1"_s), N(u"KDV"_s), L(u"MIKTAR"_s), A(u"RECETEKOD"_s, 1),
                   S(u"MALFAZLA"_s), A(u"TIPISKON"_s, 1), A(u"MKDVARMI"_s, 1), N(u"M_ISKONTO"_s), A(u"AKTARMA"_s, 1)},
                  {}, {I(u"IAD"_s, {u"ILACAD"_s})}, false, u"order list written by the orders program"_s, {}};
    t << TableDef{u"MRAPORD"_s, {L(u"ILACNO"_s), L(u"MIKDEG"_s)}, {}, {I(u"MRILAC"_s, {u"ILACNO"_s})}, false,
                  u"inventory corrections written by the inventory program"_s, {}};

    // ---------------------------------------------------------------- exchange
    // The boxes by their DataMatrix serial: sold ("S") with their sale line, received ("A")
    // with their purchase; a box is sold once.
    t << TableDef{u"KAREKOD"_s,
                  {L(u"ILACNO"_s), A(u"SERINO"_s, 20, u"serial (21) as scanned"_s),
                   A(u"SERIANAH"_s, 20, u"the serial's comparison key (i, ı, I, İ alike)"_s), A(u"PARTI"_s, 20, u"batch (10)"_s),
                   D(u"MIAD"_s, u"expiry (17)"_s), N(u"BELGENO"_s, u"sale or purchase number"_s), L(u"SIRANO"_s),
                   TS(u"TARIH"_s), A(u"YON"_s, 1, u"S sold, A received"_s)},
                  {},
                  // Unique: a box is sold once and received once, whatever two workstations do.
                  {IndexDef{u"KRKSERI"_s, {u"ILACNO"_s, u"SERIANAH"_s, u"YON"_s}, true}, I(u"KRKBELGE"_s, {u"BELGENO"_s})},
                  false, u"boxes sold and received, by their DataMatrix serial"_s, {}};
    t << TableDef{u"KAREKODTMP"_s,
                  {L(u"URUNO"_s), A(u"SERINO"_s, 20), A(u"SERIANAH"_s, 20), A(u"PARTI"_s, 20), D(u"MIAD"_s),
                   A(u"YON"_s, 1, u"S the sale's list, R the SSK sale's, A the purchase's"_s)},
                  {}, {}, false, u"boxes scanned into the sale or purchase being entered"_s, {}};
    t << TableDef{u"TAKAS"_s,
                  {AI(u"NO"_s), A(u"ECZADI"_s, 24), A(u"ILACAD"_s, 36), S(u"ADET"_s), M(u"TUTAR"_s), A(u"TIP"_s, 1),
                   D(u"TARIH"_s), A(u"SONDURUM"_s, 1)},
                  {u"NO"_s}, {I(u"ECZTRH"_s, {u"ECZADI"_s, u"TARIH"_s})}, false, u"exchanges with pharmacies"_s, {}};

    // ---------------------------------------------------------------- reports
    {
        QList<FieldDef> f{A(u"KURUM"_s, 11), A(u"TIP"_s, 1), B(u"RECKAYAZ"_s), B(u"VIZEYAZ"_s), B(u"PRTOKOL"_s),
                          B(u"SIRANO"_s), B(u"DOKUMTOP"_s), B(u"ITHALYAZ"_s), B(u"CERCEVE"_s),
                          A(u"SIRALAMAKRITER"_s, 1), A(u"SAYFAYON"_s, 1), A(u"RKNOBAS"_s, 1), A(u"FONTADI"_s, 25),
                          L(u"COLOR"_s), S(u"FONTSIZE"_s), A(u"FONTSTYLE"_s, 1), S(u"YANYANAREC"_s), S(u"MARJIN"_s),
                          S(u"RECARBOYUZ"_s), B(u"HERECAYRI"_s), A(u"ILACLAR"_s, 10), A(u"ILACBERA"_s, 10),
                          A(u"OZKAT"_s, 10), A(u"ITHAL"_s, 10), A(u"RAPITHAL"_s, 10), S(u"S_YUKSEK"_s), S(u"S_GENIS"_s),
                          A(u"SAYFA_TIPI"_s, 9)};
        t << TableDef{u"RECKASE"_s, f, {u"KURUM"_s, u"TIP"_s}, {}, false, u"stamped back-print options"_s, {}};
    }
    t << TableDef{u"sayfalar"_s, {A(u"SAYFAADI"_s, 44), A(u"DMWINDEGER"_s, 43), A(u"SAYI"_s, 9), L(u"SAYIWIN"_s)},
                  {}, {}, false, u"paper sizes"_s, {}};
    {
        QList<FieldDef> f{A(u"KURUMKOD"_s, 11), A(u"HASTATIP"_s, 1), A(u"FONTADI"_s, 35), S(u"SIZE"_s),
                          A(u"STYLE"_s, 1), L(u"COLOR"_s), S(u"MARJIN"_s, u"mm"_s)};
        f << seq(u"ALAN"_s, 1, 9, &A, 25) << seq(u"CAPTION"_s, 1, 9, &A, 35) << seq(u"DATA"_s, 1, 9, &A, 21)
          << seqS(u"GENIS"_s, 1, 9);
        f << seq(u"B_ALAN"_s, 1, 8, &A, 25) << seq(u"B_CAPTION"_s, 1, 8, &A, 35) << seq(u"B_DATA"_s, 1, 8, &A, 21)
          << seqS(u"B_GENIS"_s, 1, 8);
        f << A(u"TOPVERNE"_s, 1) << A(u"ILACVARMI"_s, 1);
        t << TableDef{u"recarka"_s, f, {u"KURUMKOD"_s, u"HASTATIP"_s}, {}, false,
                      u"defined back-print layouts, keyed by institution and patient type"_s, {}};
    }
    for (const char* name : {"RECTEMP", "TMPREC", "TMPTREC"})
        t << TableDef{QString::fromLatin1(name), receteFields(), {}, {}, false,
                      u"working copy of RECETE rows, refilled by copying"_s, {}};
    t << TableDef{u"KASA"_s,
                  {A(u"TARIH"_s, 8), M(u"PARSAT"_s), M(u"PREC"_s), M(u"SFAT"_s), M(u"HKP"_s), M(u"VSAT"_s),
                   M(u"NTAH"_s), M(u"NODE"_s), M(u"GENTOP"_s), M(u"ISKON"_s)},
                  {}, {}, false, u"day-by-day cash table, recreated for each report"_s, {}};
    t << TableDef{u"XTOPLAM"_s, {M(u"TUTAR"_s)}, {}, {}, false, u"list total scratch table"_s, {}};
    for (TableDef& def : t)
        for (const char* w : {"SATEMP", "TOPFIY", "FITMP", "SATEMSSK", "YENIF", "yenideg", "FATSSK", "TOPSSK", "ALISTEMP",
                              "RECTEMP", "TMPREC", "TMPTREC", "KASA", "XTOPLAM", "KAREKODTMP"})
            if (def.name == QString::fromLatin1(w)) {
                def.working = true;
                def.note += u"; private to each workstation"_s;
            }
    return t;
}

}  // namespace

int TableDef::fieldIndex(const QString& fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const FieldDef* TableDef::field(const QString& fieldName) const
{
    const int i = fieldIndex(fieldName);
    return i < 0 ? nullptr : &fields[i];
}

const IndexDef* TableDef::index(const QString& indexName) const
{
    for (const IndexDef& i : indexes)
        if (i.name.compare(indexName, Qt::CaseInsensitive) == 0) return &i;
    return nullptr;
}

const FieldDef* TableDef::rowIdField() const
{
    if (primaryKey.size() != 1) return nullptr;
    const FieldDef* f = field(primaryKey[0]);
    return f && f->type == FieldType::AutoInc ? f : nullptr;
}

QString tableNameOf(const QString& fileName)
{
    QString n = fileName.trimmed();
    if (n.endsWith(u".DB"_s, Qt::CaseInsensitive)) n.chop(3);
    if (const TableDef* t = findTable(n)) return t->name;
    return n;
}

const QList<TableDef>& allTables()
{
    static const QList<TableDef> tables = buildTables();
    return tables;
}

const TableDef* findTable(const QString& fileOrTableName)
{
    QString n = fileOrTableName.trimmed();
    if (n.endsWith(u".DB"_s, Qt::CaseInsensitive)) n.chop(3);
    for (const TableDef& t : allTables())
        if (t.name.compare(n, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

const TableDef& tableDef(const QString& fileOrTableName)
{
    if (const TableDef* t = findTable(fileOrTableName)) return *t;
    throw DbError(u"Tablo bulunamadı: "_s + fileOrTableName);
}

QString fieldTypeText(const FieldDef& f)
{
    switch (f.type) {
    case FieldType::Alpha: return u"Alpha "_s + QString::number(f.width);
    case FieldType::Long: return u"Long"_s;
    case FieldType::Short: return u"Short"_s;
    case FieldType::AutoInc: return u"AutoInc"_s;
    case FieldType::Number: return u"Number"_s;
    case FieldType::Money: return u"Money"_s;
    case FieldType::Date: return u"Date"_s;
    case FieldType::Timestamp: return u"Timestamp"_s;
    case FieldType::Logical: return u"Logical"_s;
    case FieldType::Memo: return u"Memo"_s;
    }
    return {};
}

}  // namespace selvar
