#pragma once

#include <functional>
#include <string>

#include "commands/program_settings.h"
#include "commands/user_dialogs.h"

namespace inkrun {

// The message for a shell result of 32 or less: "File not found" for 2, and so on; every value
// without a message of its own gives "Unknown error".
std::string shellErrorMessage(int result);

// Says nothing for a result above 32, the shell's acceptance; otherwise shows its message in a
// box titled "Inkrun".
void reportShellResult(int result, UserDialogs& dialogs);

// How To: asks an earlier help window to close, hands readme.htm in the settings directory to
// the shell, and reports a result of 32 or less in a box titled "Inkrun".
void showHelp(const ProgramSettings& settings, UserDialogs& dialogs,
              const std::function<void(const std::string& title)>& closeWindowByTitle,
              const std::function<int(const std::string& path)>& openDocument);

}  // namespace inkrun
