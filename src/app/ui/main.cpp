// Program entry: the user check, the splash window, the long-lived windows, the event loop.
#include "app/ui/day_backup.h"
#include "app/ui/password_dlg.h"
#include "app/password_logic.h"
#include "app/ui/splash.h"
#include "app/ui/windows.h"
#include "app/ui/main_form.h"
#include "companion/loader/companion_loader.h"
#include "print/ui/desktop_print_service.h"
#include "data/database.h"
#include "data/private_files.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/session.h"
#include "platform/ui/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

using namespace selvar;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"SELVAR 8 Eczane Otomasyonu for Win95  "_s);
    QtPrompter prompter;
    SystemClock clock;
    DesktopPlatform platform;
    std::unique_ptr<Database> db;
    try {
        db = Database::openAlias();
        if (!db->hasSchema()) db->createSchema();
        else {
            db->ensureIndexes();  // those a newer version added
            db->ensureWidths();
        }
    } catch (const DbError& e) {
        prompter.error(e.message());
        return 1;
    }
    // Patients' and accounts' data readable by anyone on the computer: said once, at start.
    if (const QString exposed = exposedDatabaseWarning(db->alias()); !exposed.isEmpty()) prompter.warning(exposed);
    Session session(*db, prompter, clock);
    session.platform = &platform;
    CompanionLoader companion(prompter);
    session.companion = &companion;
    DesktopPrintService printing;
    session.print = &printing;

    try {
        if (!hasAnyUser(session)) {
            TIlkKullaniciDlg first(session);
            if (first.exec() != QDialog::Accepted) return 0;
        }
        bool signedIn = false;
        {
            TPassWordDlg password(session);
            password.exec();
            signedIn = password.succeeded();
        }
        if (!signedIn) return 0;

        auto splash = std::make_unique<TResimForm>();
        splash->show();
        splash->runGauge();
        LongLivedWindows windows = createLongLivedWindows(session);
        splash->hide();
        splash.reset();
        printing.setDialogParent(windows.main.get());
        windows.main->show();
        const int result = app.exec();
        // The main window closed: the day's work goes into the day's backup.
        windows.main->hide();
        takeDayBackup(session);
        return result;
    } catch (const DbError& e) {
        prompter.error(e.message());
        return 1;
    }
}
