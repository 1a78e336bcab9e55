#pragma once

#include <string>
#include <unordered_set>
#include <vector>

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

    // The drawing list (File1): the directory it lists, its entries in list order, their marks.
    virtual std::string drawingListPath() const = 0;
    // Points the list at a directory and reads it afresh, with no entry marked. When the directory
    // cannot be listed the list is left empty, pointing at it, and FileError is thrown: entries of
    // another directory beside it would put wrong paths into the next script.
    virtual void setDrawingListPath(const std::string& directory) = 0;
    virtual std::vector<std::string> drawingListEntries() const = 0;
    // The marked entries, in list order.
    virtual std::vector<std::string> selectedDrawings() const = 0;
    // Marks every entry whose name is in `names` (exact comparison) and makes the last entry the
    // current one. Never removes a mark.
    virtual void markDrawings(const std::unordered_set<std::string>& names) = 0;

    // The order option: true while "dsc" (optSort(0)) is selected.
    virtual bool descendingOrder() const = 0;

    // The setup (RichTextBox3), lines separated by CR LF.
    virtual std::string setupText() const = 0;
    virtual void setSetupText(const std::string& text) = 0;

    // Where the setup came from (lblScriptDir).
    virtual std::string setupPath() const = 0;
    virtual void setSetupPath(const std::string& path) = 0;
};

}  // namespace inkrun
