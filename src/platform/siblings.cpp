#include "platform/siblings.h"

#include "platform/platform.h"
#include "platform/prompter.h"

namespace selvar {
using namespace Qt::Literals::StringLiterals;

const QStringList& siblingsClosedOnExit()
{
    static const QStringList titles{u"BARKOD TANIM SELVAR"_s,  u"Liste"_s,
                                    u"Sipariş Listesi Selvar"_s, u"ENVANTER Selvar"_s,
                                    u"Ürün Fiyatlarını  Değiştirme Selvar"_s, u"istatistikler Selvar"_s,
                                    u"Barkod Etiketi Selvar"_s, u"Fiyat Etiketi Bas Selvar"_s};
    return titles;
}

void Siblings::activateOrStart(const QString& program, const QString& title)
{
    if (platform_.windowExists(title)) platform_.restoreWindow(title);
    else platform_.startProgram(program, {SiblingToken});
}

void Siblings::activateOrStartPlain(const QString& program, const QString& title)
{
    if (platform_.windowExists(title)) platform_.restoreWindow(title);
    else platform_.startProgram(program, {});
}

bool Siblings::startNew(const QString& program) { return platform_.startProgram(program, {}); }

void Siblings::startDialUp()
{
    if (!platform_.startProgram(u"baglan.exe"_s, {})) prompter_.warning(u"baglan.exe bulunamadı"_s);
}

void Siblings::quitOnExit()
{
    for (const QString& title : siblingsClosedOnExit())
        if (platform_.windowExists(title)) platform_.askToQuit(title);
}

}  // namespace selvar
