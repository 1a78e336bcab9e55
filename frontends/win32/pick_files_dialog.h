#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/user_dialogs.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The system's open dialog for one or several files (IFileOpenDialog), modal to `owner`: the
// full paths picked, or nullopt when the person cancels. Its answer is a list of items, not a
// buffer, so no pick is too large for it. Throws std::runtime_error when it cannot be shown.
std::optional<std::vector<std::string>> pickFiles(HWND owner, const FileDialogOptions& options);

}  // namespace inkrun::win32
