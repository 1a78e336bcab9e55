#include "platform/name_order.h"

namespace inkrun::platform {
namespace {

const NameOrderTable* chosenTable = nullptr;

const NameOrderTable& table() { return chosenTable ? *chosenTable : NameOrderTable::enUs(); }

}  // namespace

std::string nameOrderKey(std::string_view utf8) { return table().key(utf8); }
void appendNameOrderKey(std::string_view utf8, std::string& keys) { table().appendKey(utf8, keys); }

bool chooseNameOrderLocale(std::string_view locale) {
    const NameOrderTable* found = locale.empty() ? &NameOrderTable::enUs() : NameOrderTable::find(locale);
    if (found) chosenTable = found;
    return found != nullptr;
}

std::vector<std::string> nameOrderLocales() {
    const std::vector<std::string_view> names = NameOrderTable::locales();
    return {names.begin(), names.end()};
}

bool ntfsListsBefore(std::string_view a, std::string_view b) { return tableNtfsListsBefore(a, b); }

}  // namespace inkrun::platform
