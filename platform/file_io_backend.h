#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_io.h"

namespace inkrun::platform {
class Folder;
}

// The system half of the file layer, under the reads and the writer of file_io.cpp: one
// implementation a system (file_io_posix.cpp, file_io_win32.cpp). Errors are thrown as FileError
// with the system's reason.

namespace inkrun::platform::detail {

#ifdef _WIN32
using NativeHandle = void*;  // a HANDLE, without <windows.h> in every file that includes this
inline NativeHandle noHandle() noexcept { return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1)); }
#else
using NativeHandle = int;  // a file descriptor
constexpr NativeHandle noHandle() noexcept { return -1; }
#endif

// Closes a handle; returns 0 or the system's error code.
unsigned long closeHandle(NativeHandle handle) noexcept;

// The system's text for one of its error codes (errno, GetLastError()).
std::string reasonOf(unsigned long errorCode);

// An open file of ours, closed when dropped.
class NativeFile {
public:
    NativeFile() noexcept = default;
    explicit NativeFile(NativeHandle handle) noexcept : handle_(handle) {}
    ~NativeFile() { close(); }
    NativeFile(NativeFile&& other) noexcept : handle_(other.release()) {}
    NativeFile& operator=(NativeFile&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.release();
        }
        return *this;
    }

    NativeHandle get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != noHandle(); }
    NativeHandle release() noexcept {
        const NativeHandle handle = handle_;
        handle_ = noHandle();
        return handle;
    }
    // Returns 0 or the system's error code; closing nothing succeeds.
    unsigned long close() noexcept { return valid() ? closeHandle(release()) : 0; }

private:
    NativeHandle handle_ = noHandle();
};

// --- reads ---------------------------------------------------------------------------------

struct FileToRead {
    NativeFile file;
    std::uint64_t size = 0;  // when it was opened: the file may change while it is read
};

// Opens an ordinary file for reading; anything else is refused, a FIFO without blocking.
// Throws FileError("read", path, reason).
FileToRead openToRead(const std::string& path);
// The same for the file `name` of a folder held, whose path is `path`. What is no ordinary file
// (hidden ones too, unless they are read) throws NotAnOrdinaryFile with what it is.
FileToRead openToRead(const Folder& folder, const std::string& name, const std::string& path, HiddenFiles hidden);

// Reads at most `size` bytes into `into`; 0 at the end of the file.
// Throws FileError("read", path, reason).
std::size_t readSome(NativeHandle file, char* into, std::size_t size, const std::string& path);

// The most bytes this process could hold: memory and swap, less any limit set on the process.
std::uint64_t memoryLimit() noexcept;

// --- names ---------------------------------------------------------------------------------

// The system's error code for a name in use (ERROR_ALREADY_EXISTS, EEXIST).
extern const unsigned long kNameInUse;

// Renames an entry of the folder, never over another file (that gives kNameInUse). Returns 0 or
// the system's error code.
unsigned long renameEntry(const Folder& folder, const std::string& from, const std::string& to) noexcept;

// --- writes --------------------------------------------------------------------------------

// Writes every byte of the pieces, one after another, however many calls that takes, each call
// large. Throws FileError("write", target, reason).
void writeAllPieces(NativeHandle file, std::span<const std::string_view> pieces, const std::string& target);

// One system's way of putting new content where a file is: into a stream, or into a temporary
// beside the target that then replaces it. Dropped before commit(), it leaves the target as it
// was and nothing beside it.
class Replacement {
public:
    virtual ~Replacement() = default;
    // Writes the pieces one after another. Throws FileError("write", target, reason).
    virtual void write(std::span<const std::string_view> pieces) = 0;
    // Puts the content in place. FileError: nothing changed and nothing is left behind;
    // WrittenWithWarning: in place, but a step after it failed.
    virtual void commit() = 0;
    // The descriptor of this process written into, when the target names one.
    virtual std::optional<int> descriptor() const { return std::nullopt; }
};

// What the writer needs for `target`, after the checks that refuse it before anything is
// written. Throws FileError("write", target, reason).
std::unique_ptr<Replacement> openReplacement(const std::string& target, StreamTarget streams);
// The same for the file `name` of a folder held, whose path is `target`.
std::unique_ptr<Replacement> openReplacement(const Folder& folder, const std::string& name, const std::string& target,
                                             StreamTarget streams);

// Writing straight into an open stream (a FIFO, a device, a descriptor already open, whose
// number is `descriptor`): no temporary, no rename; commit() closes it.
std::unique_ptr<Replacement> streamInto(NativeFile stream, const std::string& target,
                                        std::optional<int> descriptor = std::nullopt);

}  // namespace inkrun::platform::detail
