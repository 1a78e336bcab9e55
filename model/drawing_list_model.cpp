#include "model/drawing_list_model.h"

#include <algorithm>
#include <utility>

namespace inkrun {

void DrawingListModel::show(std::string directory, std::vector<std::string> entries) {
    path_ = std::move(directory);
    entries_ = std::move(entries);
    control_.showEntries(entries_);
}

std::vector<std::size_t> DrawingListModel::markedRows() const {
    std::vector<std::size_t> rows = control_.markedRows();
    if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());  // most controls give them so
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](std::size_t row) { return row >= entries_.size(); });
    return rows;
}

std::vector<std::string> DrawingListModel::marked() const {
    const std::vector<std::size_t> rows = markedRows();
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const std::size_t row : rows) names.push_back(entries_[row]);
    return names;
}

std::vector<std::string> DrawingListModel::takeMarked() {
    const std::vector<std::size_t> rows = markedRows();
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const std::size_t row : rows) names.push_back(std::move(entries_[row]));
    entries_.clear();
    control_.showEntries(entries_);
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
