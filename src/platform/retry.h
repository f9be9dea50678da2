#pragma once
// The retry rule of the counter tables: while another workstation holds them, show the
// window's message; OK tries again, closing the box gives up with the error.
#include "data/errors.h"
#include "platform/prompter.h"

#include <utility>

namespace selvar {

inline const QString CounterBusyMessage =
    QStringLiteral("Diğer Kullanıcı Dosyaya Yazıyor.2-3 saniye sonra OK tuşuna basın.");

template <typename F>
auto withLockRetry(Prompter& prompter, const QString& message, F&& work) -> decltype(work())
{
    for (;;) {
        try {
            return work();
        } catch (const LockHeld&) {
            if (!prompter.retryAfterError(message)) throw;
        }
    }
}

}  // namespace selvar
