#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/drawing_list_model.h"

namespace inkrun {

// The whole state of a run, held by the main window's controls. Commands read and write it here
// and keep no copy between runs. A window implements the few accessors by control name at the
// end, over its widgets, once for each kind of control; PlainWindowState holds the same in memory
// for the command-line builder and the tests. State that a command needs anew is one more pair
// of named accessors here, over a control of the window description.
class MainWindowState {
public:
    virtual ~MainWindowState() = default;

    // The drawing directory (RichTextBox1).
    std::string drawingDirectory() const { return controlText(kDrawingDirectoryBox); }
    void setDrawingDirectory(const std::string& directory) { setControlText(kDrawingDirectoryBox, directory); }

    // The drawing list (File1), over whatever control shows it.
    virtual DrawingListModel& drawingList() = 0;
    virtual const DrawingListModel& drawingList() const = 0;
    std::string drawingListPath() const { return drawingList().path(); }
    std::vector<std::string> drawingListEntries() const { return drawingList().entries(); }
    std::vector<std::string> selectedDrawings() const { return drawingList().marked(); }
    // The selected drawings for a build; see setupTextForBuild.
    virtual std::vector<std::string> selectedDrawingsForBuild() { return selectedDrawings(); }
    void markDrawings(const std::unordered_set<std::string>& names) { drawingList().mark(names); }

    // The order option: "dsc" (optSort(0)) or "asc" (optSort(1)).
    bool descendingOrder() const { return isOptionSelected("optSort(0)"); }
    void setDescendingOrder(bool descending) { selectOption(descending ? "optSort(0)" : "optSort(1)"); }

    // The setup (RichTextBox3), lines separated by CR LF. Taken by value: a setup read from a
    // file moves in rather than being held twice.
    std::string setupText() const { return controlText(kSetupBox); }
    void setSetupText(std::string text) { setControlText(kSetupBox, std::move(text)); }
    // The setup for a build. A window's editor keeps its text; a state that is built from once
    // and then dropped (inkrun-build's) may hand its own over rather than copy it, and so its
    // selected drawings (selectedDrawingsForBuild).
    virtual std::string setupTextForBuild() { return setupText(); }

    // Where the setup came from (lblScriptDir).
    std::string setupPath() const { return controlText("lblScriptDir"); }
    void setSetupPath(const std::string& path) { setControlText("lblScriptDir", path); }

protected:
    static constexpr std::string_view kDrawingDirectoryBox = "RichTextBox1";
    static constexpr std::string_view kSetupBox = "RichTextBox3";

private:
    // A control of the main window's description, by its name: the text of a text box or a label
    // (with CR LF between lines), and whether an option button is the one selected in its frame.
    // A name that is no such control is a fault of the program: std::logic_error.
    virtual std::string controlText(std::string_view control) const = 0;
    virtual void setControlText(std::string_view control, std::string text) = 0;
    virtual bool isOptionSelected(std::string_view optionButton) const = 0;
    virtual void selectOption(std::string_view optionButton) = 0;
};

}  // namespace inkrun
