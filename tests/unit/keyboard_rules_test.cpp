#include "commands/keyboard_rules.h"

#include <gtest/gtest.h>

namespace inkrun::ui {
namespace {

TEST(KeyboardRules, NoTextBoxTypesATabAndTheDirectoryBoxNoLineBreak) {
    for (const char* name : {"RichTextBox1", "RichTextBox3"}) {
        const ControlDescription& box = *findControl(mainWindow(), name);
        EXPECT_EQ(answerKey(box, {Key::Tab}), KeyAnswer::FocusNext) << name;
        EXPECT_EQ(answerKey(box, {Key::Tab, true}), KeyAnswer::FocusNext) << name;
        EXPECT_EQ(answerKey(box, {Key::Backtab}), KeyAnswer::FocusPrevious) << name;
    }
    EXPECT_EQ(answerKey(*findControl(mainWindow(), "RichTextBox1"), {Key::Enter}), KeyAnswer::Ignore);
    EXPECT_EQ(answerKey(*findControl(mainWindow(), "RichTextBox3"), {Key::Enter}), KeyAnswer::AsUsual);
}

TEST(KeyboardRules, EnterPressesEveryPictureButton) {
    int buttons = 0;
    for (const ControlDescription& control : mainWindow().controls) {
        if (control.kind != ControlKind::PictureButton) continue;
        ++buttons;
        EXPECT_EQ(answerKey(control, {Key::Enter}), KeyAnswer::Press) << control.name;
        EXPECT_EQ(answerKey(control, {Key::Tab}), KeyAnswer::AsUsual) << control.name;
    }
    EXPECT_EQ(buttons, 5);
}

TEST(KeyboardRules, TheSortGroupIsOneStopAtTheSelectedButton) {
    const ControlDescription& dsc = *findControl(mainWindow(), "optSort(0)");
    EXPECT_TRUE(isTabStop(dsc, true));
    EXPECT_FALSE(isTabStop(dsc, false));
    EXPECT_FALSE(isTabStop(*findControl(mainWindow(), "Label4"), false));
    EXPECT_FALSE(isTabStop(*findControl(mainWindow(), "RichTextBox2"), false));  // not created
    EXPECT_TRUE(isTabStop(*findControl(mainWindow(), "File1"), false));
}

TEST(KeyboardRules, APastedPathLosesItsLineBreaksOnly) {
    EXPECT_EQ(singleLine("/jobs/x\xC2\xA0y\r\n"), "/jobs/x\xC2\xA0y");
    EXPECT_EQ(singleLine("a\nb\rc\xE2\x80\xA8" "d\xE2\x80\xA9"), "abcd");
    EXPECT_EQ(singleLine("\xE2\x80\xA6 tab\there"), "\xE2\x80\xA6 tab\there");  // an ellipsis stays
}

}  // namespace
}  // namespace inkrun::ui
