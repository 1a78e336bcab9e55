#include "platform/name_order.h"

#include <array>

#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform {

// The key a sorted list box orders by: LCMapStringEx's sort key orders as CompareStringEx does
// (measured under Wine for every pair of Windows-1252 characters, see the unit tests).
std::string nameOrderKey(std::string_view utf8) {
    const std::wstring name = widen(utf8);
    if (name.empty()) return {};
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(name.size());
    std::array<char, 512> buffer;
    int size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, name.data(), length,
                             reinterpret_cast<LPWSTR>(buffer.data()), static_cast<int>(buffer.size()), nullptr, nullptr,
                             0);
    if (size > 0) return std::string(buffer.data(), static_cast<std::size_t>(size));
    size = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, name.data(), length, nullptr, 0, nullptr, nullptr, 0);
    if (size <= 0) return {};
    std::string key(static_cast<std::size_t>(size), '\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, name.data(), length, reinterpret_cast<LPWSTR>(key.data()), size,
                  nullptr, nullptr, 0);
    return key;
}

void appendNameOrderKey(std::string_view utf8, std::string& keys) { keys += nameOrderKey(utf8); }

}  // namespace inkrun::platform
