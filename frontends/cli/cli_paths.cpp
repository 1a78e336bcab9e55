#include "frontends/cli/cli_paths.h"

#include <algorithm>
#include <filesystem>

#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace inkrun::cli {

std::string absoluteFrom(const std::string& currentDirectory, const std::string& path) {
    using platform::pathOf;
    using platform::textOf;
    std::filesystem::path result = pathOf(path);
    if (result.is_relative()) result = pathOf(currentDirectory) / result;
    result = result.lexically_normal();
    std::string text = textOf(result);
    const std::size_t root = textOf(result.root_path()).size();
    while (text.size() > std::max<std::size_t>(root, 1) && platform::isPathSeparator(text.back())) text.pop_back();
    return text;
}

}  // namespace inkrun::cli
