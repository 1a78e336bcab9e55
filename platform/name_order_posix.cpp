#include "platform/name_order.h"

namespace inkrun::platform {

std::string nameOrderKey(std::string_view utf8) { return tableNameOrderKey(utf8); }
void appendNameOrderKey(std::string_view utf8, std::string& keys) { appendTableNameOrderKey(utf8, keys); }

}  // namespace inkrun::platform
