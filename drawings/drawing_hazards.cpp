#include "drawings/drawing_hazards.h"

#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

#include "platform/file_error.h"
#include "platform/folder.h"

namespace inkrun::drawings {

namespace {

// The name without its extension, as lock files are named after it, without regard to case.
std::string foldedStem(std::string_view name) { return platform::foldCase(name.substr(0, name.rfind('.'))); }

// One folder of the drawings: held open, with its lock files by the drawing they lock.
struct LookedAt {
    std::string path;
    std::optional<platform::Folder> folder;
    std::unordered_map<std::string, std::string> locks;  // folded stem -> the lock file's name
};

LookedAt lookAt(const std::string& path, char separator) {
    LookedAt looked{path, std::nullopt, {}};
    try {
        looked.folder = platform::Folder::openIfThere(path, "list", separator);
        if (looked.folder)
            for (std::string& lock : looked.folder->filesEndingIn({".dwl", ".dwl2"}))
                looked.locks.emplace(foldedStem(lock), std::move(lock));
    } catch (const platform::FileError&) {
        looked.folder.reset();
    }
    return looked;
}

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
        if (!looked || looked->path != folder) looked = lookAt(std::string(folder), separator);
        if (!looked->folder) continue;
        const auto pathOf = [&] { return fullPaths ? drawings[i] : looked->folder->pathOf(named); };
        if (!looked->locks.empty())
            if (const auto lock = looked->locks.find(foldedStem(named)); lock != looked->locks.end())
                hazards.push_back({DrawingHazard::Kind::Locked, i, pathOf(), looked->folder->pathOf(lock->second)});
        if (looked->folder->isReadOnly(named)) hazards.push_back({DrawingHazard::Kind::ReadOnly, i, pathOf(), {}});
    }
    return hazards;
}

}  // namespace inkrun::drawings
