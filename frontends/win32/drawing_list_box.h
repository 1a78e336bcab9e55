#pragma once

#include <string>
#include <vector>

#include "model/drawing_list_model.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The drawing list (File1) in an extended-selection list box: the model keeps the names as the
// file system gives them, the list box shows them and holds their marks.
class DrawingListBox : public DrawingListControl {
public:
    void attach(HWND listBox) { listBox_ = listBox; }

private:
    void showEntries(const std::vector<std::string>& names) override;
    std::vector<std::size_t> markedRows() const override;
    void markRows(const std::vector<std::size_t>& rows, std::size_t current) override;

    // Many changes, one repaint.
    void redrawAfter(auto&& change);

    HWND listBox_ = nullptr;
};

}  // namespace inkrun::win32
