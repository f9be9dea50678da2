#include "companion/loader/companion_loader.h"

#include "companion/ortakdlg_abi.h"
#include "core/dates.h"
#include "core/turkish.h"
#include "platform/prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <array>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

using ShortText = std::array<unsigned char, ShortTextSize>;

ShortText shortText(const QString& s)
{
    ShortText b{};
    writeShortText(b.data(), s);
    return b;
}

// Loads the library, finds `entry`, runs `call` with it and unloads the library again
// whatever happened; `none` when the library or the entry point is missing.
template <typename Fn, typename R, typename Call>
R invoke(Prompter& prompter, const char* entry, R none, Call&& call)
{
    QLibrary library(CompanionLoader::libraryLocation());
    // Every symbol is bound on loading, so a broken library fails here and not midway.
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load()) {
        prompter.error(u"Ortak Diyalog Kütüphanesi (ortakdlg) Yüklenemedi.\n"_s + library.fileName());
        return none;
    }
    struct Unload {
        QLibrary& library;
        ~Unload() { library.unload(); }
    } unload{library};
    const auto fn = reinterpret_cast<Fn>(library.resolve(entry));
    if (!fn) {
        prompter.error(u"Ortak Diyalog Kütüphanesinde \""_s + QString::fromLatin1(entry) + u"\" Bulunamadı.\n"_s
                       + library.fileName());
        return none;
    }
    return call(fn);
}

struct Nothing {};

template <typename Fn, typename Call>
void invokeVoid(Prompter& prompter, const char* entry, Call&& call)
{
    invoke<Fn>(prompter, entry, Nothing{}, [&](Fn fn) {
        call(fn);
        return Nothing{};
    });
}

}  // namespace

QString CompanionLoader::libraryLocation()
{
    const QString env = qEnvironmentVariable("SELVAR_COMPANION_LIB");
    if (!env.isEmpty()) return env;
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath() + u"/../lib/libortakdlg.so"_s;
        if (QFileInfo::exists(beside)) return QFileInfo(beside).absoluteFilePath();
    }
    return u"ortakdlg"_s;
}

double CompanionLoader::DateAl1(double today)
{
    return invoke<DateAl1Fn>(prompter_, "DateAl1", 0.0, [&](DateAl1Fn fn) { return fn(today); });
}

QString CompanionLoader::BrKurumCreate(int mode)
{
    return invoke<BrKurumCreateFn>(prompter_, "BrKurumCreate", QString(), [&](BrKurumCreateFn fn) {
        ShortText out{};
        fn(mode, out.data());
        return readShortText(out.data());
    });
}

qint64 CompanionLoader::BrHastaCreate(int mode)
{
    return invoke<BrHastaCreateFn>(prompter_, "BrHastaCreate", qint64(0),
                                   [&](BrHastaCreateFn fn) { return qint64(fn(mode)); });
}

qint64 CompanionLoader::BrDoktorCreate(int mode)
{
    return invoke<BrDoktorCreateFn>(prompter_, "BrDoktorCreate", qint64(0),
                                    [&](BrDoktorCreateFn fn) { return qint64(fn(mode)); });
}

QString CompanionLoader::BrUrunCreate(int mode)
{
    return invoke<BrUrunCreateFn>(prompter_, "BrUrunCreate", QString(), [&](BrUrunCreateFn fn) {
        ShortText out{};
        fn(mode, out.data());
        return readShortText(out.data());
    });
}

void CompanionLoader::BrJenCreate(int mode)
{
    invokeVoid<BrCardFn>(prompter_, "BrJenCreate", [&](BrCardFn fn) {
        ShortText buffer{};
        fn(mode, buffer.data());
    });
}

void CompanionLoader::BrGrupCreate(int mode)
{
    invokeVoid<BrCardFn>(prompter_, "BrGrupCreate", [&](BrCardFn fn) {
        ShortText buffer{};
        fn(mode, buffer.data());
    });
}

void CompanionLoader::BrFirmaCreate(int mode)
{
    invokeVoid<BrCardFn>(prompter_, "BrFirmaCreate", [&](BrCardFn fn) {
        ShortText buffer{};
        fn(mode, buffer.data());
    });
}

void CompanionLoader::BrEndikCreate(int mode)
{
    invokeVoid<BrCardFn>(prompter_, "BrEndikCreate", [&](BrCardFn fn) {
        ShortText buffer{};
        fn(mode, buffer.data());
    });
}

double CompanionLoader::BrSatisCreate(int mode)
{
    return invoke<BrOldRecordFn>(prompter_, "BrSatisCreate", 0.0, [&](BrOldRecordFn fn) { return fn(mode); });
}

double CompanionLoader::BrReceteCreate(int mode)
{
    return invoke<BrOldRecordFn>(prompter_, "BrReceteCreate", 0.0, [&](BrOldRecordFn fn) { return fn(mode); });
}

double CompanionLoader::BrFatRsizCreate(int mode)
{
    return invoke<BrOldRecordFn>(prompter_, "BrFatRsizCreate", 0.0, [&](BrOldRecordFn fn) { return fn(mode); });
}

double CompanionLoader::EskiAlisCreate(int mode)
{
    return invoke<BrOldRecordFn>(prompter_, "EskiAlisCreate", 0.0, [&](BrOldRecordFn fn) { return fn(mode); });
}

QString CompanionLoader::UEditInsert(const QString& productName, int mode)
{
    return invoke<UEditInsertFn>(prompter_, "UEditInsert", QString(), [&](UEditInsertFn fn) {
        const ShortText name = shortText(productName);
        ShortText out{};
        fn(name.data(), mode, out.data());
        return readShortText(out.data());
    });
}

void CompanionLoader::HareketListVer(const MovementListRequest& request)
{
    invokeVoid<HareketListVerFn>(prompter_, "HareketListVer",
                                 [&](HareketListVerFn fn) { fn(request.bytes.data()); });
}

double CompanionLoader::VeresiyeAc(const QString& accountName, const QString& description, int mode,
                                   const QDate& date, double number, double amount, double patientShare,
                                   const QString& accountKey)
{
    return invoke<VeresiyeAcFn>(prompter_, "VeresiyeAc", 0.0, [&](VeresiyeAcFn fn) {
        const ShortText name = shortText(accountName), info = shortText(description), key = shortText(accountKey);
        return fn(name.data(), info.data(), static_cast<unsigned char>(mode), toDateTimeReal(date), number, amount,
                  patientShare, key.data());
    });
}

void CompanionLoader::TanimlaRecete()
{
    invokeVoid<NoArgFn>(prompter_, "TanimlaRecete", [](NoArgFn fn) { fn(); });
}

void CompanionLoader::ListeTanimGor()
{
    invokeVoid<NoArgFn>(prompter_, "ListeTanimGor", [](NoArgFn fn) { fn(); });
}

}  // namespace selvar
