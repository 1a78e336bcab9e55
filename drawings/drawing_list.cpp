#include "drawings/drawing_list.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/file_lookup.h"
#include "platform/name_order.h"

namespace inkrun::drawings {

bool isDrawingName(std::string_view name) {
    constexpr std::string_view extension = ".dwg";
    if (name.size() <= extension.size()) return false;
    return platform::equalsIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

void sortDrawingNames(std::vector<std::string>& names) {
    // One key per name, not one per comparison: lists run to 100,000 names.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) keys.emplace_back(platform::nameOrderKey(names[i]), i);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        if (const int order = a.first.compare(b.first)) return order < 0;
        return names[a.second] < names[b.second];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys) sorted.push_back(std::move(names[key.second]));
    names = std::move(sorted);
}

std::vector<std::string> listDrawings(const std::string& directory) {
#ifdef _WIN32
    const std::string& listed = directory;
#else
    // An empty directory is the root, as joining "" and a name gives a path from the root.
    const std::string listed = directory.empty() ? "/" : directory;
#endif
    std::vector<std::string> names = platform::listOrdinaryFiles(listed);
    std::erase_if(names, [](const std::string& name) { return !isDrawingName(name); });
    sortDrawingNames(names);
    return names;
}

}  // namespace inkrun::drawings
