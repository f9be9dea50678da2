#include "core/words.h"

#include "core/format.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

QString amountInWords(double amount)
{
    static const QString units[] = {QString(), u"BİR"_s, u"İKİ"_s, u"ÜÇ"_s, u"DÖRT"_s,
                                    u"BEŞ"_s, u"ALTI"_s, u"YEDİ"_s, u"SEKİZ"_s, u"DOKUZ"_s};
    static const QString tens[] = {QString(), u"ON"_s, u"YİRMİ"_s, u"OTUZ"_s, u"KIRK"_s,
                                   u"ELLİ"_s, u"ALTMIŞ"_s, u"YETMİŞ"_s, u"SEKSEN"_s, u"DOKSAN"_s};
    // "MILYAR" is written with a plain I on the printed forms.
    static const QString groupWords[] = {QString(), u"BİN"_s, u"MİLYON"_s, u"MILYAR"_s, u"TRİLYON"_s};

    // The digits as the currency format gives them, without sign and separators.
    QString digits = format(u"%0.0f", amount);
    digits.remove(u'-');
    if (digits == u"0"_s) return {};
    while (digits.size() % 3) digits.prepend(u'0');
    const int groups = int(digits.size() / 3);
    QString out;
    for (int g = 0; g < groups; ++g) {
        const int h = digits[g * 3].digitValue();
        const int t = digits[g * 3 + 1].digitValue();
        const int u = digits[g * 3 + 2].digitValue();
        const int fromRight = groups - 1 - g;
        if (h == 0 && t == 0 && u == 0) continue;
        QString part;
        if (h == 1) part += u"YÜZ"_s;
        else if (h > 1) part += units[h] + u"YÜZ"_s;
        part += tens[t];
        // A thousands group of exactly one reads "BİN" at any length: 1.500 "BİNBEŞYÜZ",
        // 1.001.000 "BİRMİLYONBİN".
        if (!(fromRight == 1 && h == 0 && t == 0 && u == 1)) part += units[u];
        if (fromRight < 5) part += groupWords[fromRight];
        out += part;
    }
    return out;
}

}  // namespace selvar
