#include "model/keyboard_rules.h"

#include "model/shortcut.h"

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

TEST(KeyboardRules, CtrlASelectsEveryDrawingAndIsTheToolkitsElsewhere) {
    EXPECT_EQ(answerKey(*findControl(mainWindow(), "File1"), {Key::SelectAll, true}), KeyAnswer::SelectAll);
    EXPECT_EQ(answerKey(*findControl(mainWindow(), "File1"), {Key::Enter}), KeyAnswer::AsUsual);
    for (const char* name : {"RichTextBox1", "RichTextBox3", "cmdBuildSetup"})
        EXPECT_EQ(answerKey(*findControl(mainWindow(), name), {Key::SelectAll, true}), KeyAnswer::AsUsual) << name;
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
    EXPECT_EQ(singleLine("a\nb\rc\xE2\x80\xA8"
                         "d\xE2\x80\xA9"),
              "abcd");
    EXPECT_EQ(singleLine("\xE2\x80\xA6 tab\there"), "\xE2\x80\xA6 tab\there");  // an ellipsis stays
}

TEST(Shortcuts, EveryShortcutOfTheMenusIsOneBothWindowsOffer) {
    int shortcuts = 0;
    for (const Menu& menu : mainWindow().menus)
        for (const MenuEntry& entry : menu.entries) {
            if (entry.shortcut.empty()) continue;
            ++shortcuts;
            EXPECT_TRUE(parseShortcut(entry.shortcut)) << entry.name << ": " << entry.shortcut;
        }
    EXPECT_EQ(shortcuts, 1);
    const Shortcut save = *parseShortcut("Ctrl+S");
    EXPECT_TRUE(save.control && !save.shift && !save.alt);
    EXPECT_EQ(save.key, ShortcutKey::Character);
    EXPECT_EQ(save.character, 'S');
}

TEST(Shortcuts, ModifiersFunctionKeysAndNamedKeysAreRead) {
    const Shortcut f5 = *parseShortcut("Shift+Ctrl+F5");
    EXPECT_TRUE(f5.control && f5.shift && !f5.alt);
    EXPECT_EQ(f5.key, ShortcutKey::Function);
    EXPECT_EQ(f5.function, 5);
    EXPECT_EQ(parseShortcut("F24")->function, 24);
    EXPECT_EQ(parseShortcut("Alt+4")->character, '4');
    EXPECT_EQ(parseShortcut("Ctrl+F")->character, 'F');
    EXPECT_EQ(parseShortcut("Ctrl+s")->character, 'S');
    EXPECT_EQ(parseShortcut("Del")->key, ShortcutKey::Delete);
    EXPECT_EQ(parseShortcut("Ctrl+PgDown")->key, ShortcutKey::PageDown);
}

TEST(Shortcuts, WhatNeitherWindowCouldOfferIsRefused) {
    // A lone letter or digit would take the typing away from the text boxes.
    for (const char* text : {"", "S", "Shift+S", "7", "Ctrl+", "Ctrl+Ctrl+S", "Ctrl+SS", "Meta+S", "F0", "F25", "F05",
                             "Ctrl+Tab", "ctrl+S", "Ctrl-S", "Ctrl+S "})
        EXPECT_FALSE(parseShortcut(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace inkrun::ui
