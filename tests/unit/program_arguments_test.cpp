#include "app/program_arguments.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "inkrun_version.h"

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

// As GNU programs answer: a first line that a script can read (the program's name first, the
// version last), then copyright, licence and warranty; the same lines in a box, and -V the same.
TEST(ProgramArguments, VersionNamesProgramVersionCopyrightLicenceAndWarranty) {
    const ProgramArguments answer = readProgramArguments({"--version"});
    ASSERT_EQ(answer.action, ProgramArguments::Action::Answer);
    const std::vector<std::string> shown = lines(answer.text);
    ASSERT_EQ(shown.size(), 5u) << answer.text;
    EXPECT_EQ(words(shown[0]).front(), "inkrun");
    EXPECT_EQ(words(shown[0]).back(), kVersionText);
    EXPECT_EQ(shown[1], std::string("Copyright (C) ") + kCopyrightYears + " " + kCopyrightHolder);
    EXPECT_TRUE(shown[2].starts_with(std::string("Licence ") + kLicenceName + ": <https://")) << shown[2];
    EXPECT_NE(shown[4].find("NO WARRANTY"), std::string::npos);
    EXPECT_EQ(readProgramArguments({"-V"}, TextLayout::Box).text, answer.text);
}

}  // namespace
}  // namespace inkrun
