#include "frontends/cli/locale_choice.h"

#include <vector>

#include "frontends/cli/command_line.h"
#include "platform/name_order.h"

namespace inkrun::cli {

namespace {

std::string folded(std::string name) {
    for (char& c : name) c = c == '_' ? '-' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return name;
}

// A known name that `given` may stand for: the same but for case and '_', or its region ("dk").
bool mayMean(const std::string& known, const std::string& given) {
    const std::string name = folded(known), typed = folded(given);
    if (name == typed) return true;
    const std::size_t dash = name.rfind('-');
    return dash != std::string::npos && name.substr(dash + 1) == typed;
}

}  // namespace

void chooseLocale(const std::string& locale) {
    if (platform::chooseNameOrderLocale(locale)) return;
    const std::vector<std::string> known = platform::nameOrderLocales();
    std::string meant, all;
    for (const std::string& name : known) {
        if (mayMean(name, locale)) {
            if (!meant.empty()) meant += " or ";
            meant += name;
        }
        all += ' ';
        all += name;
    }
    throw UsageError("unknown locale '" + locale + "'" + (meant.empty() ? "" : "; did you mean " + meant + "?") +
                     " The locales known here:" + all);
}

}  // namespace inkrun::cli
