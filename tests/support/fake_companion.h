#pragma once
// A companion library for tests: the same calls as the real one, answers scripted in
// advance, every call recorded with its arguments. Optionally VeresiyeAc writes the
// credit entry and the running debt as the library does (the same ledger code), so that
// window tests can check the tables without any dialog.
//
//   FakeCompanion c;
//   c.answer(u"BrKurumCreate"_s, u"SSK"_s);      // next BrKurumCreate returns "SSK"
//   c.answer(u"DateAl1"_s, QDate(2026, 12, 9));   // dates may be given as QDate
//   c.writeCreditEntries(db);                     // VeresiyeAc writes HAREKET and BORC
//   ... run the window ...
//   QCOMPARE(c.count(u"VeresiyeAc"_s), 1);
//   c.last(u"VeresiyeAc"_s)->args  // accountName, description, mode, date, number,
//                                  // amount, patientShare, accountKey
#include "companion/companion.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QVariant>
#include <functional>

namespace selvar {
class Database;
}

namespace selvar::test {

class FakeCompanion final : public Companion {
public:
    struct Call {
        QString entry;       // "BrKurumCreate", "VeresiyeAc" ...
        QVariantList args;   // the arguments in the order of the interface
        QByteArray request;  // HareketListVer: the 1808 bytes of the request
    };

    // The next call of `entry` returns `value` (answers are taken in order). Without an
    // answer a call returns its "nothing chosen" value: 0, an empty text.
    void answer(const QString& entry, const QVariant& value) { answers_[entry] << value; }
    int pendingAnswers(const QString& entry) const { return int(answers_.value(entry).size()); }

    // Runs at every call of `entry` after it is recorded, e.g. to change tables as the
    // library's dialog would; a valid result is the call's answer.
    void onCall(const QString& entry, std::function<QVariant(const Call&)> handler) { handlers_[entry] = handler; }

    // VeresiyeAc writes the HAREKET row and the running debt with the library's own
    // ledger rules and returns the HAREKNO. When the caller names no account (the
    // counter sale) the library asks the user: here `creditAccount` is that answer, and
    // an empty one means the user cancelled (0, nothing written). A key without a card
    // gives 0 as in the library.
    void writeCreditEntries(Database& db, const QDateTime& now = {}, const QString& user = {});
    QString creditAccount;
    QDate creditDueDate;  // the due date the user would type; none: the entry's date

    QList<Call> calls;
    int count(const QString& entry) const;
    const Call* last(const QString& entry) const;  // null when never called
    QList<Call> callsOf(const QString& entry) const;
    QStringList entries() const;  // the entry names in call order
    void clear() { calls.clear(); }

    double DateAl1(double today) override;
    QString BrKurumCreate(int mode) override;
    qint64 BrHastaCreate(int mode) override;
    qint64 BrDoktorCreate(int mode) override;
    QString BrUrunCreate(int mode) override;
    void BrJenCreate(int mode) override;
    void BrGrupCreate(int mode) override;
    void BrFirmaCreate(int mode) override;
    void BrEndikCreate(int mode) override;
    double BrSatisCreate(int mode) override;
    double BrReceteCreate(int mode) override;
    double BrFatRsizCreate(int mode) override;
    double EskiAlisCreate(int mode) override;
    QString UEditInsert(const QString& productName, int mode) override;
    void HareketListVer(const MovementListRequest& request) override;
    double VeresiyeAc(const QString& accountName, const QString& description, int mode, const QDate& date,
                      double number, double amount, double patientShare, const QString& accountKey) override;
    void TanimlaRecete() override;
    void ListeTanimGor() override;

private:
    QVariant take(const QString& entry, const QVariantList& args, const QByteArray& request = {});

    QHash<QString, QList<QVariant>> answers_;
    QHash<QString, std::function<QVariant(const Call&)>> handlers_;
    Database* ledgerDb_ = nullptr;
    QDateTime ledgerNow_;
    QString ledgerUser_;
};

}  // namespace selvar::test
