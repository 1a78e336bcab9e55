#pragma once

#include "model/user_dialogs.h"

class QWidget;

namespace inkrun::qt {

// Message boxes and file dialogs as Qt shows them, modal to the main window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}

    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions& options) override;
    std::optional<std::string> askOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> askSaveFile(const FileDialogOptions& options) override;

private:
    QWidget* parent_;
};

}  // namespace inkrun::qt
