#include "platform/user_places.h"

#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform {

LocalTime localTimeNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

namespace {

std::optional<std::wstring> environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> userDataFolder() {
    if (const auto local = environment(L"LOCALAPPDATA")) return narrow(*local) + "\\Inkrun";
    if (const auto profile = environment(L"USERPROFILE")) return narrow(*profile) + "\\AppData\\Local\\Inkrun";
    return std::nullopt;
}

}  // namespace inkrun::platform
