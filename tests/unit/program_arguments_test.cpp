#include "app/program_arguments.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace inkrun {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

// A message box breaks lines at its own width: the terminal's lines, broken again, would stand
// ragged. In a box a paragraph is one line and an option's meaning follows a tab.
TEST(ProgramArguments, HelpIsLaidOutForATerminalOrForABox) {
    const std::string terminal = readProgramArguments({"--help"}).text;
    const std::string box = readProgramArguments({"--help"}, TextLayout::Box).text;
    EXPECT_EQ(words(box), words(terminal));
    for (const std::string& line : lines(terminal)) EXPECT_LE(line.size(), 80u) << line;

    const std::vector<std::string> boxLines = lines(box);
    for (std::size_t i = 0; i + 1 < boxLines.size(); ++i) {
        const std::string &line = boxLines[i], &next = boxLines[i + 1];
        const bool options = line.find('\t') != std::string::npos && next.find('\t') != std::string::npos;
        EXPECT_TRUE(line.empty() || next.empty() || options) << "a paragraph broken after: " << line;
    }
    EXPECT_NE(box.find("-h, --help\tshow this help and end\n"), std::string::npos) << box;
}

}  // namespace
}  // namespace inkrun
