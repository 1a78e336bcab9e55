#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace inkrun::test {

// The bytes a build writes, stated once for every test: for each drawing path, in the order
// given, "_open", the path in double quotes, the setup as held, each piece ended by CR LF.
// Paths and setup are bytes as the file holds them (Windows-1252 where they leave ASCII).
std::string expectedScript(const std::vector<std::string>& drawingPaths, std::string_view setup);

// The same for drawings named within one directory, joined as directory + separator + name.
std::string expectedScript(std::string_view directory, const std::vector<std::string>& names, std::string_view setup,
                           std::string_view separator = kSep);

// What a script holds around its blocks: the preamble's lines before the first, the epilogue's
// after the last, each line ended by CR LF, then the lines that start the next script, if any.
struct ScriptFrame {
    std::vector<std::string> preamble;
    std::vector<std::string> epilogue;
    std::string next;  // the next script's path; empty for none
};
std::string expectedScript(std::string_view blocks, const ScriptFrame& frame);

}  // namespace inkrun::test
