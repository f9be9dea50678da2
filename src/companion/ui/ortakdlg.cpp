// The entry points of libortakdlg.so. Each call opens its own connection through the
// alias ECZ, reads the signed-in user from usera.db, runs its window modally over the
// program's window and closes everything again before it returns: the program unloads
// the library right after the call. No exception leaves the library.
#include "companion/ui/card_dialogs.h"
#include "companion/ledger.h"
#include "companion/ui/ledger_dialogs.h"
#include "companion/ortakdlg_abi.h"
#include "companion/ui/other_dialogs.h"
#include "companion/rights.h"
#include "companion/ui/ui_support.h"
#include "core/dates.h"
#include "core/format.h"
#include "core/turkish.h"
#include "data/database.h"
#include "platform/retry.h"

#include <QApplication>
#include <QDateTime>
#include <cstdio>
#include <memory>
#include <type_traits>

#define ORTAKDLG_EXPORT __attribute__((visibility("default")))

using namespace selvar;
using namespace selvar::ortak;
using namespace Qt::Literals::StringLiterals;

namespace {

bool haveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void report(Prompter& prompter, const QString& text)
{
    if (haveWidgets()) prompter.error(text);
    else std::fprintf(stderr, "ortakdlg: %s\n", text.toLocal8Bit().constData());
}

// One call of the library; `none` when it cannot run or fails.
template <typename R, typename Body>
R withCall(R none, bool needsWindows, Body&& body)
{
    if (needsWindows && !haveWidgets()) {
        std::fprintf(stderr, "ortakdlg: pencere açılamıyor (QApplication yok)\n");
        return none;
    }
    MessagePrompter prompter(haveWidgets() ? QApplication::activeWindow() : nullptr);
    try {
        const std::unique_ptr<Database> db = Database::openAlias();
        CallContext ctx{*db, prompter, SignedInUser::read(*db)};
        return body(ctx);
    } catch (const DbError& e) {
        report(prompter, e.message());
    } catch (const std::exception& e) {
        report(prompter, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(prompter, u"Beklenmeyen bir hata oluştu."_s);
    }
    return none;
}

void clearText(unsigned char* buffer)
{
    if (buffer) writeShortText(buffer, QString());
}

void putText(unsigned char* buffer, const QString& text)
{
    if (buffer) writeShortText(buffer, text);
}

QString takeText(const unsigned char* buffer) { return buffer ? readShortText(buffer) : QString(); }

void nameCard(CardKind kind, int mode, unsigned char* buffer)
{
    clearText(buffer);
    withCall(0, true, [&](CallContext& ctx) {
        QString name;
        runCardList(ctx, kind, mode, &name);
        if (mode == 1) putText(buffer, name);
        return 0;
    });
}

double oldRecord(OldRecordKind kind)
{
    return withCall(0.0, true, [&](CallContext& ctx) {
        OldRecordDialog dialog(ctx, kind, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted ? dialog.chosen() : 0.0;
    });
}

}  // namespace

extern "C" {

ORTAKDLG_EXPORT double DateAl1(double today)
{
    if (!haveWidgets()) return 0;
    try {
        const QDate start = today > 0 ? fromDateTimeReal(today).date() : QDate::currentDate();
        const auto chosen = pickDate(QApplication::activeWindow(), start);
        return chosen ? toDateTimeReal(*chosen) : 0.0;
    } catch (...) {
        return 0;
    }
}

ORTAKDLG_EXPORT void BrKurumCreate(int mode, unsigned char* codeOut)
{
    clearText(codeOut);
    withCall(0, true, [&](CallContext& ctx) {
        const QVariant key = runCardList(ctx, CardKind::Institution, mode);
        if (!key.isNull()) putText(codeOut, key.toString());
        return 0;
    });
}

ORTAKDLG_EXPORT int BrHastaCreate(int mode)
{
    return withCall(0, true, [&](CallContext& ctx) {
        const QVariant key = runCardList(ctx, CardKind::Patient, mode);
        return key.isNull() ? 0 : int(key.toLongLong());
    });
}

ORTAKDLG_EXPORT int BrDoktorCreate(int mode)
{
    return withCall(0, true, [&](CallContext& ctx) {
        const QVariant key = runCardList(ctx, CardKind::Doctor, mode);
        return key.isNull() ? 0 : int(key.toLongLong());
    });
}

ORTAKDLG_EXPORT void BrUrunCreate(int mode, unsigned char* nameOut)
{
    clearText(nameOut);
    withCall(0, true, [&](CallContext& ctx) {
        QString name;
        if (!runCardList(ctx, CardKind::Product, mode, &name).isNull()) putText(nameOut, name);
        return 0;
    });
}

ORTAKDLG_EXPORT void BrJenCreate(int mode, unsigned char* buffer) { nameCard(CardKind::Generic, mode, buffer); }
ORTAKDLG_EXPORT void BrGrupCreate(int mode, unsigned char* buffer) { nameCard(CardKind::Group, mode, buffer); }
ORTAKDLG_EXPORT void BrFirmaCreate(int mode, unsigned char* buffer) { nameCard(CardKind::Company, mode, buffer); }
ORTAKDLG_EXPORT void BrEndikCreate(int mode, unsigned char* buffer) { nameCard(CardKind::Indication, mode, buffer); }

ORTAKDLG_EXPORT double BrSatisCreate(int) { return oldRecord(OldRecordKind::RetailSales); }
ORTAKDLG_EXPORT double BrReceteCreate(int) { return oldRecord(OldRecordKind::PrescriptionSales); }
ORTAKDLG_EXPORT double BrFatRsizCreate(int) { return oldRecord(OldRecordKind::InvoicedSales); }
ORTAKDLG_EXPORT double EskiAlisCreate(int) { return oldRecord(OldRecordKind::Purchases); }

ORTAKDLG_EXPORT void UEditInsert(const unsigned char* productName, int mode, unsigned char* nameOut)
{
    const QString name = takeText(productName);
    clearText(nameOut);
    withCall(0, true, [&](CallContext& ctx) {
        putText(nameOut, editProduct(ctx, name, mode));
        return 0;
    });
}

ORTAKDLG_EXPORT void HareketListVer(const unsigned char* request1808)
{
    if (!request1808) return;
    const MovementWindow window = MovementWindow::fromRequest(request1808);
    if (!window.show) return;
    withCall(0, true, [&](CallContext& ctx) {
        MovementListDialog dialog(ctx, window, QApplication::activeWindow());
        dialog.exec();
        return 0;
    });
}

ORTAKDLG_EXPORT double VeresiyeAc(const unsigned char* accountName, const unsigned char* description,
                                  unsigned char mode, double date, double number, double amount,
                                  double patientShare, const unsigned char* accountKey)
{
    Q_UNUSED(patientShare);  // the entry carries the amount the caller passes
    CreditEntryRequest r;
    // A mode given as a digit character counts as that digit.
    r.mode = mode >= '0' && mode <= '9' ? mode - '0' : mode;
    r.accountKey = takeText(accountKey).trimmed();
    r.description = takeText(description);
    r.date = date > 0 ? fromDateTimeReal(date).date() : QDate::currentDate();
    r.number = number;
    r.amount = amount;
    const QString name = takeText(accountName).trimmed();
    // Only a counter sale leaves the account open; then the user names it.
    const bool ask = r.accountKey.isEmpty() && r.mode != int(CreditMode::Update);
    return withCall(0.0, ask, [&](CallContext& ctx) -> double {
        Ledger ledger(ctx.db, QDateTime::currentDateTime(), ctx.user.name);
        if (ask) {
            // A corrected sale that was on an account before offers that account.
            if (r.number > 0)
                if (const auto old = ledger.saleEntry(r.number)) r.accountKey = old->account;
            CreditEntryDialog dialog(ctx, r, QApplication::activeWindow());
            if (dialog.exec() != QDialog::Accepted) return 0.0;
            r = dialog.request();
        } else if (!r.accountKey.isEmpty() && !ledger.accountExists(r.accountKey)) {
            report(ctx.prompter, (name.isEmpty() ? r.accountKey : name) + u" Cari Adının Kartlarda Kaydı Yok."_s);
            return 0.0;
        }
        const double written =
            withLockRetry(ctx.prompter, CounterBusyMessage, [&] { return ledger.record(r); });
        if (written == 0 && r.mode == int(CreditMode::Update))
            report(ctx.prompter, format(u"%0.0f Nolu Veresiye Kaydı Bulunamadı.", number));
        return written;
    });
}

ORTAKDLG_EXPORT void TanimlaRecete(void)
{
    withCall(0, true, [&](CallContext& ctx) {
        BackPrintLayoutDialog dialog(ctx, QApplication::activeWindow());
        dialog.exec();
        return 0;
    });
}

ORTAKDLG_EXPORT void ListeTanimGor(void)
{
    withCall(0, true, [&](CallContext& ctx) {
        InstitutionListDialog dialog(ctx, QApplication::activeWindow());
        dialog.exec();
        return 0;
    });
}

}  // extern "C"

// The entry points keep the signatures the program calls them with.
static_assert(std::is_same_v<decltype(&DateAl1), DateAl1Fn>);
static_assert(std::is_same_v<decltype(&BrKurumCreate), BrKurumCreateFn>);
static_assert(std::is_same_v<decltype(&BrHastaCreate), BrHastaCreateFn>);
static_assert(std::is_same_v<decltype(&BrDoktorCreate), BrDoktorCreateFn>);
static_assert(std::is_same_v<decltype(&BrUrunCreate), BrUrunCreateFn>);
static_assert(std::is_same_v<decltype(&BrJenCreate), BrCardFn>);
static_assert(std::is_same_v<decltype(&BrGrupCreate), BrCardFn>);
static_assert(std::is_same_v<decltype(&BrFirmaCreate), BrCardFn>);
static_assert(std::is_same_v<decltype(&BrEndikCreate), BrCardFn>);
static_assert(std::is_same_v<decltype(&BrSatisCreate), BrOldRecordFn>);
static_assert(std::is_same_v<decltype(&BrReceteCreate), BrOldRecordFn>);
static_assert(std::is_same_v<decltype(&BrFatRsizCreate), BrOldRecordFn>);
static_assert(std::is_same_v<decltype(&EskiAlisCreate), BrOldRecordFn>);
static_assert(std::is_same_v<decltype(&UEditInsert), UEditInsertFn>);
static_assert(std::is_same_v<decltype(&HareketListVer), HareketListVerFn>);
static_assert(std::is_same_v<decltype(&VeresiyeAc), VeresiyeAcFn>);
static_assert(std::is_same_v<decltype(&TanimlaRecete), NoArgFn>);
static_assert(std::is_same_v<decltype(&ListeTanimGor), NoArgFn>);
