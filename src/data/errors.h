#pragma once
#include <QString>
#include <stdexcept>

namespace selvar {

// A failure of the table engine, with a Turkish message the windows show as it is.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Another workstation holds the tables beyond the short wait; the caller shows its
// retry message and tries again when the user presses OK.
class LockHeld : public DbError {
public:
    explicit LockHeld(const QString& message) : DbError(message) {}
};

// The person closed the retry box of a held lock: the box was the message, nothing more
// is shown.
class RetryRefused : public LockHeld {
public:
    explicit RetryRefused(const QString& message) : LockHeld(message) {}
};

// Two workstations' recordings crossed (a deadlock or a serialization failure): the
// server rolled this one back whole, and running it again is safe.
class WriteConflict : public DbError {
public:
    explicit WriteConflict(const QString& message) : DbError(message) {}
};

// The connection to the database server was lost: what was being written was not
// written; the next operation connects again.
class ConnectionLost : public DbError {
public:
    explicit ConnectionLost(const QString& message) : DbError(message) {}
};

}  // namespace selvar
