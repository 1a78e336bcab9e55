#pragma once

#include <string>
#include <string_view>

namespace inkrun::platform {

// Reads a whole ordinary file. Throws FileError("read", path, reason); a FIFO, device or
// directory is refused without blocking.
std::string readWholeFile(const std::string& path);

// Writes a file so that readers see either the old content or the new, never a part:
// the bytes go to a temporary file in the same directory, which is flushed, synced and renamed
// over the target. A writer destroyed without commit() removes its temporary file and leaves
// the target untouched. A replaced file keeps its permission bits; a new one gets 0666 less
// the umask. Errors throw FileError("write", target path, reason).
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

    const std::string& targetPath() const { return target_; }

private:
    void flushBuffer();
    void discard() noexcept;

    std::string target_;
    std::string temporary_;
    std::string destination_;  // the file renamed over: the target, or where its symlink points
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};

void writeFileAtomically(const std::string& path, std::string_view bytes);

// Removes an ordinary file. Throws FileError("delete", path, reason).
void removeFile(const std::string& path);

}  // namespace inkrun::platform
