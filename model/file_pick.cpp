#include "model/file_pick.h"

#include "platform/file_lookup.h"

namespace inkrun {

namespace {

std::size_t lastSeparator(const std::string& path, char separator) {
    return separator == '\\' ? path.find_last_of("\\/") : path.rfind(separator);
}

std::string folderOf(const std::string& path, char separator) {
    const std::size_t last = lastSeparator(path, separator);
    if (last == std::string::npos) return {};
    std::string folder = path.substr(0, last);
    if (folder.empty() || platform::isBareDrive(folder)) folder.push_back(path[last]);
    return folder;
}

}  // namespace

std::vector<std::string> pickAnswer(const std::vector<std::string>& paths, char separator) {
    if (paths.size() <= 1) return paths;
    std::vector<std::string> answer;
    answer.reserve(paths.size() + 1);
    answer.push_back(folderOf(paths.front(), separator));
    for (const std::string& path : paths) {
        const std::size_t last = lastSeparator(path, separator);
        answer.push_back(folderOf(path, separator) == answer.front() ? path.substr(last + 1) : path);
    }
    return answer;
}

}  // namespace inkrun
