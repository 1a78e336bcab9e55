// The names a Windows workstation would not open as written, whichever system writes the path.
// What Windows does with each is measured in windows_names/windows_names_probe.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows_names.h"

namespace inkrun::platform {
namespace {

void expectRefused(const std::vector<std::string>& names, const std::string& said) {
    for (const std::string& name : names) {
        const auto why = whyNotWindowsName(name);
        ASSERT_TRUE(why) << name;
        EXPECT_NE(why->find(said), std::string::npos) << name << ": " << *why;
    }
}

void expectTaken(const std::vector<std::string>& names) {
    for (const std::string& name : names) EXPECT_EQ(whyNotWindowsName(name), std::nullopt) << name;
}

// A device name is the device whatever follows its first dot, in any case, and with blanks
// before the dot; a longer name that starts like one is a file.
TEST(WindowsNames, DeviceNamesAreRefusedWithAnyExtension) {
    expectRefused({"CON", "con.dwg", "CON.tar.dwg", "CON .dwg", "Aux.dwg", "PRN", "NUL.dwg", "CONIN$.dwg", "conout$"},
                  "is the device ");
    expectRefused({"COM1.dwg", "com9", "LPT1.dwg", "lpt9.x", "COM\xC2\xB9.dwg", "lpt\xC2\xB2", "LPT\xC2\xB3.dwg"},
                  "is the device ");
    EXPECT_NE(whyNotWindowsName("nul.dwg")->find("the device nul"), std::string::npos);
    expectTaken({"COM0.dwg", "LPT0.dwg", "COM10.dwg", "CON1.dwg", "xCON.dwg", "CONFIG.dwg", "NULL.dwg", "console.dwg",
                 "COM\xC2\xB9"
                 "0.dwg",
                 "COM\xC2\xB4.dwg", ".CON"});
}

// Windows drops a name's last dots and blanks, so "rev." opens "rev".
TEST(WindowsNames, ALastDotOrSpaceIsRefused) {
    expectRefused({"rev.", "plan.dwg.", "x. ."}, "ends in a dot, which Windows drops");
    expectRefused({"plan.dwg ", "rev. "}, "ends in a space, which Windows drops");
    expectRefused({".", ".."}, "is no name but a step");
    expectTaken({".hidden", " lead.dwg", "a..b.dwg", "a b.dwg"});
}

TEST(WindowsNames, CharactersNoWindowsNameHoldsAreRefused) {
    for (const char c : std::string("<>:\"/\\|?*"))
        expectRefused({std::string("R1") + c + "R2.dwg"}, std::string("holds '") + c + "'");
    expectRefused({"tab\there.dwg", std::string("a\x01.dwg"), "a\x1F"}, "holds a control character (U+00");
    expectTaken({"a\x7F.dwg", "Caf\xC3\xA9 #1 %x% (2) [3] {4} ;=,+&'!~$.dwg"});
}

}  // namespace
}  // namespace inkrun::platform
