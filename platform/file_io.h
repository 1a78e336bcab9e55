#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace inkrun::platform {

class Folder;

namespace detail {
class Replacement;
}

// The most a read takes: a file larger when it is opened is refused unread, and one that grows
// past it while it is read is refused there, FileError("read", path, reason).
struct ReadLimit {
    std::uint64_t bytes = 0;
    std::string reason;  // why such a file is refused: "it is longer than any directory path"
};

// Reads a whole ordinary file, reached by a walk under the link rule (folder.h). Throws
// FileError("read", path, reason); a FIFO, device or
// directory is refused without blocking, and a file larger than the memory the process can
// have is refused before anything is read, naming its size. So is running out of memory on
// the way.
std::string readWholeFile(const std::string& path, const std::optional<ReadLimit>& limit = std::nullopt);

// readWholeFile, then the text from the ANSI code page as UTF-8; running out of memory while
// decoding is reported as for the read.
std::string readTextFile(const std::string& path);

// Whether a hidden file (a leading dot; on Windows the hidden or system attribute) is read.
enum class HiddenFiles { Read, Refused };

// readWholeFile for the file `name` of a folder held open. The file is opened from the folder,
// and what is judged (its kind, its size, whether it is hidden) is the file opened, which is the
// file read. What is no ordinary file throws NotAnOrdinaryFile, saying what it is.
std::string readWholeFile(const Folder& folder, const std::string& name, HiddenFiles hidden = HiddenFiles::Read,
                          const std::optional<ReadLimit>& limit = std::nullopt);

// The descriptor of this process that a path such as /dev/stdout, /dev/fd/3 or
// /proc/self/fd/1 names: such a name means the file already open there, not a file to replace.
// nullopt for any other path, and always on Windows.
std::optional<int> openDescriptorNamed(const std::string& path);

// What a writer does when its target is a FIFO or a character device.
enum class StreamTarget {
    Refuse,     // the window: only ordinary files are written (a FIFO would block it)
    WriteInto,  // the command line: "-o /dev/null" or a named pipe are a shell user's right
};

// Writes a file so that readers see either the old content or the new, never a part:
// the bytes go to a temporary file in the same directory, which is flushed, synced and renamed
// over the target. A writer destroyed without commit() leaves the target untouched and nothing
// beside it. Errors throw FileError("write", target path, reason).
//
// The path is walked once, under the link rule (folder.h), to the folder the file is in (where its
// links lead; the links stay links), and the temporary, the sync and the rename all happen in
// that folder as it was opened.
//
// What is refused, before anything is written: a target that is read-only, a directory, socket or
// block device (a FIFO or character device unless StreamTarget::WriteInto, which writes straight
// into it, with no rename and no sync), a path that runs through a link the link rule forbids,
// and a name of an open descriptor (openDescriptorNamed, or a link that leads to one) unless
// StreamTarget::WriteInto, which writes into that descriptor as it stands: appending where it
// appends. A replaced file keeps its owner and group where the process may set them and its
// permission bits without setuid, setgid and sticky; a new one gets 0666 less the umask.
//
// This half is the same on every system: the buffering and the writer's states. The system's
// half (file_io_backend.h) does the rest.
//
// commit() throws WrittenWithWarning when the file is in place but the directory could not be
// synced.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath, StreamTarget streams = StreamTarget::Refuse);
    // The file `name` in a folder held open.
    AtomicFileWriter(const Folder& folder, const std::string& name, StreamTarget streams = StreamTarget::Refuse);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // Writes the pieces one after another, as write() would, but hands them to the system as they
    // stand (a gather write where it has one): bytes repeated in a file need only be held once.
    void writePieces(std::span<const std::string_view> pieces);
    void commit();

    const std::string& targetPath() const { return target_; }
    // The descriptor of this process the target names (/dev/stdout, or a link that leads to one),
    // which the bytes go into as it stands.
    std::optional<int> descriptor() const { return descriptor_; }

private:
    void requireOpen() const;
    void pass(std::span<const std::string_view> pieces);
    void flushBuffer();
    void abandon() noexcept;

    std::string target_;
    std::unique_ptr<detail::Replacement> file_;  // none once committed or abandoned after an error
    std::string buffer_;
    std::optional<int> descriptor_;
    bool committed_ = false;
};

void writeFileAtomically(const std::string& path, std::string_view bytes);

// Lets the process hold at least `count` files open at once (writers held open together take two
// each), as far as the system allows: the soft limit is raised toward the hard one. Windows sets
// no such limit.
void allowOpenFiles(std::size_t count) noexcept;

// Removes an ordinary file; a read-only one is refused, as Windows refuses it.
// Throws FileError("delete", path, reason).
void removeFile(const std::string& path);

// Gives the file `stored` in `directory` the name `wanted`, which differs from it only in letter
// case, so that the directory lists exactly that spelling. Where the file system takes both for
// one name, a rename may keep the old spelling (Wine's does, and so does Linux's on a folder that
// ignores case): the file then passes through a temporary name. Throws FileError("rename",
// directory + separator + stored, reason); the file keeps its old name then. Folder has the same
// for a folder held open.
void renameLetterCase(const std::string& directory, const std::string& stored, const std::string& wanted,
                      char separator);

}  // namespace inkrun::platform
