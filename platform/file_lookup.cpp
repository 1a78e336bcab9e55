#include "platform/file_lookup.h"

#include <algorithm>
#include <cstring>

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

namespace {

// Eight bytes as the fingerprint sees them: ASCII letters lowered, each byte from 0x80 up taken
// for 0x80. Folding (foldCase) changes nothing that survives this.
std::uint64_t caseBlindWord(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = kOnes * 0x80, kLow = kOnes * 0x7F;
    const std::uint64_t high = word & kHigh;
    const std::uint64_t low = word & kLow;
    const std::uint64_t fromA = (low + kOnes * (0x80 - 'A')) & kHigh;  // no byte carries into the next
    const std::uint64_t pastZ = (low + kOnes * (0x80 - 'Z' - 1)) & kHigh;
    const std::uint64_t lowered = low | ((fromA & ~pastZ & ~high) >> 2);
    return (lowered & ~((high >> 7) * 0x7F)) | high;
}

std::uint64_t mixed(std::uint64_t value) {  // splitmix64's finalizer
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

}  // namespace

std::uint64_t caseBlindFingerprint(std::string_view name) {
    std::uint64_t first = 0, last = 0;
    std::memcpy(&first, name.data(), std::min<std::size_t>(name.size(), 8));
    if (name.size() > 8) std::memcpy(&last, name.data() + name.size() - 8, 8);
    return mixed(caseBlindWord(first) ^ mixed(caseBlindWord(last) ^ mixed(name.size())));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    // Folding keeps the length, so differing lengths never match.
    return a.size() == b.size() && (a == b || foldCase(a) == foldCase(b));
}

}  // namespace inkrun::platform
