#pragma once

#include <QListView>
#include <QStringListModel>
#include <string>
#include <unordered_set>
#include <vector>

namespace inkrun::app {

// The drawing list (File1): the drawings of one directory, several of them selectable with
// Shift, Ctrl and Ctrl+A. The names are kept as the file system gives them; the view shows them.
class DrawingListView : public QListView {
    Q_OBJECT
public:
    explicit DrawingListView(QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    // Reads the directory afresh, with nothing selected. When it cannot be read the list is left
    // empty and FileError is thrown.
    void setPath(const std::string& directory);

    const std::vector<std::string>& entries() const { return entries_; }
    std::vector<std::string> selectedEntries() const;
    void markEntries(const std::unordered_set<std::string>& names);

private:
    QStringListModel model_;
    std::string path_;
    std::vector<std::string> entries_;
};

}  // namespace inkrun::app
