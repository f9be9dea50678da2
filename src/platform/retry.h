#pragma once
// The retry rule of the counter tables: while another workstation holds them, show the
// window's message; OK tries again, closing the box gives up with the error. A recording
// that crossed another workstation's (a deadlock on the server) was rolled back whole
// and simply runs again a few times before the message is shown.
#include "data/errors.h"
#include "platform/prompter.h"

#include <utility>

namespace selvar {

inline const QString CounterBusyMessage =
    QStringLiteral("Diğer Kullanıcı Dosyaya Yazıyor.2-3 saniye sonra OK tuşuna basın.");

template <typename F>
auto withLockRetry(Prompter& prompter, const QString& message, F&& work) -> decltype(work())
{
    int conflicts = 0;
    for (;;) {
        try {
            return work();
        } catch (const RetryRefused&) {
            throw;  // an inner retry box was already closed
        } catch (const WriteConflict& e) {
            if (++conflicts < 5) continue;
            conflicts = 0;
            if (!prompter.retryAfterError(message)) throw RetryRefused(e.message());
        } catch (const LockHeld& e) {
            if (!prompter.retryAfterError(message)) throw RetryRefused(e.message());
        }
    }
}

}  // namespace selvar
