#include "platform/file_io_backend.h"

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/folder.h"
#include "platform/temporary_file_win32.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#include "platform/write_target_win32.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

// The Windows half of the file layer, through the wide API: handles, and a replacement through a
// temporary file that is flushed and moved over the old one.

namespace inkrun::platform {

namespace detail {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kMostPerCall = 1u << 30;
// Virus scanners, indexers and sync clients open a new or replaced file for a moment.
constexpr auto kHeldFileWait = std::chrono::seconds(2);

[[noreturn]] void fail(const char* action, const std::string& path, DWORD error) {
    throw FileError(action, path, windowsReason(error));
}

bool mayBeHeldElsewhere(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Moves the temporary over the old file, again and again with a growing pause while another
// program may be holding either of them, for about kHeldFileWait. Returns 0 or the last error.
DWORD moveIntoPlace(const std::wstring& from, const std::wstring& to) {
    const auto deadline = std::chrono::steady_clock::now() + kHeldFileWait;
    auto pause = std::chrono::milliseconds(10);
    for (;;) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
        const DWORD error = GetLastError();
        if (!mayBeHeldElsewhere(error) || std::chrono::steady_clock::now() + pause > deadline) return error;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(250));
    }
}

// Why the move failed, in the user's terms where Windows gives only a code.
std::string moveFailure(const std::wstring& destination, DWORD error) {
    if (mayBeHeldElsewhere(error)) {
        // Replacing needs the old file's delete access; a program holding it open without delete
        // sharing takes that away.
        const NativeFile probe(CreateFileW(destination.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION)
            return "another program held the file open for more than two seconds (" + windowsReason(error) + ")";
    }
    return windowsReason(error);
}

// The folder that holds `path`, held under the link rule (folder.h) while a file in it is read or
// written; nullopt when there is none, which the open of the file then reports.
std::optional<Folder> holdFolderOf(const std::string& path, const std::string& action) {
    std::string folder = path.substr(0, win32::nameStart(path));
    // "C:\jobs" is "C:\jobs"; a root keeps its separator; no folder is the current one.
    const bool root = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    if (!root && !folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return Folder::openIfThere(folder.empty() ? "." : folder, action);
}

// The new content in a temporary beside the file it replaces, moved over it at commit.
class ReplaceThroughTemporary final : public Replacement {
public:
    ReplaceThroughTemporary(const std::string& target, std::string destination)
        : target_(target), destination_(std::move(destination)), folder_(holdFolderOf(destination_, "write")) {
        if (const std::string refusal = win32::refusalToReplace(widen(destination_)); !refusal.empty())
            throw FileError("write", target_, refusal);
        const std::size_t start = win32::nameStart(destination_);
        const std::string name = destination_.substr(start);
        if (name.empty() || name == "." || name == "..") throw FileError("write", target_, systemReason(EISDIR));
        directory_ = destination_.substr(0, start);
        win32::removeStaleTemporaries(directory_);
        if (const DWORD error = win32::createTemporary(directory_, file_, temporaryName_))
            fail("write", target_, error);
    }

    ~ReplaceThroughTemporary() override {
        file_.close();
        if (!temporaryName_.empty()) DeleteFileW(widen(directory_ + temporaryName_).c_str());
    }

    void write(std::span<const std::string_view> pieces) override { writeAllPieces(file_.get(), pieces, target_); }

    void commit() override {
        const std::wstring destination = widen(destination_);
        if (const std::string refusal = win32::refusalToReplace(destination); !refusal.empty())
            throw FileError("write", target_, refusal);
        DWORD error = FlushFileBuffers(file_.get()) ? 0 : GetLastError();
        // Closed first: the temporary shares nothing, not even with the move.
        if (const DWORD closing = file_.close(); !error) error = closing;
        if (error) fail("write", target_, error);
        if (const DWORD moving = moveIntoPlace(widen(directory_ + temporaryName_), destination))
            throw FileError("write", target_, moveFailure(destination, moving));
        temporaryName_.clear();
    }

private:
    std::string target_;
    std::string destination_;       // the file replaced: the target, or where its symbolic link leads
    std::optional<Folder> folder_;  // its folder, held while the write lasts
    std::string directory_;         // destination_'s directory, as its start up to the name
    NativeFile file_;
    std::string temporaryName_;  // empty once it is moved into place
};

void writeAll(NativeHandle file, std::string_view bytes, const std::string& target) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kMostPerCall)),
                       &written, nullptr))
            fail("write", target, GetLastError());
        if (written == 0) fail("write", target, ERROR_WRITE_FAULT);
        bytes.remove_prefix(written);
    }
}

}  // namespace

unsigned long closeHandle(NativeHandle handle) noexcept { return CloseHandle(handle) ? 0 : GetLastError(); }

