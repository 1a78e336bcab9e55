#include "platform/ordinary_file_check.h"

#include <vector>

#include "platform/file_error.h"
#include "platform/folder.h"

namespace inkrun::platform {

std::optional<FileFound> readOrdinaryFileNamed(const std::string& directory, const std::string& name,
                                               OtherEntries others, char separator,
                                               const std::optional<ReadLimit>& limit) {
    const bool refused = others == OtherEntries::Refused;
    std::optional<Folder> folder;
    std::vector<std::string> entries;
    try {
        folder = Folder::openIfThere(directory, "read", separator);
        if (folder) entries = folder->entriesNamedLike(name);
    } catch (const FileError& error) {
        if (refused) throw FileError("read", joinPath(directory, name, separator), error.reason());
        return std::nullopt;
    }
    std::optional<NotAnOrdinaryFile> firstOther;
    for (const std::string& entry : entries) {
        try {
            std::string bytes = readWholeFile(*folder, entry, HiddenFiles::Refused, limit);
            return FileFound{folder->pathOf(entry), std::move(bytes)};
        } catch (const NotAnOrdinaryFile& other) {
            if (!firstOther) firstOther = other;
        }
    }
    if (refused && firstOther) throw *firstOther;
    return std::nullopt;
}

}  // namespace inkrun::platform
