#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "commands/main_window_state.h"

namespace inkrun {

// The window's state held in memory: what the command-line builder and the tests run the
// commands against.
class PlainWindowState : public MainWindowState, private DrawingListControl {
public:
    std::string drawingDirectory() const override { return drawingDirectory_; }
    void setDrawingDirectory(const std::string& directory) override { drawingDirectory_ = directory; }

    DrawingListModel& drawingList() override { return list(); }
    const DrawingListModel& drawingList() const override { return list(); }

    bool descendingOrder() const override { return descending_; }
    void setDescendingOrder(bool descending) { descending_ = descending; }

    std::string setupText() const override { return setupText_; }
    void setSetupText(const std::string& text) override { setupText_ = text; }
    std::string setupPath() const override { return setupPath_; }
    void setSetupPath(const std::string& path) override { setupPath_ = path; }

    // What a person does in the list: select or deselect entry i.
    void select(std::size_t index, bool selected = true) { marks_.at(index) = selected; }
    void selectAll() { marks_.assign(marks_.size(), true); }
    // The entry with the focus; -1 while the list is empty or has none.
    long currentEntry() const { return current_; }

private:
    void showEntries(const std::vector<std::string>& names) override;
    std::vector<std::size_t> markedRows() const override;
    void markRows(const std::vector<std::size_t>& rows, std::size_t current) override;

    std::string drawingDirectory_;
    std::vector<bool> marks_;
    long current_ = -1;
    bool descending_ = true;
    std::string setupText_;
    std::string setupPath_;
};

}  // namespace inkrun