std::string reasonOf(unsigned long errorCode) { return windowsReason(errorCode); }

FileToRead openToRead(const std::string& path) {
    if (path.empty()) fail("read", path, ERROR_FILE_NOT_FOUND);
    const std::optional<Folder> folder = holdFolderOf(path, "read");
    const std::wstring wide = widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("read", path, "not an ordinary file");
    FileToRead opened{NativeFile(CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr))};
    if (!opened.file.valid()) fail("read", path, GetLastError());
    // Devices (CON, NUL, COM1) and pipes open like files; none is read.
    if (GetFileType(opened.file.get()) != FILE_TYPE_DISK) throw FileError("read", path, "not an ordinary file");
    LARGE_INTEGER size{};
    if (GetFileSizeEx(opened.file.get(), &size)) opened.size = static_cast<std::uint64_t>(size.QuadPart);
    return opened;
}

FileToRead openToRead(const Folder& folder, const std::string& name, const std::string& path, HiddenFiles hidden) {
    // The folder stays held by the caller: the path leads to its file alone meanwhile.
    const auto notOrdinary = [&] {
        throw NotAnOrdinaryFile("read", path, whyNotOrdinary(path).value_or("it is not an ordinary file"));
    };
    FileToRead opened;
    try {
        opened = openToRead(folder.pathOf(name));
    } catch (const FileError&) {
        if (const auto why = whyNotOrdinary(path); why && why->starts_with("it is")) notOrdinary();
        throw;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened.file.get(), &info)) fail("read", path, GetLastError());
    constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) notOrdinary();
    if (hidden == HiddenFiles::Refused && (info.dwFileAttributes & kHiddenOrSystem))
        throw NotAnOrdinaryFile("read", path,
                                info.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN
                                    ? "it is a hidden file, not an ordinary file"
                                    : "it is a system file, not an ordinary file");
    return opened;
}

std::size_t readSome(NativeHandle file, char* into, std::size_t size, const std::string& path) {
    DWORD got = 0;
    if (!ReadFile(file, into, static_cast<DWORD>(std::min<std::size_t>(size, kMostPerCall)), &got, nullptr))
        fail("read", path, GetLastError());
    return got;
}

std::uint64_t memoryLimit() noexcept {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory)) return UINT64_MAX;
    // The commit limit is memory and page file together.
    return std::min<std::uint64_t>(memory.ullTotalPageFile, memory.ullTotalVirtual);
}

void writeAllPieces(NativeHandle file, std::span<const std::string_view> pieces, const std::string& target) {
    // Windows gathers only into unbuffered files: small pieces are copied together into calls of
    // about a megabyte, large ones written as they stand.
    constexpr std::size_t kCall = 1 << 20;
    std::string gathered;
    for (const std::string_view piece : pieces) {
        if (gathered.size() + piece.size() > kCall && !gathered.empty()) {
            writeAll(file, gathered, target);
            gathered.clear();
        }
        if (piece.size() >= kCall) writeAll(file, piece, target);
        else gathered.append(piece);
    }
    writeAll(file, gathered, target);
}

std::unique_ptr<Replacement> openReplacement(const std::string& target, StreamTarget streams) {
    std::string destination = win32::writeDestination(target);
    if (streams == StreamTarget::WriteInto) {
        // "-o NUL" or a named pipe: written straight into, there is nothing to replace.
        NativeFile stream(
            CreateFileW(widen(destination).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        if (stream.valid() && GetFileType(stream.get()) != FILE_TYPE_DISK) return streamInto(std::move(stream), target);
    }
    return std::make_unique<ReplaceThroughTemporary>(target, std::move(destination));
}

std::unique_ptr<Replacement> openReplacement(const Folder& folder, const std::string& name, const std::string&,
                                             StreamTarget streams) {
    // The folder stays held by the caller: its path leads to it alone meanwhile.
    return openReplacement(folder.pathOf(name), streams);
}

}  // namespace detail

std::optional<int> openDescriptorNamed(const std::string&) { return std::nullopt; }

const unsigned long detail::kNameInUse = ERROR_ALREADY_EXISTS;

unsigned long detail::renameEntry(const Folder& folder, const std::string& from, const std::string& to) noexcept {
    try {
        return MoveFileExW(widen(folder.pathOf(from)).c_str(), widen(folder.pathOf(to)).c_str(), 0) ? 0
                                                                                                    : GetLastError();
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

void removeFile(const std::string& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(widen(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw FileError("delete", path, "the file is read-only");
    if (path.empty() || !DeleteFileW(widen(path).c_str()))
        detail::fail("delete", path, path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError());
}

void allowOpenFiles(std::size_t) noexcept {}

}  // namespace inkrun::platform
