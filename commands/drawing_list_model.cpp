#include "commands/drawing_list_model.h"

#include <algorithm>
#include <utility>

namespace inkrun {

void DrawingListModel::setPath(const std::string& directory) {
    path_ = directory;
    std::vector<std::string> listed;
    try {
        listed = drawings::listDrawings(directory);
    } catch (...) {
        entries_.clear();
        control_.showEntries(entries_);
        throw;
    }
    entries_ = std::move(listed);
    control_.showEntries(entries_);
}

std::vector<std::string> DrawingListModel::marked() const {
    std::vector<std::size_t> rows = control_.markedRows();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const std::size_t row : rows)
        if (row < entries_.size()) names.push_back(entries_[row]);
    return names;
}

void DrawingListModel::mark(const std::unordered_set<std::string>& names) {
    if (entries_.empty()) return;
    // One walk over the list whatever the number of names.
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < entries_.size(); ++row)
        if (names.count(entries_[row])) rows.push_back(row);
    control_.markRows(rows, entries_.size() - 1);
}

}  // namespace inkrun
