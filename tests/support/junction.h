#pragma once

#ifdef _WIN32
#include <string>

namespace inkrun::test {

// Makes `junction` a new junction (a mount point) to the folder `target`, as "mklink /J" does;
// false with the system's error set where the system makes none (Wine 8 does not).
bool makeJunction(const std::wstring& junction, const std::wstring& target);

}  // namespace inkrun::test
#endif
