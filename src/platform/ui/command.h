#pragma once
// The edge of a window's command: whatever fails inside reaches the person as one message
// box, never the event loop. One policy for every window:
//  - a held lock whose retry box the person closed stays silent: that box was the message;
//  - any other failure of the tables shows the engine's text;
//  - anything else is shown and written to the log.
#include "platform/prompter.h"

#include <functional>

namespace selvar {

// True when the command ran to its end.
bool runCommand(Prompter& prompter, const std::function<void()>& command);

}  // namespace selvar
