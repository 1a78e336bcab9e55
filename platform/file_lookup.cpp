#include "platform/file_lookup.h"

// Path joining and name folding, the same on every system.

namespace inkrun::platform {

std::string joinPath(std::string_view directory, std::string_view name, char separator) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory);
    path.push_back(separator);
    path.append(name);
    return path;
}

std::string foldCase(std::string_view utf8) {
    std::string folded(utf8);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte + 0x20);
        } else if (byte == 0xC3 && i + 1 < folded.size()) {
            // U+00C0-U+00DE are C3 80-9E; U+00D7 (multiplication sign) is not a letter.
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return folded;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    // Folding keeps the length, so differing lengths never match.
    return a.size() == b.size() && (a == b || foldCase(a) == foldCase(b));
}

}  // namespace inkrun::platform
