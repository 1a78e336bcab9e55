#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include "platform/file_error.h"
#ifdef _WIN32
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#else
#include <cerrno>
#endif

namespace inkrun::test {

namespace fs = std::filesystem;

fs::path pathOf(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string textOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void stampFile(const std::string& path, std::chrono::seconds offset) {
    fs::last_write_time(pathOf(path), fs::file_time_type::clock::now() + offset);
}

TempDir::TempDir() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 generator(seed());
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kAlphabet) - 2);
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "inkrun-test-";
        for (int i = 0; i < 8; ++i) name.push_back(kAlphabet[pick(generator)]);
        // create_directory is false when the name is taken: then another name.
        if (fs::create_directory(base / name)) {
            std::string directory = textOf(base);
            while (directory.size() > 1 && (directory.back() == '/' || directory.back() == '\\')) directory.pop_back();
            path_ = platform::joinPath(directory, name);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory in " + textOf(base));
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Restore write permission that a test may have taken away, so removal succeeds.
    const fs::path root = pathOf(path_);
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (!it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
    std::string path = file(name);
    writeFile(path, bytes);
    return path;
}

std::string TempDir::read(std::string_view name) const { return readFile(file(name)); }

std::string TempDir::mkdir(std::string_view name) const {
    std::string path = file(name);
    fs::create_directories(pathOf(path));
    return path;
}

#ifdef _WIN32
std::string missingFileReason() { return platform::windowsReason(ERROR_FILE_NOT_FOUND); }
std::string missingDirectoryReason() { return platform::windowsReason(ERROR_PATH_NOT_FOUND); }
#else
std::string missingFileReason() { return platform::systemReason(ENOENT); }
std::string missingDirectoryReason() { return platform::systemReason(ENOENT); }
#endif

std::string readFile(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(pathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

#ifdef _WIN32
namespace {

// A Windows handle closed when it goes.
struct Handle {
    HANDLE handle;
    ~Handle() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

// The name through which Windows reaches `path` exactly as spelled, or nothing. Wine takes
// "\\?\unix" before a Linux path as that file; NTFS tells case apart in a folder so marked.
std::wstring exactName(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    const std::wstring folder = platform::widen(path.substr(0, slash));
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        using UnixName = char*(CDECL*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixName>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
        char* name = unixName ? unixName(folder.c_str()) : nullptr;
        if (!name) return {};
        std::wstring exact = L"\\\\?\\unix" + platform::widen(name) + L"/" + platform::widen(path.substr(slash + 1));
        HeapFree(GetProcessHeap(), 0, name);
        return exact;
    }
    // FILE_CASE_SENSITIVE_INFORMATION, as "fsutil file setCaseSensitiveInfo" sets it.
    using SetInformation = LONG(NTAPI*)(HANDLE, void*, void*, ULONG, int);
    const auto set = reinterpret_cast<SetInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetInformationFile")));
    Handle directory{CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    ULONG_PTR status[2]{};
    ULONG caseSensitive = 1;
    if (directory.handle == INVALID_HANDLE_VALUE || !set ||
        set(directory.handle, status, &caseSensitive, sizeof caseSensitive, 71) != 0)
        return {};
    return platform::widen(path);
}

}  // namespace

bool writeBesideOtherCases(const std::string& path, std::string_view bytes) {
    const std::wstring exact = exactName(path);
    if (exact.empty()) return false;
    Handle file{CreateFileW(exact.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
    DWORD written = 0;
    if (file.handle == INVALID_HANDLE_VALUE ||
        !WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw std::runtime_error("cannot write " + path);
    return true;
}
#else
bool writeBesideOtherCases(const std::string& path, std::string_view bytes) {
    writeFile(path, bytes);
    return true;
}
#endif

#ifdef _WIN32
namespace {
constexpr const wchar_t* kDataVariable = L"LOCALAPPDATA";
}

DataFolderGuard::DataFolderGuard(const std::string& base) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(kDataVariable, old, 32768);
    if (length > 0 && length < 32768) old_ = platform::narrow(old);
    SetEnvironmentVariableW(kDataVariable, platform::widen(base).c_str());
}

DataFolderGuard::~DataFolderGuard() {
    SetEnvironmentVariableW(kDataVariable, old_ ? platform::widen(*old_).c_str() : nullptr);
}
#else
DataFolderGuard::DataFolderGuard(const std::string& base) {
    if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
    ::setenv("XDG_DATA_HOME", base.c_str(), 1);
}

DataFolderGuard::~DataFolderGuard() {
    if (old_) ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}
#endif

#ifndef _WIN32
std::string characterDevice(const TempDir& dir, const std::string& name, unsigned minor) {
    if (::geteuid() != 0) return "/dev/" + name;
    const std::string path = dir.file(name);
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0) throw std::runtime_error("mknod failed");
    return path;
}
#endif

}  // namespace inkrun::test
