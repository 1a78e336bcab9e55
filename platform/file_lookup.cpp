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

namespace {

bool startsWithDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The part of a Windows path that ".." never climbs over: "C:", or "\\server\share".
std::string_view windowsRoot(std::string_view path) {
    if (startsWithDrive(path)) return path.substr(0, 2);
    if (path.size() < 2 || !isPathSeparator(path[0], '\\') || !isPathSeparator(path[1], '\\')) return {};
    std::size_t end = 2;
    for (int parts = 0; parts < 2 && end < path.size(); ++parts) {
        while (end < path.size() && !isPathSeparator(path[end], '\\')) ++end;
        if (parts == 0 && end < path.size()) ++end;
    }
    return path.substr(0, end);
}

// `start` (a directory, kept as it is) joined with the steps of `relative`. Windows' own
// reading takes ".." back; on POSIX a ".." may cross a link, so it stays for the system to follow.
std::string joinSteps(std::string_view start, std::string_view relative, char separator) {
    std::string path(start);
    const std::size_t floor = separator == '\\' ? windowsRoot(start).size() : 0;
    std::size_t at = 0;
    while (at <= relative.size()) {
        std::size_t end = at;
        while (end < relative.size() && !isPathSeparator(relative[end], separator)) ++end;
        const std::string_view step = relative.substr(at, end - at);
        at = end + 1;
        if (step.empty() || step == ".") continue;
        if (step == ".." && separator == '\\') {
            std::size_t cut = path.size();
            while (cut > floor && !isPathSeparator(path[cut - 1], separator)) --cut;
            if (cut > floor) path.resize(cut - 1);
            else path.resize(floor);
            continue;
        }
        if (path.empty() || !isPathSeparator(path.back(), separator)) path.push_back(separator);
        path.append(step);
    }
    if (path.size() == floor && separator == '\\') path.push_back(separator);  // "C:" + "x\.." is C:'s root
    return path;
}

}  // namespace

bool isBareDrive(std::string_view path) { return path.size() == 2 && startsWithDrive(path); }

std::string absolutePathFrom(std::string_view base, std::string_view path, char separator) {
    if (path.empty()) return std::string(base);
    if (separator != '\\')
        return isPathSeparator(path.front(), separator) ? std::string(path) : joinSteps(base, path, separator);
    if (isBareDrive(path)) return std::string(path);
    if (startsWithDrive(path)) {
        if (path.size() > 2 && isPathSeparator(path[2], separator)) return std::string(path);
        // Drive-relative: the drive's current folder, which is base when base lies on that drive.
        if (startsWithDrive(base) && equalsIgnoringCase(base.substr(0, 1), path.substr(0, 1)))
            return joinSteps(base, path.substr(2), separator);
        return joinSteps(std::string(path.substr(0, 2)) + separator, path.substr(2), separator);
    }
    if (isPathSeparator(path.front(), separator)) {
        if (path.size() > 1 && isPathSeparator(path[1], separator)) return std::string(path);  // \\server\share
        return joinSteps(std::string(windowsRoot(base)) + separator, path.substr(1), separator);
    }
    return joinSteps(base, path, separator);
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

void sortExactNameFirst(std::vector<std::string>& names, const std::string& name) {
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        if ((a == name) != (b == name)) return a == name;
        return a < b;
    });
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    // Folding keeps the length, so differing lengths never match.
    return a.size() == b.size() && (a == b || foldCase(a) == foldCase(b));
}

bool endsWithIgnoringCase(std::string_view name, std::string_view ending) {
    return name.size() > ending.size() && equalsIgnoringCase(name.substr(name.size() - ending.size()), ending);
}

}  // namespace inkrun::platform
