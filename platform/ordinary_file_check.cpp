#include "platform/ordinary_file_check.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/file_error.h"
#include "platform/utf8_path.h"

namespace inkrun::platform {

void requireOrdinaryIfPresent(const std::string& directory, const std::string& name, char separator) {
    if (findOrdinaryFile(directory, name, separator)) return;
    // The exact name first, then the others in the order of their names, as the lookup does.
    std::vector<std::string> variants;
    std::error_code error;
    for (std::filesystem::directory_iterator it(pathOf(directory), error), end; !error && it != end;
         it.increment(error)) {
        const std::string entry = textOf(it->path().filename());
        if (equalsIgnoringCase(entry, name)) variants.push_back(entry);
    }
    if (error) throw FileError("read", joinPath(directory, name, separator), systemReason(error.value()));
    std::sort(variants.begin(), variants.end(), [&](const std::string& a, const std::string& b) {
        if ((a == name) != (b == name)) return a == name;
        return a < b;
    });
    for (const std::string& entry : variants) {
        const std::string path = joinPath(directory, entry, separator);
        if (auto reason = whyNotOrdinary(path)) throw FileError("read", path, *reason);
    }
}

}  // namespace inkrun::platform
