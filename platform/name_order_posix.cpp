#include "platform/name_order.h"

namespace inkrun::platform {

std::string nameOrderKey(std::string_view utf8) { return tableNameOrderKey(utf8); }

}  // namespace inkrun::platform
