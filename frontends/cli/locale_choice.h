#pragma once

#include <string>

// The locale whose order the drawing list follows: --locale.

namespace inkrun::cli {

// Orders the drawing list as Windows does in `locale` for this build, or in the default locale
// when it is empty. Throws UsageError for a locale this system does not know, naming the ones
// it may have meant ("dk", "da_DK": da-DK) and listing every one it knows.
void chooseLocale(const std::string& locale);

}  // namespace inkrun::cli
