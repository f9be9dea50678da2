#include "prescriptions/dokssk_logic.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QStringList sskGroupCaptions()
{
    return {u"Memur Reçeteleri"_s,
            u"Memur Ailelesi"_s,
            u"Çalışan Sigortalı Reçeteleri"_s,
            u"Çalışan Sigortalı Ailesi"_s,
            u"Emekli Reçeteleri"_s,
            u"Emekli Aileleri"_s,
            u"Katkı Payından Muaf Reçeteleri"_s,
            u"Yurtdışı Sigortalısı Reçeteleri"_s,
            u"Hstlk.,İş Kz,Meslek Hast. ve Analık Reçeteleri"_s};
}

QStringList sskPrintoutCaptions() { return {u"Fatura"_s, u"Liste"_s, u"Reçete Arkası"_s, u"İlaçlı Liste"_s}; }

QStringList sskOrderCaptions()
{
    return {u"Reçete Tarihine Göre"_s, u"Alındığı Tarihe Göre"_s, u"Ada Göre"_s, u"Soyada Göre"_s};
}

QString sskPrintChoice(int group, int printout, int order)
{
    const auto in = [](int i, const QStringList& items) { return i >= 0 && i < items.size(); };
    // Without a group there is no selection at all, so it counts like a missing printout.
    if (!in(group, sskGroupCaptions()) || !in(printout, sskPrintoutCaptions())) return {};
    const int o = in(order, sskOrderCaptions()) ? order : 0;
    return QString::number(group) + QString::number(printout) + QString::number(o);
}

QString sskGroupCondition(QChar group)
{
    switch (group.unicode()) {
    case u'0': return u"WHERE (DURUM_KOD='3') AND (YAKINLIK_KOD='0')"_s;
    case u'1': return u"WHERE (DURUM_KOD='3') AND (YAKINLIK_KOD<>'0')"_s;
    case u'2': return u"WHERE (DURUM_KOD='1') AND (YAKINLIK_KOD='0')"_s;
    case u'3': return u"WHERE (DURUM_KOD='1') AND (YAKINLIK_KOD<>'0')"_s;
    case u'4': return u"WHERE (DURUM_KOD='2') AND (YAKINLIK_KOD='0')"_s;
    case u'5': return u"WHERE (DURUM_KOD='2') AND (YAKINLIK_KOD<>'0')"_s;
    case u'6': return u"WHERE (DURUM_KOD='5') OR (DURUM_KOD='6') OR (DURUM_KOD='7') OR (DURUM_KOD='8')"_s;
    case u'7': return u"WHERE (DURUM_KOD='4')"_s;
    case u'8': return u"WHERE (HASTALIK='1')"_s;
    default: return {};
    }
}

QString sskOrderClause(QChar order)
{
    switch (order.unicode()) {
    case u'0': return u"ORDER BY RECTARIH"_s;
    case u'1': return u"ORDER BY ALTARIH"_s;
    case u'2': return u"ORDER BY RS_AD"_s;
    case u'3': return u"ORDER BY RS_SOYAD"_s;
    default: return {};
    }
}

}  // namespace selvar
