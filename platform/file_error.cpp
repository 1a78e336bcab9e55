#include "platform/file_error.h"

#include <cstring>
#include <iterator>

#include "platform/ansi_codec.h"

namespace inkrun::platform {

namespace {

// strerror_r comes in two shapes (GNU returns the text, XSI fills the buffer); overloads pick
// whichever the C library declared.
[[maybe_unused]] const char* reasonText(const char* gnuResult, const char*) { return gnuResult; }
[[maybe_unused]] const char* reasonText(int xsiResult, const char* buffer) { return xsiResult == 0 ? buffer : nullptr; }

}  // namespace

FileError::FileError(std::string action, std::string path, std::string reason)
    : std::runtime_error("Could not " + action + " " + escapeControls(path) + ": " + escapeControls(reason)),
      action_(std::move(action)), path_(std::move(path)), reason_(std::move(reason)) {}

std::string systemReason(int errorNumber) {
    char buffer[256] = {};
#ifdef _WIN32
    if (strerror_s(buffer, sizeof buffer, errorNumber) == 0) return buffer;
#else
    if (const char* text = reasonText(strerror_r(errorNumber, buffer, sizeof buffer), buffer); text && *text)
        return text;
#endif
    return "error " + std::to_string(errorNumber);
}

std::string roundedSize(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    std::uint64_t unitSize = 1024;
    std::size_t unit = 0;
    while (bytes / unitSize >= 1024 && unit + 1 < std::size(kUnits)) {
        unitSize *= 1024;
        ++unit;
    }
    // One decimal, rounded, in integers: printf would follow the user's locale.
    const std::uint64_t tenths = (bytes / unitSize) * 10 + ((bytes % unitSize) * 10 + unitSize / 2) / unitSize;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[unit];
}

std::string groupedDigits(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

std::string describeSize(std::uint64_t bytes) {
    if (bytes < 1024) return roundedSize(bytes);
    return roundedSize(bytes) + " (" + groupedDigits(bytes) + " bytes)";
}

}  // namespace inkrun::platform
