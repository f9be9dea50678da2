#pragma once
#include <QDateTime>

namespace selvar {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still unless moved; each reading may advance it a little so that
// consecutive timestamps differ.
class FixedClock final : public Clock {
public:
    explicit FixedClock(const QDateTime& at, int stepMs = 0) : at_(at), step_(stepMs) {}
    QDateTime now() const override
    {
        const QDateTime r = at_;
        at_ = at_.addMSecs(step_);
        return r;
    }
    void set(const QDateTime& at) { at_ = at; }

private:
    mutable QDateTime at_;
    int step_;
};

}  // namespace selvar
