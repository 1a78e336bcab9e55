#include "frontends/qt/drawing_list_view.h"

#include <QItemSelection>
#include <algorithm>

#include "frontends/qt/qt_text.h"
#include "drawings/drawing_list.h"

namespace inkrun::app {

DrawingListView::DrawingListView(QWidget* parent) : QListView(parent) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);  // keeps 100,000 entries quick to show
}

void DrawingListView::setPath(const std::string& directory) {
    path_ = directory;
    std::vector<std::string> entries;
    try {
        entries = drawings::listDrawings(directory);
    } catch (...) {
        entries_.clear();
        model_.setStringList({});
        throw;
    }
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& name : entries) shown.append(toQt(name));
    model_.setStringList(shown);
    entries_ = std::move(entries);
    // No current entry either: the first Home or Down then selects the first drawing.
    selectionModel()->clear();
}

std::vector<std::string> DrawingListView::selectedEntries() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::string> selected;
    selected.reserve(rows.size());
    for (int row : rows) selected.push_back(entries_[static_cast<std::size_t>(row)]);
    return selected;
}

void DrawingListView::markEntries(const std::unordered_set<std::string>& names) {
    // One pass over the list, one selection change: contiguous marks become one range.
    QItemSelection marks;
    int first = -1;
    const int count = static_cast<int>(entries_.size());
    for (int row = 0; row <= count; ++row) {
        const bool picked = row < count && names.count(entries_[static_cast<std::size_t>(row)]) > 0;
        if (picked && first < 0) first = row;
        if (!picked && first >= 0) {
            marks.select(model_.index(first), model_.index(row - 1));
            first = -1;
        }
    }
    if (!marks.isEmpty()) selectionModel()->select(marks, QItemSelectionModel::Select);
    if (count > 0) selectionModel()->setCurrentIndex(model_.index(count - 1), QItemSelectionModel::NoUpdate);
}

}  // namespace inkrun::app
