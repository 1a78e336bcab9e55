#include "drawings/drawing_hazards.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "drawings/drawing_list.h"
#include "platform/file_error.h"
#include "platform/folder.h"

namespace inkrun::drawings {

namespace {

// The name without its extension, as lock files are named after it, without regard to case.
std::string foldedStem(std::string_view name) { return platform::foldCase(name.substr(0, name.rfind('.'))); }

// One folder of the drawings: held open, with its lock files by the drawing they lock, and, when
// asked for, the names of its drawings from the same read.
struct LookedAt {
    std::string path;
    std::optional<platform::Folder> folder;
    std::unordered_map<std::string, std::string> locks;  // folded stem -> the lock file's name
    std::vector<std::string> drawings;

    LookedAt(std::string folderPath, char separator, bool withDrawings) : path(std::move(folderPath)) {
        try {
            folder = platform::Folder::openIfThere(path, "list", separator);
            if (!folder) return;
            drawings = withDrawings ? folder->filesEndingIn({".dwl", ".dwl2", ".dwg"})
                                    : folder->filesEndingIn({".dwl", ".dwl2"});
            // The lock files out, the drawings kept where they stand.
            const auto firstLock = std::stable_partition(drawings.begin(), drawings.end(), isDrawingName);
            for (auto lock = firstLock; lock != drawings.end(); ++lock)
                locks.emplace(foldedStem(*lock), std::move(*lock));
            drawings.erase(firstLock, drawings.end());
        } catch (const platform::FileError&) {
            folder.reset();
        }
    }

    // The drawing `name`, the `index`th looked at, whose full path `pathOf` gives.
    template <typename PathOf>
    void look(const std::string& name, std::size_t index, PathOf pathOf, std::vector<DrawingHazard>& hazards) const {
        if (!locks.empty())
            if (const auto lock = locks.find(foldedStem(name)); lock != locks.end())
                hazards.push_back({DrawingHazard::Kind::Locked, index, pathOf(), folder->pathOf(lock->second)});
        if (folder->isReadOnly(name)) hazards.push_back({DrawingHazard::Kind::ReadOnly, index, pathOf(), {}});
    }
};

}  // namespace

std::vector<DrawingHazard> drawingHazards(const std::string& directory, std::span<const std::string> drawings,
                                          bool fullPaths, char separator) {
    std::vector<DrawingHazard> hazards;
    std::optional<LookedAt> looked;
    std::string name;  // a drawing's name in its folder, where a full path holds it
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        std::string_view folder = directory;
        if (fullPaths) {
            const std::string_view path = drawings[i];
            const std::size_t cut = path.find_last_of(separator == '\\' ? "\\/" : "/");
            if (cut == std::string_view::npos) continue;
            // A drawing in a root ("/A.dwg", "C:\A.dwg") keeps the root's separator.
            folder = path.substr(0, cut == 0 || (separator == '\\' && path[cut - 1] == ':') ? cut + 1 : cut);
            name = path.substr(cut + 1);
        }
        const std::string& named = fullPaths ? name : drawings[i];
        // The drawings of one folder come together, as a tree lists them: each folder is read once.
        if (!looked || looked->path != folder) looked.emplace(std::string(folder), separator, false);
        if (!looked->folder) continue;
        looked->look(
            named, i, [&] { return fullPaths ? drawings[i] : looked->folder->pathOf(named); }, hazards);
    }
    return hazards;
}

std::vector<DrawingHazard> folderHazards(const std::string& directory, char separator) {
    std::vector<DrawingHazard> hazards;
    const LookedAt looked(directory, separator, true);
    if (!looked.folder) return hazards;
    for (const std::string& name : looked.drawings)
        looked.look(
            name, kUnplaced, [&] { return looked.folder->pathOf(name); }, hazards);
    return hazards;
}

}  // namespace inkrun::drawings
