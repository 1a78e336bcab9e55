#pragma once

#include <exception>

#include "model/user_dialogs.h"

namespace inkrun {

// Reports what a command's trap caught: nothing for no error, and for anything else a box
// titled "Inkrun" with the critical icon and the error's own text (what failed, where, why).
// A file that is written although a later step failed (platform::WrittenWithWarning) gets the
// exclamation icon instead. A cancelled dialog never reaches here: it ends the command as a normal return.
void checkCommandError(std::exception_ptr error, UserDialogs& dialogs);

}  // namespace inkrun
