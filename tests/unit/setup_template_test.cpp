#include "setup/default_template.h"

#include "model/plain_window_state.h"
#include "model/program_settings.h"
#include "setup/setup_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkrun::setup {
namespace {

// The template cut at its CR LF pairs; fails the test on a bare CR or LF or a missing last end.
std::vector<std::string> templateLines() {
    const std::string& text = defaultSetupTemplate();
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text after the last CR LF";
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(SetupTemplate, HasTwentyEightCrLfLinesAndTheExactLength) {
    const std::string& text = defaultSetupTemplate();
    EXPECT_EQ(text.size(), 1477u);
    EXPECT_TRUE(text.ends_with("\r\n"));
    const auto lines = templateLines();
    ASSERT_EQ(lines.size(), 28u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        EXPECT_NE(line.back(), ' ');
        for (const char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "not printable ASCII";
    }
}

TEST(SetupTemplate, AnswersFillThirtyFourColumnsAndCommentsStartAtColumn35) {
    const auto lines = templateLines();
    ASSERT_EQ(lines.size(), 28u);
    for (std::size_t i = 6; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i + 1));
        ASSERT_GT(line.size(), 34u);
        EXPECT_NE(line[0], ' ');
        EXPECT_EQ(line[33], ' ');
        EXPECT_NE(line[34], ' ');
        for (const char c : line.substr(34)) EXPECT_FALSE(c >= 'a' && c <= 'z') << "comment not in capitals";
    }
}

TEST(SetupTemplate, QuotesTheLinesExactly) {
    const auto lines = templateLines();
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "THIS SETUP IS AN EXAMPLE OF THE KORU CAD MACHINE.");
    EXPECT_EQ(lines[3], "IS PRINTED.  THUS, EACH DWG MUST BE CHANGED AND UPDATED.");
    EXPECT_EQ(lines[5], "*** NOTE: DO NOT USE TEXT IN ALL CAPS! ***");
    EXPECT_EQ(lines[11], "HP Laserjet 5000 series PCL 6.pc3 SET PRNTR SETUP TO USE");
    EXPECT_EQ(lines[27], "y" + std::string(33, ' ') + "SAVE DWG");
    // Letter case is part of the answers.
    EXPECT_EQ(lines[7].substr(0, 8), "extents ");
    EXPECT_EQ(lines[9].substr(0, 2), "Y ");
    EXPECT_EQ(lines[16].substr(0, 8), "Extents ");
    EXPECT_EQ(lines[26].substr(0, 6), "close ");
}

TEST(SetupTemplate, LoadingReplacesTheWholeSetupAndMarksIt) {
    PlainWindowState state;
    state.setSetupText("old setup\r\n");
    state.setSetupPath("/somewhere/a.txt");
    loadDefaultSetup(state);
    loadDefaultSetup(state);
    EXPECT_EQ(state.setupText(), defaultSetupTemplate());
    EXPECT_EQ(state.setupPath(), kDefaultScriptMarker);
}

}  // namespace
}  // namespace inkrun::setup
