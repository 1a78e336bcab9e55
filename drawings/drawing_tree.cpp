#include "drawings/drawing_tree.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "drawings/drawing_list.h"
#include "platform/folder.h"

namespace inkrun::drawings {

namespace {

// Each folder is held open while its subfolders are read, and each subfolder is opened from it:
// a link met on the way is followed under the link rule, a refused one is left out with a warning.
struct TreeWalk {
    DrawingTree tree;
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;

    void visit(const platform::Folder& folder, bool top) {
        // A folder read before is left: a link leads back to it.
        const platform::FileIdentity identity = folder.identity();
        if (!seen.emplace(identity.device, identity.file).second) return;
        platform::FolderEntries entries;
        try {
            entries = folder.entries();
        } catch (const platform::FileError& error) {
            if (top) throw;
            tree.unreadable.push_back(error);
            return;
        }
        std::erase_if(entries.files, [](const std::string& name) { return !isDrawingName(name); });
        sortDrawingNames(entries.files);
        for (const std::string& name : entries.files) tree.paths.push_back(folder.pathOf(name));
        sortDrawingNames(entries.folders);
        for (const std::string& name : entries.folders) {
            std::optional<platform::Folder> subfolder;
            try {
                subfolder.emplace(folder.subfolder(name));
            } catch (const platform::FileError& error) {
                tree.unreadable.push_back(error);
                continue;
            }
            visit(*subfolder, false);
        }
    }
};

}  // namespace

DrawingTree listDrawingTree(const std::string& directory, char separator) {
    TreeWalk walk;
    walk.visit(platform::Folder::open(directory, "list", separator), true);
    return std::move(walk.tree);
}

}  // namespace inkrun::drawings
