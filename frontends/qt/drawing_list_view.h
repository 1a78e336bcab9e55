#pragma once

#include <QListView>
#include <QStringListModel>
#include <string>
#include <vector>

#include "model/drawing_list_model.h"

namespace inkrun::qt {

// The drawing list (File1): the drawings of one directory, several of them selectable with
// Shift, Ctrl and Ctrl+A. The names are kept by the model as the file system gives them; the
// view shows them and holds their marks.
class DrawingListView : public QListView, public DrawingListControl {
    Q_OBJECT
public:
    explicit DrawingListView(QWidget* parent = nullptr);

private:
    void showEntries(const std::vector<std::string>& names) override;
    std::vector<std::size_t> markedRows() const override;
    void markRows(const std::vector<std::size_t>& rows, std::size_t current) override;

    QStringListModel shown_;
};

}  // namespace inkrun::qt
