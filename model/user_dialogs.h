#pragma once

#include <optional>
#include <string>
#include <vector>

namespace inkrun {

enum class MessageIcon { None, Exclamation, Critical };

struct FileDialogOptions {
    std::string title;
    std::string filterName;     // the filter as the dialog shows it, as it stands: "Text Files"
    std::string filterPattern;  // the names it lets through: "*.txt"
    std::string initialDirectory;
    std::string fileName;
    bool allowMultiple = false;
    bool confirmOverwrite = false;
    // Folders offered among the dialog's places, above the system's own, one click away
    // whichever folder it starts in.
    std::vector<std::string> places;
};

// What a person is asked: message boxes and the file dialogs. Every dialog returns nullopt when
// the person cancels, which ends a command silently.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A modal box with an OK button. Lines in `text` may be separated by CR, LF or CR LF.
    virtual void showMessage(const std::string& text, const std::string& title, MessageIcon icon) = 0;

    // Open dialog for one or several files. The answer is either one full path, or the directory
    // followed by the picked names.
    virtual std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> askOpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> askSaveFile(const FileDialogOptions& options) = 0;
};

// The title of boxes that carry no title of their own.
inline constexpr const char* kApplicationTitle = "Inkrun";

}  // namespace inkrun
