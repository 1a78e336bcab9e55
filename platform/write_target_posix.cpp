#include "platform/write_target_posix.h"

#include "platform/file_error.h"
#include "platform/posix_files.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// Which file a write would replace, and whether it may.

namespace inkrun::platform::posix {

namespace {

[[noreturn]] void refuse(const std::string& target, const std::string& reason) {
    throw FileError("write", target, reason);
}

// Whether this process must treat the file as read-only: it has no write bit at all (root too,
// as Windows refuses a read-only file to everyone), or the system would refuse us the write.
bool isReadOnlyForUs(int folder, const std::string& name, const struct stat& info) {
    if ((info.st_mode & 0222) == 0) return true;
    if (::geteuid() == 0) return false;
    return ::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

}  // namespace

std::optional<std::string> refusalToReplace(int folder, const std::string& name, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode)) return "it is " + kindOf(info.st_mode) + ", not an ordinary file";
    if (isReadOnlyForUs(folder, name, info)) return "the file is read-only";
    return std::nullopt;
}

std::string streamOpenFailure(mode_t kind, int errorNumber) {
    // Both say ENXIO: a FIFO that no one has open for reading, a device whose driver is not there.
    if (errorNumber == ENXIO)
        return S_ISFIFO(kind) ? "no program is reading from the FIFO"
                              : "the device has no driver, or is not there (" + systemReason(ENXIO) + ")";
    return systemReason(errorNumber);
}

WriteInto examineWriteTarget(const WalkedEntry& entry, const std::string& target, StreamTarget streams) {
    if (entry.descriptor) {
        if (streams == StreamTarget::Refuse)
            refuse(target, "it names a file the program already has open, not a file to replace");
        return WriteInto::Descriptor;
    }
    if (entry.name.empty()) refuse(target, systemReason(EISDIR));
    if (!entry.info) return WriteInto::Replacement;  // a new file
    const mode_t kind = entry.info->st_mode;
    if (streams == StreamTarget::WriteInto && (S_ISFIFO(kind) || S_ISCHR(kind))) return WriteInto::Stream;
    if (entry.systemLink && S_ISREG(kind))
        refuse(target, "it leads through /proc to a file that a program has open, not to a file to replace");
    if (const auto why = refusalToReplace(entry.folder.get(), entry.name, *entry.info)) refuse(target, *why);
    return WriteInto::Replacement;
}

}  // namespace inkrun::platform::posix
