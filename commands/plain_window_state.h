#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "commands/main_window_state.h"

namespace inkrun {

// The window's state held in memory: what the command-line builder and the tests run the
// commands against.
class PlainWindowState : public MainWindowState {
public:
    std::string drawingDirectory() const override { return drawingDirectory_; }
    void setDrawingDirectory(const std::string& directory) override { drawingDirectory_ = directory; }

    std::string drawingListPath() const override { return listPath_; }
    void setDrawingListPath(const std::string& directory) override;
    std::vector<std::string> drawingListEntries() const override { return entries_; }
    std::vector<std::string> selectedDrawings() const override;
    void markDrawings(const std::unordered_set<std::string>& names) override;

    bool descendingOrder() const override { return descending_; }
    void setDescendingOrder(bool descending) { descending_ = descending; }

    std::string setupText() const override { return setupText_; }
    void setSetupText(const std::string& text) override { setupText_ = text; }
    std::string setupPath() const override { return setupPath_; }
    void setSetupPath(const std::string& path) override { setupPath_ = path; }

    // What a person does in the list: select or deselect entry i.
    void select(std::size_t index, bool selected = true) { marks_.at(index) = selected; }
    void selectAll();
    // The entry with the focus; -1 while the list is empty or has none.
    long currentEntry() const { return current_; }

private:
    std::string drawingDirectory_;
    std::string listPath_;
    std::vector<std::string> entries_;
    std::vector<bool> marks_;
    long current_ = -1;
    bool descending_ = true;
    std::string setupText_;
    std::string setupPath_;
};

}  // namespace inkrun
