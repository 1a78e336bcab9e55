#include "model/plain_window_state.h"

namespace inkrun {

void PlainWindowState::showEntries(const std::vector<std::string>& names) {
    marks_.assign(names.size(), false);
    current_ = -1;
}

std::vector<std::size_t> PlainWindowState::markedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < marks_.size(); ++row)
        if (marks_[row]) rows.push_back(row);
    return rows;
}

void PlainWindowState::markRows(const std::vector<std::size_t>& rows, std::size_t current) {
    for (const std::size_t row : rows) marks_.at(row) = true;
    current_ = static_cast<long>(current);
}

}  // namespace inkrun
