#include "app/ui/day_backup.h"

#include "data/backup.h"
#include "data/database.h"
#include "data/errors.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <atomic>
#include <chrono>
#include <thread>

namespace selvar {
using namespace Qt::Literals::StringLiterals;

void takeDayBackup(Session& session)
{
    const AliasConfig alias = session.db.alias();
    const QDateTime now = session.clock.now();
    std::atomic<bool> done = false;
    QString failure;
    // Its own connections, in its own thread: the window keeps painting meanwhile.
    std::thread worker([&] {
        try {
            takeDailyBackup(alias, now);
        } catch (const DbError& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        done = true;
    });
    QProgressDialog progress(u"Günün yedeği alınıyor..."_s, QString(), 0, 0);
    progress.setWindowTitle(u"Yedek"_s);
    progress.setMinimumDuration(800);
    progress.setValue(0);
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    progress.reset();
    if (!failure.isEmpty())
        session.prompter.warning(u"Günün yedeği alınamadı: "_s + failure + u"\nYedek klasörü: "_s + alias.backupDir);
}

}  // namespace selvar
