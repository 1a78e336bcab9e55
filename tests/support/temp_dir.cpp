#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <cstdlib>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace inkrun::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "inkrun-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Restore write permission that a test may have taken away, so removal succeeds.
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
    std::string path = file(name);
    writeFile(path, bytes);
    return path;
}

std::string TempDir::read(std::string_view name) const { return readFile(file(name)); }

std::string TempDir::mkdir(std::string_view name) const {
    std::string path = file(name);
    fs::create_directories(path);
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

#ifndef _WIN32
std::string characterDevice(const TempDir& dir, const std::string& name, unsigned minor) {
    if (::geteuid() != 0) return "/dev/" + name;
    const std::string path = dir.file(name);
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0) throw std::runtime_error("mknod failed");
    return path;
}
#endif

}  // namespace inkrun::test
