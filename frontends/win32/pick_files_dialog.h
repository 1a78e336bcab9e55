#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/user_dialogs.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The system's file dialogs (the item dialogs, which offer the options' places), modal to
// `owner`; each gives nullopt when the person cancels and throws std::runtime_error when it
// cannot be shown.

// The open dialog for one or several files: the full paths picked. Its answer is a list of items,
// not a buffer, so no pick is too large for it.
std::optional<std::vector<std::string>> pickFiles(HWND owner, const FileDialogOptions& options);

// The open dialog for one existing file, and the save dialog: the full path chosen. A name typed
// without an extension gets the filter's.
std::optional<std::string> pickFile(HWND owner, const FileDialogOptions& options);
std::optional<std::string> pickSaveName(HWND owner, const FileDialogOptions& options);

}  // namespace inkrun::win32
