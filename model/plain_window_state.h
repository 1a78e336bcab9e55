#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "model/main_window_state.h"

namespace inkrun {

// The window's state held in memory: what the command-line builder and the tests run the
// commands against.
class PlainWindowState : public MainWindowState, private DrawingListControl {
public:
    // Whether a build takes the setup and the selected drawings away: for a run that builds once,
    // so that a setup as large as memory, or a list of 100,000 drawings, is not held twice. Left
    // Kept, every build finds them where they were.
    enum class AtBuild { Kept, HandedOver };
    explicit PlainWindowState(AtBuild atBuild = AtBuild::Kept) : atBuild_(atBuild) {}

    std::string drawingDirectory() const override { return drawingDirectory_; }
    void setDrawingDirectory(const std::string& directory) override { drawingDirectory_ = directory; }

    DrawingListModel& drawingList() override { return list(); }
    const DrawingListModel& drawingList() const override { return list(); }

    bool descendingOrder() const override { return descending_; }
    void setDescendingOrder(bool descending) { descending_ = descending; }

    std::string setupText() const override { return setupText_; }
    void setSetupText(std::string text) override { setupText_ = std::move(text); }
    std::string setupTextForBuild() override {
        return atBuild_ == AtBuild::HandedOver ? std::exchange(setupText_, {}) : setupText_;
    }
    std::vector<std::string> selectedDrawingsForBuild() override {
        return atBuild_ == AtBuild::HandedOver ? list().takeMarked() : selectedDrawings();
    }
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

    AtBuild atBuild_;
    std::string drawingDirectory_;
    std::vector<bool> marks_;
    long current_ = -1;
    bool descending_ = true;
    std::string setupText_;
    std::string setupPath_;
};

}  // namespace inkrun
