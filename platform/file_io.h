#pragma once

#include <string>
#include <string_view>

namespace inkrun::platform {

// Reads a whole ordinary file. Throws FileError("read", path, reason); a FIFO, device or
// directory is refused without blocking.
std::string readWholeFile(const std::string& path);

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
// What is refused, before anything is written: a target that is read-only, a directory, socket or
// block device (a FIFO or character device unless StreamTarget::WriteInto, which writes straight
// into it, with no rename and no sync), and, when running as root, a symbolic link owned by
// another user. A replaced file keeps its owner and group where the process may set them and its
// permission bits without setuid, setgid and sticky; a new one gets 0666 less the umask.
//
// commit() throws WrittenWithWarning when the file is in place but the directory could not be
// synced.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath, StreamTarget streams = StreamTarget::Refuse);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

    const std::string& targetPath() const { return target_; }

private:
    void flushBuffer();
    void commitStream();
    void discard() noexcept;

    std::string target_;
    std::string destination_;  // the file replaced: the target, or where its symbolic links lead
    std::string directory_;    // destination_'s directory and name within it
    std::string name_;
    int directoryFd_ = -1;
    int fd_ = -1;
    std::string temporary_;  // the temporary file (POSIX: its name in directory_, once it has one)
    bool stream_ = false;        // writing straight into a FIFO or character device
    std::string buffer_;
    bool committed_ = false;
};

void writeFileAtomically(const std::string& path, std::string_view bytes);

// Removes an ordinary file; a read-only one is refused, as Windows refuses it.
// Throws FileError("delete", path, reason).
void removeFile(const std::string& path);

}  // namespace inkrun::platform
