#include "drawings/drawing_tree.h"

#include <algorithm>
#include <set>
#include <utility>

#include "drawings/drawing_list.h"
#include "platform/file_identity.h"
#include "platform/folder_listing.h"

namespace inkrun::drawings {

namespace {

struct TreeWalk {
    char separator;
    DrawingTree tree;
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;

    // False when the folder was read before: a link leads back to it.
    bool firstVisit(const std::string& folder) {
        const auto identity = platform::fileIdentity(folder);
        // A folder whose identity cannot be told is read; a loop through it ends where its
        // path grows too long to be listed.
        return !identity || seen.emplace(identity->device, identity->file).second;
    }

    void visit(const std::string& folder, bool top) {
        if (!firstVisit(folder)) return;
        platform::FolderEntries entries;
        try {
            entries = platform::listFolder(folder);
        } catch (const platform::FileError& error) {
            if (top) throw;
            tree.unreadable.push_back(error);
            return;
        }
        std::erase_if(entries.files, [](const std::string& name) { return !isDrawingName(name); });
        sortDrawingNames(entries.files);
        for (const std::string& name : entries.files) tree.paths.push_back(platform::joinPath(folder, name, separator));
        sortDrawingNames(entries.folders);
        for (const std::string& name : entries.folders) visit(platform::joinPath(folder, name, separator), false);
    }
};

}  // namespace

DrawingTree listDrawingTree(const std::string& directory, char separator) {
    TreeWalk walk{separator, {}, {}};
    walk.visit(directory, true);
    return std::move(walk.tree);
}

}  // namespace inkrun::drawings
