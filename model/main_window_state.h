#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "model/drawing_list_model.h"

namespace inkrun {

// The whole state of a run, held by the main window's controls. Commands read and write it here
// and keep no copy between runs. The window implements it over its widgets; PlainWindowState
// holds it in memory for the command-line builder and the tests.
class MainWindowState {
public:
    virtual ~MainWindowState() = default;

    // The drawing directory (RichTextBox1).
    virtual std::string drawingDirectory() const = 0;
    virtual void setDrawingDirectory(const std::string& directory) = 0;

    // The drawing list (File1), over whatever control shows it.
    virtual DrawingListModel& drawingList() = 0;
    virtual const DrawingListModel& drawingList() const = 0;
    std::string drawingListPath() const { return drawingList().path(); }
    std::vector<std::string> drawingListEntries() const { return drawingList().entries(); }
    std::vector<std::string> selectedDrawings() const { return drawingList().marked(); }
    // The selected drawings for a build; see setupTextForBuild.
    virtual std::vector<std::string> selectedDrawingsForBuild() { return selectedDrawings(); }
    void markDrawings(const std::unordered_set<std::string>& names) { drawingList().mark(names); }

    // The order option: true while "dsc" (optSort(0)) is selected.
    virtual bool descendingOrder() const = 0;

    // The setup (RichTextBox3), lines separated by CR LF. Taken by value: a setup read from a
    // file moves in rather than being held twice.
    virtual std::string setupText() const = 0;
    virtual void setSetupText(std::string text) = 0;
    // The setup for a build. A window's editor keeps its text; a state that is built from once
    // and then dropped (inkrun-build's) may hand its own over rather than copy it, and so its
    // selected drawings (selectedDrawingsForBuild).
    virtual std::string setupTextForBuild() { return setupText(); }

    // Where the setup came from (lblScriptDir).
    virtual std::string setupPath() const = 0;
    virtual void setSetupPath(const std::string& path) = 0;
};

}  // namespace inkrun
