#include "commands/plain_window_state.h"

#include "drawings/drawing_list.h"

namespace inkrun {

void PlainWindowState::setDrawingListPath(const std::string& directory) {
    listPath_ = directory;
    entries_.clear();
    marks_.clear();
    current_ = -1;
    entries_ = drawings::listDrawings(directory);
    marks_.assign(entries_.size(), false);
}

std::vector<std::string> PlainWindowState::selectedDrawings() const {
    std::vector<std::string> selected;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (marks_[i]) selected.push_back(entries_[i]);
    return selected;
}

void PlainWindowState::markDrawings(const std::unordered_set<std::string>& names) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (names.count(entries_[i])) marks_[i] = true;
    if (!entries_.empty()) current_ = static_cast<long>(entries_.size()) - 1;
}

void PlainWindowState::selectAll() { marks_.assign(entries_.size(), true); }

}  // namespace inkrun
