#include "frontends/cli/console_dialogs.h"

#include "platform/ansi_codec.h"
#include "script/build_command.h"

namespace inkrun::cli {

std::string printable(const std::string& text, bool keepLines) {
    if (!keepLines) return platform::escapeControls(text);
    std::string result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n", start);
        result += platform::escapeControls(text.substr(start, end - start));
        if (end == std::string::npos) return result;
        result.push_back('\n');
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

void ConsoleDialogs::showMessage(const std::string& text, const std::string&, MessageIcon icon) {
    if (icon == MessageIcon::None) {
        if (!quiet_) out_ << printable(text, true) << '\n';
    } else {
        failed_ = true;
        err_ << kProgramName << ": " << printable(text, false) << '\n';
        // The window's box shows its folder beside it; a log needs it said.
        if (text == script::kNoDrawingsMessage && !noDrawingsWhere_.empty())
            err_ << kProgramName << ": " << printable(noDrawingsWhere_, false) << '\n';
    }
}

}  // namespace inkrun::cli
