#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "model/user_dialogs.h"

namespace inkrun::cli {

inline constexpr const char* kProgramName = "inkrun-build";

// A message as console lines. Names in messages come from the file system: their control
// characters are shown escaped, so a name can neither forge a log line nor steer the terminal.
// Only a success message has lines of its own (the window's lone CR between them).
std::string printable(const std::string& text, bool keepLines);

// The window's message boxes where a console user looks for them: success on the standard
// output, the rest on standard error.
class ConsoleDialogs : public UserDialogs {
public:
    ConsoleDialogs(std::ostream& out, std::ostream& err, bool quiet) : out_(out), err_(err), quiet_(quiet) {}

    // Whether a warning or an error was shown: the build failed.
    bool failed() const { return failed_; }

    // A line to follow the window's "No files selected.", saying where no drawing was found.
    void explainNoDrawings(std::string where) { noDrawingsWhere_ = std::move(where); }

    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    // Nobody is there to answer: every dialog counts as cancelled.
    std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> askOpenFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> askSaveFile(const FileDialogOptions&) override { return std::nullopt; }

private:
    std::ostream& out_;
    std::ostream& err_;
    bool quiet_;
    bool failed_ = false;
    std::string noDrawingsWhere_;
};

}  // namespace inkrun::cli
