#include "drawings/drawing_list.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/file_lookup.h"
#include "platform/name_order.h"

namespace inkrun::drawings {

bool isDrawingName(std::string_view name) {
    constexpr std::string_view extension = ".dwg";
    if (name.size() <= extension.size()) return false;
    return platform::equalsIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

namespace {

// A name's place in the sort: its key in the block of keys, and the key's first bytes after the
// part all keys share, as a number, which settles most comparisons without reading the keys.
struct SortEntry {
    std::uint64_t head;
    std::size_t offset;
    std::uint32_t length;
    std::uint32_t name;
};

std::uint64_t bigEndianHead(std::string_view bytes) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i)
        head = head << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
    return head;
}

template <typename AppendKey>
void sortByKeys(std::vector<std::string>& names, const AppendKey& appendKey) {
    // One key per name, not one per comparison, all in one block: lists run to 100,000 names.
    std::string keys;
    keys.reserve(names.size() * 24);
    std::vector<SortEntry> entries(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        entries[i].offset = keys.size();
        appendKey(names[i], keys);
        entries[i].length = static_cast<std::uint32_t>(keys.size() - entries[i].offset);
        entries[i].name = static_cast<std::uint32_t>(i);
    }
    const auto keyOf = [&](const SortEntry& entry) {
        return std::string_view(keys).substr(entry.offset, entry.length);
    };
    // Numbered drawings share long beginnings ("drawing0..."): the heads start after them.
    const std::string_view first = entries.empty() ? std::string_view() : keyOf(entries[0]);
    std::size_t shared = first.size();
    for (const SortEntry& entry : entries) {
        const std::string_view key = keyOf(entry);
        std::size_t same = 0;
        while (same < shared && same < key.size() && key[same] == first[same]) ++same;
        shared = same;
    }
    for (SortEntry& entry : entries) entry.head = bigEndianHead(keyOf(entry).substr(shared));
    std::sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        if (a.head != b.head) return a.head < b.head;
        if (const int order = keyOf(a).compare(keyOf(b))) return order < 0;
        // A list box puts each name it is given before the equal ones it holds.
        return platform::ntfsListsBefore(names[b.name], names[a.name]);
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const SortEntry& entry : entries) sorted.push_back(std::move(names[entry.name]));
    names = std::move(sorted);
}

}  // namespace

void sortDrawingNames(std::vector<std::string>& names) { sortByKeys(names, platform::appendNameOrderKey); }

void sortDrawingNames(std::vector<std::string>& names, const platform::NameOrderTable& table) {
    sortByKeys(names, [&](std::string_view name, std::string& keys) { table.appendKey(name, keys); });
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

void setDrawingListPath(MainWindowState& state, const std::string& directory) {
    std::vector<std::string> entries;
    try {
        entries = listDrawings(directory);
    } catch (...) {
        state.drawingList().show(directory, {});
        throw;
    }
    state.drawingList().show(directory, std::move(entries));
}

}  // namespace inkrun::drawings
