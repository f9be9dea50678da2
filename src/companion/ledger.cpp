#include "companion/ledger.h"

#include "data/codes.h"

#include "companion/movement_request.h"
#include "core/dates.h"
#include "core/turkish.h"
#include "data/counters.h"
#include "data/database.h"
#include "data/operations.h"
#include "data/sql.h"

#include <cstring>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMovementColumns =
    u"HAREKNO, CARIKOD, ALSATNO, TUR, ALSAT, BILGI, TARIH, VADE, BORC, ALACAK, NIHAI"_s;

Movement readMovement(const Sql& q)
{
    Movement m;
    m.number = q.number(0);
    m.account = q.text(1);
    m.document = q.number(2);
    m.kind = q.text(3);
    m.source = q.text(4);
    m.info = q.text(5);
    m.date = q.date(6);
    m.due = q.date(7);
    m.debit = q.number(8);
    m.credit = q.number(9);
    m.state = int(q.integer(10));
    return m;
}

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }
QVariant textOrNull(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }

}  // namespace

MovementWindow MovementWindow::fromRequest(const unsigned char* request)
{
    MovementListRequest r;
    std::memcpy(r.bytes.data(), request, MovementListRequest::Size);
    MovementWindow w;
    w.show = r.mode() == 'T';
    w.kind = r.kind();
    const DateInput from = parseDateText(r.startDate());
    const DateInput to = parseDateText(r.endDate());
    if (from.isValid()) w.from = from.date;
    if (to.isValid()) w.to = to.date;
    return w;
}

Ledger::Ledger(Database& db, const QDateTime& now, const QString& user) : db_(db), now_(now), user_(user) {}

std::optional<Movement> Ledger::movement(double number)
{
    Sql q(db_, u"SELECT "_s + kMovementColumns + u" FROM HAREKET WHERE HAREKNO = :n"_s);
    q.bind(u"n"_s, number).exec();
    if (!q.next()) return std::nullopt;
    return readMovement(q);
}

std::optional<Movement> Ledger::saleEntry(double saleNo)
{
    Sql q(db_, u"SELECT "_s + kMovementColumns
                   + u" FROM HAREKET WHERE ALSATNO = :s AND ALSAT = :a ORDER BY HAREKNO LIMIT 1"_s);
    q.bind(u"s"_s, saleNo).bind(u"a"_s, u"S"_s).exec();
    if (!q.next()) return std::nullopt;
    return readMovement(q);
}

double Ledger::record(const CreditEntryRequest& r)
{
    if (r.mode != int(CreditMode::Update) && r.mode != int(CreditMode::New) && r.mode != int(CreditMode::Correction))
        return 0;
    const QString key = r.accountKey.trimmed();
    Transaction tx(db_);
    std::optional<Movement> existing;
    if (r.mode == int(CreditMode::Update)) {
        existing = movement(r.number);
        if (!existing) return 0;
    } else if (r.number > 0) {
        // One entry per sale: a second entry for the same sale replaces the first.
        existing = saleEntry(r.number);
    }
    double number;
    if (existing) {
        update(*existing, r, key);
        number = existing->number;
    } else {
        number = takeMovementNumber(db_);
        Sql q(db_, u"INSERT INTO HAREKET (HAREKNO, CARIKOD, ALSATNO, TUR, TARIH, VADE, ALACAK, ALSAT, BILGI, "
                   u"NIHAI, BORC) VALUES (:n, :k, :s, :t, :d, :v, :al, :a, :b, :ni, :bo)"_s);
        q.bind(u"n"_s, number).bind(u"k"_s, textOrNull(key)).bind(u"s"_s, r.number > 0 ? r.number : 0.0);
        q.bind(u"t"_s, u"M"_s).bind(u"d"_s, dateOrNull(r.date));
        q.bind(u"v"_s, dateOrNull(r.dueDate.isValid() ? r.dueDate : r.date));
        q.bind(u"al"_s, QVariant()).bind(u"a"_s, u"S"_s).bind(u"b"_s, textOrNull(r.description.left(36)));
        q.bind(u"ni"_s, 0).bind(u"bo"_s, r.amount);
        q.exec();
        if (!key.isEmpty()) changeAccountDebt(db_, key, r.amount);
    }
    tx.commit();
    return number;
}

