#include "platform/file_error.h"

#include <cstring>

#include "platform/ansi_codec.h"

namespace inkrun::platform {

namespace {

// strerror_r comes in two shapes (GNU returns the text, XSI fills the buffer); overloads pick
// whichever the C library declared.
[[maybe_unused]] const char* reasonText(const char* gnuResult, const char*) { return gnuResult; }
[[maybe_unused]] const char* reasonText(int xsiResult, const char* buffer) {
    return xsiResult == 0 ? buffer : nullptr;
}

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

}  // namespace inkrun::platform
