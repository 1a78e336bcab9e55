#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/main_window_state.h"

namespace inkrun {

// The window's state held in memory: what the command-line builder and the tests run the
// commands against. It holds what the main window's description says its controls hold, and
// refuses any other name, as a window does.
class PlainWindowState : public MainWindowState, private DrawingListControl {
public:
    // Whether a build takes the setup and the selected drawings away: for a run that builds once,
    // so that a setup as large as memory, or a list of 100,000 drawings, is not held twice. Left
    // Kept, every build finds them where they were.
    enum class AtBuild { Kept, HandedOver };
    explicit PlainWindowState(AtBuild atBuild = AtBuild::Kept);

    DrawingListModel& drawingList() override { return list(); }
    const DrawingListModel& drawingList() const override { return list(); }
    std::string setupTextForBuild() override;
    std::vector<std::string> selectedDrawingsForBuild() override;

    // What a person does in the list: select or deselect entry i.
    void select(std::size_t index, bool selected = true) { marks_.at(index) = selected; }
    void selectAll() { marks_.assign(marks_.size(), true); }

private:
    std::string controlText(std::string_view control) const override;
    void setControlText(std::string_view control, std::string text) override;
    bool isOptionSelected(std::string_view optionButton) const override;
    void selectOption(std::string_view optionButton) override;

    void showEntries(const std::vector<std::string>& names) override;
    std::vector<std::size_t> markedRows() const override;
    void markRows(const std::vector<std::size_t>& rows, std::size_t current) override;

    AtBuild atBuild_;
    std::vector<bool> marks_;
    std::map<std::string, std::string, std::less<>> texts_;            // by text box or label
    std::map<std::string, std::string, std::less<>> selectedOptions_;  // by frame: its selected option
};

}  // namespace inkrun
