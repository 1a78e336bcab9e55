#include "platform/user_places.h"

#include <cstdlib>
#include <ctime>

namespace inkrun::platform {

LocalTime localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local)) return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<std::string> userDataFolder() {
    // The XDG base directories: a relative value is to be ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return std::string(data) + "/inkrun";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/share/inkrun";
    return std::nullopt;
}

}  // namespace inkrun::platform
