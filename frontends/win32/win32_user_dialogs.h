#pragma once

#include "model/user_dialogs.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The system's own message boxes and common file dialogs, owned by the main window.
class Win32UserDialogs : public UserDialogs {
public:
    void setOwner(HWND owner) { owner_ = owner; }

    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions& options) override;
    std::optional<std::string> askOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> askSaveFile(const FileDialogOptions& options) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace inkrun::win32
