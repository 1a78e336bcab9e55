#include "platform/file_io.h"

#include "platform/file_error.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

#include <cerrno>
#include <random>

// Whole-file reads and atomic writes on Windows, through the wide API.

namespace inkrun::platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

// The writer keeps its handle in the int the header gives it: Windows handles are 32-bit
// values even in 64-bit processes, and INVALID_HANDLE_VALUE is -1 either way.
HANDLE handleOf(int fd) { return LongToHandle(fd); }
int fdOf(HANDLE handle) { return HandleToLong(handle); }

[[noreturn]] void fail(const char* action, const std::string& path, DWORD error) {
    throw FileError(action, path, windowsReason(error));
}

// Returns 0 or a GetLastError() value.
DWORD writeAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        data += written;
        size -= written;
    }
    return 0;
}

std::string randomName() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kAlphabet) - 2);
    std::string name = ".inkrun-";
    for (int i = 0; i < 8; ++i) name.push_back(kAlphabet[pick(generator)]);
    return name + ".tmp";
}

// Where the name part of a path starts.
std::size_t nameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    if (separator != std::string::npos) return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

// The final path of what a symbolic link points to, in the form GetFinalPathNameByHandleW
// gives ("\\?\C:\..."); the target itself when it is no link or cannot be resolved.
std::string linkDestination(const std::string& target) {
    const std::wstring wide = widen(target);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return target;
    Handle file(CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return target;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (length == 0 || length >= buffer.size()) return target;
    buffer.resize(length);
    return narrow(buffer);
}

// Why the existing file at `destination` must not be replaced, or empty when it may be.
std::string refusalToReplace(const std::wstring& destination) {
    const DWORD attributes = GetFileAttributesW(destination.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return systemReason(EISDIR);
    // Wine replaces a read-only file where Windows refuses: refuse the same everywhere.
    if (attributes & FILE_ATTRIBUTE_READONLY) return "the file is read-only";
    Handle file(CreateFileW(destination.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.valid() && GetFileType(file.get()) != FILE_TYPE_DISK) return "not an ordinary file";
    return {};
}

// The reason MoveFileExW failed, in the user's terms where Windows gives only a code.
std::string replaceFailure(const std::wstring& destination, DWORD error) {
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        // Replacing needs the old file's delete access; another program holding it open without
        // delete sharing takes that away.
        Handle probe(CreateFileW(destination.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION)
            return "the file is open in another program (" + windowsReason(error) + ")";
    }
    return windowsReason(error);
}

}  // namespace

std::string readWholeFile(const std::string& path) {
    const std::wstring wide = widen(path);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("read", path, "not an ordinary file");
    Handle file(path.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) fail("read", path, path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError());
    // Devices (CON, NUL, COM1) and pipes open like files; none is read.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw FileError("read", path, "not an ordinary file");

    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::string content;
    // The size is a hint only: the file may change while it is read.
    std::size_t capacity = static_cast<std::size_t>(size.QuadPart) + 1;
    for (;;) {
        if (content.size() == capacity) capacity += capacity / 2 + 4096;
        const std::size_t used = content.size();
        content.resize(capacity);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - used, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.get(), content.data() + used, chunk, &got, nullptr)) {
            const DWORD error = GetLastError();
            content.resize(used);
            fail("read", path, error);
        }
        content.resize(used + got);
        if (got == 0) break;
    }
    return content;
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath, StreamTarget streams) : target_(std::move(targetPath)) {
    // Write through a symbolic link rather than replace the link with a file.
    const std::string destination = linkDestination(target_);
    const std::wstring wideDestination = widen(destination);
    if (streams == StreamTarget::WriteInto) {
        // "-o NUL" or a named pipe: written straight into, there is nothing to replace.
        HANDLE device = CreateFileW(wideDestination.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        if (device != INVALID_HANDLE_VALUE) {
            if (GetFileType(device) != FILE_TYPE_DISK) {
                fd_ = fdOf(device);
                stream_ = true;
                destination_ = destination;
                return;
            }
            CloseHandle(device);
        }
    }
    if (const std::string refusal = refusalToReplace(wideDestination); !refusal.empty())
        throw FileError("write", target_, refusal);
    const std::size_t start = nameStart(destination);
    const std::string name = destination.substr(start);
    if (name.empty() || name == "." || name == "..") throw FileError("write", target_, systemReason(EISDIR));

    // A short name, so that a target of the longest name a directory allows still has room.
    const std::string directory = destination.substr(0, start);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporaryName = randomName();
        HANDLE file = CreateFileW(widen(directory + temporaryName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            fd_ = fdOf(file);
            temporary_ = temporaryName;
            break;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) fail("write", target_, error);
    }
    if (fd_ == -1) fail("write", target_, ERROR_FILE_EXISTS);
    destination_ = destination;
    directory_ = directory;
    name_ = name;
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) discard();
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ == -1)
        throw FileError("write", target_,
                        committed_ ? "the file is already written" : "an earlier error stopped the write");
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() >= kBufferSize) {
        if (const DWORD error = writeAll(handleOf(fd_), bytes.data(), bytes.size())) {
            discard();
            fail("write", target_, error);
        }
    } else {
        buffer_.append(bytes);
    }
}

void AtomicFileWriter::flushBuffer() {
    const DWORD error = writeAll(handleOf(fd_), buffer_.data(), buffer_.size());
    buffer_.clear();
    if (error) {
        discard();
        fail("write", target_, error);
    }
}

void AtomicFileWriter::commit() {
    if (committed_) return;
    if (fd_ == -1) throw FileError("write", target_, "an earlier error stopped the write");
    flushBuffer();
    if (stream_) {
        commitStream();
        return;
    }

    const std::wstring destination = widen(destination_);
    if (const std::string refusal = refusalToReplace(destination); !refusal.empty()) {
        discard();
        throw FileError("write", target_, refusal);
    }
    DWORD error = FlushFileBuffers(handleOf(fd_)) ? 0 : GetLastError();
    const HANDLE file = handleOf(fd_);
    fd_ = -1;
    if (!CloseHandle(file) && !error) error = GetLastError();
    if (!error && !MoveFileExW(widen(directory_ + temporary_).c_str(), destination.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        const std::string reason = replaceFailure(destination, error);
        discard();
        throw FileError("write", target_, reason);
    }
    if (error) {
        discard();
        fail("write", target_, error);
    }
    temporary_.clear();
    committed_ = true;
}

void AtomicFileWriter::commitStream() {
    const HANDLE stream = handleOf(fd_);
    fd_ = -1;
    committed_ = true;
    if (!CloseHandle(stream)) fail("write", target_, GetLastError());
}

void AtomicFileWriter::discard() noexcept {
    if (fd_ != -1) {
        CloseHandle(handleOf(fd_));
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        try {
            DeleteFileW(widen(directory_ + temporary_).c_str());
        } catch (...) {
        }
        temporary_.clear();
    }
    buffer_.clear();
}

void removeFile(const std::string& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(widen(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw FileError("delete", path, "the file is read-only");
    if (path.empty() || !DeleteFileW(widen(path).c_str()))
        fail("delete", path, path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError());
}

}  // namespace inkrun::platform
