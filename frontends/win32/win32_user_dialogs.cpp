#include "frontends/win32/win32_user_dialogs.h"

#include "frontends/win32/pick_files_dialog.h"
#include "model/file_pick.h"
#include "platform/file_lookup.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::widen;

namespace {

UINT messageBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MessageIcon::Critical: return MB_ICONERROR;
    case MessageIcon::None: break;
    }
    return 0;
}

}  // namespace

void Win32UserDialogs::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    MessageBoxW(owner_, widen(text).c_str(), widen(title).c_str(), MB_OK | messageBoxIcon(icon));
}

std::optional<std::vector<std::string>> Win32UserDialogs::askOpenFiles(const FileDialogOptions& options) {
    const auto paths = pickFiles(owner_, options);
    if (!paths) return std::nullopt;
    return pickAnswer(*paths, platform::kPathSeparator);
}

std::optional<std::string> Win32UserDialogs::askOpenFile(const FileDialogOptions& options) {
    return pickFile(owner_, options);
}

std::optional<std::string> Win32UserDialogs::askSaveFile(const FileDialogOptions& options) {
    return pickSaveName(owner_, options);
}

}  // namespace inkrun::win32