void Ledger::update(const Movement& old, const CreditEntryRequest& r, const QString& requestedKey)
{
    const QString key = requestedKey.isEmpty() ? old.account : requestedKey;
    // A due date the user moved stays; one that was the entry's date follows the new date.
    QDate due = r.dueDate;
    if (!due.isValid()) due = (old.due.isValid() && old.due != old.date) ? old.due : r.date;
    Sql q(db_, u"UPDATE HAREKET SET CARIKOD = :k, TUR = :t, ALSAT = :a, BILGI = :b, TARIH = :d, VADE = :v, "
               u"BORC = :bo WHERE HAREKNO = :n"_s);
    q.bind(u"k"_s, textOrNull(key)).bind(u"t"_s, u"M"_s).bind(u"a"_s, u"S"_s);
    q.bind(u"b"_s, textOrNull(r.description.left(36))).bind(u"d"_s, dateOrNull(r.date)).bind(u"v"_s, dateOrNull(due));
    q.bind(u"bo"_s, r.amount).bind(u"n"_s, old.number);
    q.exec();
    // The new amount replaces the old one in the running debt, also when the account moved.
    if (!old.account.trimmed().isEmpty()) changeAccountDebt(db_, old.account, -old.debit);
    if (!key.isEmpty()) changeAccountDebt(db_, key, r.amount);
    appendOperationLog(db_, now_, withUser(u"Veresiye Düzeltme"_s, user_), u"Veresiye. Dzlt"_s, old.number, old.debit);
}

std::vector<Movement> Ledger::openMovements(const MovementWindow& w, bool institutions, bool patients)
{
    QString sql = u"SELECT "_s + kMovementColumns + u" FROM HAREKET WHERE COALESCE(NIHAI, 0) < 1"_s;
    QVariantMap p;
    if (w.from.isValid()) {
        sql += u" AND COALESCE(VADE, TARIH) >= :f"_s;
        p.insert(u"f"_s, w.from);
    }
    if (w.to.isValid()) {
        sql += u" AND COALESCE(VADE, TARIH) <= :e"_s;
        p.insert(u"e"_s, w.to);
    }
    if (w.kind == MovementWindow::Creditors) sql += u" AND COALESCE(ALACAK, 0) > 0"_s;
    else if (w.kind == MovementWindow::Debtors) sql += u" AND COALESCE(BORC, 0) > 0"_s;
    else sql += u" AND (COALESCE(ALACAK, 0) > 0 OR COALESCE(BORC, 0) > 0)"_s;
    sql += u" ORDER BY COALESCE(VADE, TARIH), HAREKNO"_s;
    Sql q(db_, sql);
    for (auto it = p.begin(); it != p.end(); ++it) q.bind(it.key(), it.value());
    q.exec();
    std::vector<Movement> r;
    while (q.next()) {
        Movement m = readMovement(q);
        const bool patient = isPatientAccount(m.account);
        if (patient ? !patients : !institutions) continue;
        if (!m.due.isValid()) m.due = m.date;
        r.push_back(m);
    }
    return r;
}

void Ledger::setSettled(double number, bool settled)
{
    Sql::run(db_, u"UPDATE HAREKET SET NIHAI = :s WHERE HAREKNO = :n"_s, {{u"s"_s, settled ? 1 : 0}, {u"n"_s, number}});
}

void Ledger::setDueDate(double number, const QDate& due)
{
    Sql::run(db_, u"UPDATE HAREKET SET VADE = :v WHERE HAREKNO = :n"_s, {{u"v"_s, dateOrNull(due)}, {u"n"_s, number}});
}

bool Ledger::accountExists(const QString& code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return false;
    if (isPatientAccount(c))
        return !Sql::scalar(db_, u"SELECT 1 FROM HASTA WHERE HASTANO = :k"_s, {{u"k"_s, c.toLongLong()}}).isNull();
    return !Sql::scalar(db_, u"SELECT 1 FROM KRMLAR WHERE KOD = :k"_s, {{u"k"_s, c}}).isNull();
}

QString Ledger::accountName(const QString& code)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) return {};
    if (isPatientAccount(c)) {
        Sql q(db_, u"SELECT HASTADI, HASTASOYAD FROM HASTA WHERE HASTANO = :k"_s);
        q.bind(u"k"_s, c.toLongLong()).exec();
        if (!q.next()) return {};
        return (q.text(0) + u' ' + q.text(1)).trimmed();
    }
    return Sql::scalar(db_, u"SELECT AD FROM KRMLAR WHERE KOD = :k"_s, {{u"k"_s, c}}).toString();
}

QString Ledger::kindText(const QString& kind) { return movementKindText(kind); }

QString Ledger::stateText(const Movement& m) { return movementStateText(m.kind, m.state, m.debit); }

}  // namespace selvar
