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
            continue;
        }
        if (i + 1 >= folded.size()) break;
        const auto next = static_cast<unsigned char>(folded[i + 1]);
        if (byte == 0xC3) {
            // U+00C0-U+00DE are C3 80-9E; U+00D7 (multiplication sign) is not a letter.
            if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        } else if (byte == 0xC5) {
            // The code page's other pairs: Œ/œ (C5 92/93), Š/š (C5 A0/A1), Ž/ž (C5 BD/BE), and
            // Ÿ (C5 B8), whose small letter ÿ (C3 BF) sits in Latin-1; both forms are two bytes,
            // so folding keeps the length.
            if (next == 0x92 || next == 0xA0 || next == 0xBD) {
                folded[i + 1] = static_cast<char>(next + 1);
            } else if (next == 0xB8) {
                folded[i] = static_cast<char>(0xC3);
                folded[i + 1] = static_cast<char>(0xBF);
            }
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
