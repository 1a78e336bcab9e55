#pragma once

#include <functional>
#include <string>

#include "model/program_settings.h"
#include "model/user_dialogs.h"

namespace inkrun {

// The message for a shell result of 32 or less: "File not found" for 2, and so on; every value
// without a message of its own gives "Unknown error".
std::string shellErrorMessage(int result);

// Says nothing for a result above 32, the shell's acceptance; otherwise shows its message in a
// box titled "Inkrun", with the document's path on a second line: where no program shows it,
// the person can still open it by hand, and where it is missing they see where it was looked for.
void reportShellResult(int result, const std::string& document, UserDialogs& dialogs);

// How To: asks an earlier help window to close, hands readme.htm in the settings directory to
// the shell, and reports a result of 32 or less as reportShellResult does.
void showHelp(const ProgramSettings& settings, UserDialogs& dialogs,
              const std::function<void(const std::string& title)>& closeWindowByTitle,
              const std::function<int(const std::string& path)>& openDocument);

}  // namespace inkrun
