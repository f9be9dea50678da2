#include "support/fake_companion.h"

#include "companion/ledger.h"
#include "core/dates.h"

namespace selvar::test {
using namespace Qt::Literals::StringLiterals;

namespace {

double asDateReal(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate) return toDateTimeReal(v.toDate());
    if (v.typeId() == QMetaType::QDateTime) return toDateTimeReal(v.toDateTime());
    return v.toDouble();
}

}  // namespace

void FakeCompanion::writeCreditEntries(Database& db, const QDateTime& now, const QString& user)
{
    ledgerDb_ = &db;
    ledgerNow_ = now.isValid() ? now : QDateTime::currentDateTime();
    ledgerUser_ = user;
}

QVariant FakeCompanion::take(const QString& entry, const QVariantList& args, const QByteArray& request)
{
    calls << Call{entry, args, request};
    QVariant answer;
    QList<QVariant>& queue = answers_[entry];
    if (!queue.isEmpty()) answer = queue.takeFirst();
    if (const auto h = handlers_.constFind(entry); h != handlers_.constEnd() && *h) {
        const QVariant r = (*h)(calls.last());
        if (r.isValid()) answer = r;
    }
    return answer;
}

int FakeCompanion::count(const QString& entry) const { return int(callsOf(entry).size()); }

const FakeCompanion::Call* FakeCompanion::last(const QString& entry) const
{
    for (auto it = calls.crbegin(); it != calls.crend(); ++it)
        if (it->entry == entry) return &*it;
    return nullptr;
}

QList<FakeCompanion::Call> FakeCompanion::callsOf(const QString& entry) const
{
    QList<Call> r;
    for (const Call& c : calls)
        if (c.entry == entry) r << c;
    return r;
}

QStringList FakeCompanion::entries() const
{
    QStringList r;
    for (const Call& c : calls) r << c.entry;
    return r;
}

double FakeCompanion::DateAl1(double today) { return asDateReal(take(u"DateAl1"_s, {today})); }
QString FakeCompanion::BrKurumCreate(int mode) { return take(u"BrKurumCreate"_s, {mode}).toString(); }
qint64 FakeCompanion::BrHastaCreate(int mode) { return take(u"BrHastaCreate"_s, {mode}).toLongLong(); }
qint64 FakeCompanion::BrDoktorCreate(int mode) { return take(u"BrDoktorCreate"_s, {mode}).toLongLong(); }
QString FakeCompanion::BrUrunCreate(int mode) { return take(u"BrUrunCreate"_s, {mode}).toString(); }
void FakeCompanion::BrJenCreate(int mode) { take(u"BrJenCreate"_s, {mode}); }
void FakeCompanion::BrGrupCreate(int mode) { take(u"BrGrupCreate"_s, {mode}); }
void FakeCompanion::BrFirmaCreate(int mode) { take(u"BrFirmaCreate"_s, {mode}); }
void FakeCompanion::BrEndikCreate(int mode) { take(u"BrEndikCreate"_s, {mode}); }
double FakeCompanion::BrSatisCreate(int mode) { return take(u"BrSatisCreate"_s, {mode}).toDouble(); }
double FakeCompanion::BrReceteCreate(int mode) { return take(u"BrReceteCreate"_s, {mode}).toDouble(); }
double FakeCompanion::BrFatRsizCreate(int mode) { return take(u"BrFatRsizCreate"_s, {mode}).toDouble(); }
double FakeCompanion::EskiAlisCreate(int mode) { return take(u"EskiAlisCreate"_s, {mode}).toDouble(); }

QString FakeCompanion::UEditInsert(const QString& productName, int mode)
{
    return take(u"UEditInsert"_s, {productName, mode}).toString();
}

void FakeCompanion::HareketListVer(const MovementListRequest& request)
{
    take(u"HareketListVer"_s, {}, QByteArray(reinterpret_cast<const char*>(request.bytes.data()), request.Size));
}

double FakeCompanion::VeresiyeAc(const QString& accountName, const QString& description, int mode, const QDate& date,
                                 double number, double amount, double patientShare, const QString& accountKey)
{
    const QVariant scripted = take(u"VeresiyeAc"_s, {accountName, description, mode, date, number, amount,
                                                     patientShare, accountKey});
    if (!ledgerDb_) return scripted.toDouble();
    CreditEntryRequest r;
    r.mode = mode;
    r.accountKey = accountKey.trimmed();
    r.description = description;
    r.date = date.isValid() ? date : ledgerNow_.date();
    r.number = number;
    r.amount = amount;
    Ledger ledger(*ledgerDb_, ledgerNow_, ledgerUser_);
    if (r.accountKey.isEmpty() && mode != int(CreditMode::Update)) {
        // The library's dialog: the user names the account and may move the due date.
        if (creditAccount.trimmed().isEmpty()) return 0;
        r.accountKey = creditAccount.trimmed();
        r.dueDate = creditDueDate;
    }
    if (!r.accountKey.isEmpty() && !ledger.accountExists(r.accountKey)) return 0;
    return ledger.record(r);
}

void FakeCompanion::TanimlaRecete() { take(u"TanimlaRecete"_s, {}); }
void FakeCompanion::ListeTanimGor() { take(u"ListeTanimGor"_s, {}); }

}  // namespace selvar::test
