#include "app/windows.h"

#include "app/main_form.h"

namespace selvar {

LongLivedWindows::LongLivedWindows() = default;
LongLivedWindows::LongLivedWindows(LongLivedWindows&&) noexcept = default;
LongLivedWindows& LongLivedWindows::operator=(LongLivedWindows&&) noexcept = default;
LongLivedWindows::~LongLivedWindows() = default;

LongLivedWindows createLongLivedWindows(Session& session)
{
    LongLivedWindows w;
    WindowOpeners openers;
    w.main = std::make_unique<TILKForm>(session, openers);
    return w;
}

}  // namespace selvar
