#pragma once
// The day's backup taken as the program closes: in the background with a progress bar
// (shown only when it takes more than a moment), a failure said in a warning.
namespace selvar {

struct Session;

void takeDayBackup(Session& session);

}  // namespace selvar
