#include "support/expected_script.h"

namespace inkrun::test {

std::string expectedScript(const std::vector<std::string>& drawingPaths, std::string_view setup) {
    std::string script;
    for (const std::string& path : drawingPaths) {
        script += "_open\r\n\"";
        script += path;
        script += "\"\r\n";
        script += setup;
        script += "\r\n";
    }
    return script;
}

std::string expectedScript(std::string_view directory, const std::vector<std::string>& names, std::string_view setup,
                           std::string_view separator) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) paths.push_back(std::string(directory) + std::string(separator) + name);
    return expectedScript(paths, setup);
}

std::string expectedScript(std::string_view blocks, const ScriptFrame& frame) {
    std::string script;
    for (const std::string& line : frame.preamble) script += line + "\r\n";
    script += blocks;
    for (const std::string& line : frame.epilogue) script += line + "\r\n";
    if (!frame.next.empty()) script += "_script\r\n\"" + frame.next + "\"\r\n";
    return script;
}

}  // namespace inkrun::test
