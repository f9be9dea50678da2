#include "platform/ui/command.h"

#include "data/errors.h"

#include <QtGlobal>
#include <exception>

namespace selvar {

bool runCommand(Prompter& prompter, const std::function<void()>& command)
{
    if (!command) return true;
    try {
        command();
        return true;
    } catch (const RetryRefused&) {
    } catch (const DbError& e) {
        prompter.error(e.message());
    } catch (const std::exception& e) {
        qWarning("command failed: %s", e.what());
        prompter.error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace selvar
