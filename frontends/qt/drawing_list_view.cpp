#include "frontends/qt/drawing_list_view.h"

#include <QItemSelection>

#include "frontends/qt/qt_text.h"

namespace inkrun::qt {

DrawingListView::DrawingListView(QWidget* parent) : QListView(parent) {
    setModel(&shown_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);  // keeps 100,000 entries quick to show
}

void DrawingListView::showEntries(const std::vector<std::string>& names) {
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) shown.append(toQt(name));
    shown_.setStringList(shown);
    // No current entry either: the first Home or Down then selects the first drawing.
    selectionModel()->clear();
}

std::vector<std::size_t> DrawingListView::markedRows() const {
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void DrawingListView::markRows(const std::vector<std::size_t>& rows, std::size_t current) {
    // One selection change: each run of neighbouring rows becomes one range.
    QItemSelection marks;
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        marks.select(shown_.index(static_cast<int>(rows[first])), shown_.index(static_cast<int>(rows[last])));
        first = last + 1;
    }
    if (!marks.isEmpty()) selectionModel()->select(marks, QItemSelectionModel::Select);
    selectionModel()->setCurrentIndex(shown_.index(static_cast<int>(current)), QItemSelectionModel::NoUpdate);
}

}  // namespace inkrun::qt
