#include "platform/file_error.h"

#include <cstring>

namespace inkrun::platform {

namespace {

// strerror_r comes in two shapes (GNU returns the text, XSI fills the buffer); overloads pick
// whichever the C library declared.
[[maybe_unused]] const char* reasonText(const char* gnuResult, const char*) { return gnuResult; }
[[maybe_unused]] const char* reasonText(int xsiResult, const char* buffer) {
    return xsiResult == 0 ? buffer : nullptr;
}

}  // namespace

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
