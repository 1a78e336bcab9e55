#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace inkrun {

class DrawingListControl;

// The drawing list (File1): the directory it lists, its entries in list order and their marks.
class DrawingListModel {
public:
    explicit DrawingListModel(DrawingListControl& control) : control_(control) {}
    DrawingListModel(const DrawingListModel&) = delete;
    // Takes the other list's path and entries; the control that shows them stays this list's
    // own, and copies the marks itself.
    DrawingListModel& operator=(const DrawingListModel& other) {
        path_ = other.path_;
        entries_ = other.entries_;
        return *this;
    }

    const std::string& path() const { return path_; }
    const std::vector<std::string>& entries() const { return entries_; }

    // Points the list at a directory and shows its entries, in list order, none of them marked.
    // Whoever lists the directory hands them over (drawings::setDrawingListPath): the model reads
    // no folder itself.
    void show(std::string directory, std::vector<std::string> entries);

    // The marked entries, in list order.
    std::vector<std::string> marked() const;
    // The same, moved out of a list that is then empty: for a run that builds once, so that a
    // long list is not held twice.
    std::vector<std::string> takeMarked();

    // Marks every entry whose name is in `names` (exact comparison) and makes the last entry the
    // current one. Never removes a mark.
    void mark(const std::unordered_set<std::string>& names);

private:
    std::vector<std::size_t> markedRows() const;  // ascending, each once, each an entry

    DrawingListControl& control_;
    std::string path_;
    std::vector<std::string> entries_;
};

// A control that shows the drawing list and keeps its marks: a toolkit's list control, or plain
// memory. It holds the list's model. The person marks rows in the control; the model only reads
// and adds marks.
class DrawingListControl {
public:
    virtual ~DrawingListControl() = default;

    DrawingListModel& list() { return list_; }
    const DrawingListModel& list() const { return list_; }

private:
    friend class DrawingListModel;
    // Shows these names in this order, none of them marked and none current.
    virtual void showEntries(const std::vector<std::string>& names) = 0;
    // The marked rows, in any order.
    virtual std::vector<std::size_t> markedRows() const = 0;
    // Marks these rows (ascending) besides those already marked, and makes `current` the current row.
    virtual void markRows(const std::vector<std::size_t>& rows, std::size_t current) = 0;

    DrawingListModel list_{*this};
};

}  // namespace inkrun
