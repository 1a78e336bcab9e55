#include <gtest/gtest.h>

#include "app/help_command.h"
#include "support/scripted_dialogs.h"

namespace inkrun {
namespace {

using test::ScriptedDialogs;

struct HelpRun {
    std::vector<std::string> calls;
    ScriptedDialogs dialogs;

    void run(const ProgramSettings& settings, int result) {
        showHelp(
            settings, dialogs, [&](const std::string& title) { calls.push_back("close " + title); },
            [&](const std::string& path) {
                calls.push_back("open " + path);
                return result;
            });
    }
};

ProgramSettings settingsIn(std::string directory, char separator = '/') {
    ProgramSettings settings;
    settings.scriptSettingsDirectory = std::move(directory);
    settings.separator = separator;
    return settings;
}

TEST(HelpCommand, EachRequestClosesTheEarlierHelpWindowBeforeOpeningTheDocument) {
    HelpRun help;
    help.run(settingsIn("/srv/cad"), 42);
    help.run(settingsIn("/srv/cad"), 42);
    const std::vector<std::string> expected = {"close INKRUN - Microsoft Internet Explorer", "open /srv/cad/readme.htm",
                                               "close INKRUN - Microsoft Internet Explorer",
                                               "open /srv/cad/readme.htm"};
    EXPECT_EQ(help.calls, expected);
    EXPECT_TRUE(help.dialogs.messages.empty());
}

TEST(HelpCommand, AtARootTheSeparatorIsDoubledAsPathsAreJoined) {
    HelpRun help;
    help.run(settingsIn("C:\\", '\\'), 33);
    help.run(settingsIn("/"), 33);
    EXPECT_EQ(help.calls[1], "open C:\\\\readme.htm");
    EXPECT_EQ(help.calls[3], "open //readme.htm");
}

// The table's text, then the page's full path on a line of its own: with no program to show it,
// the person opens it by hand; when it is missing, they see where it was looked for.
TEST(HelpCommand, ShellResultsOf32OrLessAreReportedByTheirMessageAndThePage) {
    const std::pair<int, const char*> table[] = {{2, "File not found"},
                                                 {3, "Path not found"},
                                                 {5, "Access denied"},
                                                 {8, "Out of memory"},
                                                 {11, "Invalid EXE file or error in EXE image"},
                                                 {26, "A sharing violation occurred"},
                                                 {27, "Incomplete or invalid file association"},
                                                 {28, "DDE Time out"},
                                                 {29, "DDE transaction failed"},
                                                 {30, "DDE busy"},
                                                 {31, "No association for file extension"},
                                                 {32, "DLL not found"},
                                                 {0, "Unknown error"},
                                                 {1, "Unknown error"},
                                                 {4, "Unknown error"},
                                                 {25, "Unknown error"},
                                                 {-1, "Unknown error"},
                                                 {-2147483647 - 1, "Unknown error"}};
    for (const auto& [result, message] : table) {
        HelpRun help;
        help.run(settingsIn("/srv/cad"), result);
        ASSERT_EQ(help.dialogs.messages.size(), 1u) << result;
        EXPECT_EQ(help.dialogs.messages[0].text, std::string(message) + "\n/srv/cad/readme.htm") << result;
        EXPECT_EQ(help.dialogs.messages[0].title, "Inkrun");
        EXPECT_EQ(help.dialogs.messages[0].icon, MessageIcon::None);
    }
    // A name that could forge a line of the message is shown escaped.
    HelpRun forged;
    forged.run(settingsIn("/srv/cad\nAccess granted"), 31);
    EXPECT_EQ(forged.dialogs.messages.at(0).text,
              "No association for file extension\n/srv/cad\\nAccess granted/readme.htm");
    for (int accepted : {33, 42, 2147483647}) {
        HelpRun help;
        help.run(settingsIn("/srv/cad"), accepted);
        EXPECT_TRUE(help.dialogs.messages.empty()) << accepted;
    }
}

}  // namespace
}  // namespace inkrun
