#include "app/main_window_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/plain_window_state.h"
#include "model/window_description.h"
#include "platform/user_places.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "support/stand_in_opener.h"
#endif

namespace inkrun {
namespace {

using test::ScriptedDialogs;
using test::TempDir;
using DialogKind = ScriptedDialogs::DialogKind;
using ui::Handler;

// What a toolkit would do, written down: the About window shown, the windows unloaded, the
// program ended, and tasks for the window's thread queued until the test runs them.
class RecordedHooks : public MainWindowHooks {
public:
    ScriptedDialogs scripted;
    std::vector<std::string> calls;

    UserDialogs& dialogs() override { return scripted; }
    void showAbout() override { calls.push_back("show About"); }
    void unloadWindows() override { calls.push_back("unload windows"); }
    void endProgram() override { calls.push_back("end program"); }
    Poster windowThread() override {
        return [queue = queue_](std::function<void()> task) { queue->push(std::move(task)); };
    }

    // Waits (a minute at most) for a task to come, and runs it on this, the window's, thread.
    bool runNextTask() {
        std::function<void()> task = queue_->pop();
        if (!task) return false;
        task();
        return true;
    }
    // Runs the tasks that have come, as the window's event loop would once it runs.
    void runWaitingTasks() {
        while (std::function<void()> task = queue_->take()) task();
    }

private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable arrived;
        std::vector<std::function<void()>> tasks;
        void push(std::function<void()> task) {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
            arrived.notify_all();
        }
        std::function<void()> take() {
            std::lock_guard lock(mutex);
            if (tasks.empty()) return {};
            std::function<void()> task = std::move(tasks.front());
            tasks.erase(tasks.begin());
            return task;
        }
        std::function<void()> pop() {
            std::unique_lock lock(mutex);
            if (!arrived.wait_for(lock, std::chrono::minutes(1), [&] { return !tasks.empty(); })) return {};
            std::function<void()> task = std::move(tasks.front());
            tasks.erase(tasks.begin());
            return task;
        }
    };
    std::shared_ptr<Queue> queue_ = std::make_shared<Queue>();
};

// A run started in a settings directory that remembers a drawing directory with two drawings,
// with two setup slots and no help page; the person's own data folder is the run's too.
struct Session {
    TempDir dir;
    std::string settings = dir.mkdir("settings");
    std::string jobs = dir.mkdir("jobs");
    test::DataFolderGuard dataFolder{dir.mkdir("data")};
    PlainWindowState state;
    RecordedHooks hooks;
    std::optional<MainWindowCommands> commands{std::in_place, state, hooks};

    Session() {
        dir.write("jobs/a.dwg", "");
        dir.write("jobs/b.dwg", "");
        dir.write("settings/DefaultFile.txt", jobs);
        dir.write("settings/Setup1.txt", "zoom");
        dir.write("settings/Setup2.txt", "purge");
        start();
    }
    // The program started in the settings directory; its window's event loop runs what start-up
    // left for it.
    void start() {
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(test::pathOf(settings));
        commands->Form_Load();
        std::filesystem::current_path(before);
        hooks.runWaitingTasks();
    }
    // A second run after this one has closed, in the same places.
    void startAgain() {
        dialogs().messages.clear();
        commands.emplace(state, hooks);
        start();
    }
    ScriptedDialogs& dialogs() { return hooks.scripted; }
    std::string lastMessage() { return dialogs().messages.empty() ? "" : dialogs().messages.back().text; }
};

void expectDialog(Session& run, DialogKind kind, const std::string& title, const std::string& fileName) {
    ASSERT_EQ(run.dialogs().dialogs.size(), 1u);
    EXPECT_EQ(run.dialogs().dialogs[0].kind, kind);
    EXPECT_EQ(run.dialogs().dialogs[0].options.title, title);
    EXPECT_EQ(run.dialogs().dialogs[0].options.fileName, fileName);
}

// For each handler: what the person does first, and what shows that its command ran.
struct Expected {
    std::function<void(Session&)> before;
    std::function<void(Session&)> check;
};

const std::map<Handler, Expected>& expectations() {
    static const Expected build{[](Session& run) { run.state.select(0); },
                                [](Session& run) {
                                    EXPECT_TRUE(std::filesystem::exists(test::pathOf(run.dir.file("jobs/Inkrun.scr"))));
                                    EXPECT_EQ(run.lastMessage().rfind("File saved as: Inkrun.scr", 0), 0u);
                                }};
    static const Expected clear{{}, [](Session& run) {
                                    EXPECT_EQ(run.state.setupText(), "");
                                    EXPECT_EQ(run.state.setupPath(), "");
                                }};
    static const Expected openDrawings{
        [](Session& run) { run.dialogs().cancel(); },
        [](Session& run) { expectDialog(run, DialogKind::OpenFiles, "Drawing Files", ""); }};
    static const Expected openSetup{
        [](Session& run) { run.dialogs().cancel(); },
        [](Session& run) { expectDialog(run, DialogKind::OpenFile, "Script Files", "*.txt"); }};
    static const Expected save{[](Session& run) { run.dialogs().cancel(); },
                               [](Session& run) { expectDialog(run, DialogKind::SaveFile, "", "Setup1.txt"); }};
    auto slot = [](const char* name, const char* text) {
        return Expected{[](Session& run) { run.state.setSetupPath(""); },
                        [=](Session& run) {
                            EXPECT_EQ(run.state.setupPath(), run.settings + test::kSep + name);
                            EXPECT_EQ(run.state.setupText(), text);
                        }};
    };
    static const std::map<Handler, Expected> table{
        {Handler::cmdBuildSetup_Click, build},
        {Handler::mnuTools_Build_Click, build},
        {Handler::cmdClearSetup_Click, clear},
        {Handler::mnuTools_ClearSetup_Click, clear},
        {Handler::cmdOpenDrawings_Click, openDrawings},
        {Handler::mnuFile_OpenDrawings_Click, openDrawings},
        {Handler::cmdOpenScript_Click, openSetup},
        {Handler::mnuFile_OpenScripts_Click, openSetup},
        {Handler::cmdSaveSetup_Click, save},
        {Handler::mnuFile_Save_Click, save},
        {Handler::mnuFile_SaveAs_Click,
         {[](Session& run) { run.dialogs().cancel(); },
          [](Session& run) { expectDialog(run, DialogKind::SaveFile, "Script Files", "*.txt"); }}},
        {Handler::mnuTools_Setup1_Click, slot("Setup1.txt", "zoom")},
        {Handler::mnuTools_Setup2_Click, slot("Setup2.txt", "purge")},
        {Handler::mnuTools_LoadDefault_Click,
         {{}, [](Session& run) { EXPECT_EQ(run.state.setupPath(), "Default Script Loaded"); }}},
        {Handler::mnuHelp_HowTo_Click,
         {{}, [](Session& run) { EXPECT_EQ(run.lastMessage().rfind("File not found\n", 0), 0u); }}},
        {Handler::mnuHelp_About_Click,
         {{}, [](Session& run) { EXPECT_EQ(run.hooks.calls, std::vector<std::string>{"show About"}); }}},
        {Handler::mnuFile_Exit_Click,
         {{}, [](Session& run) { EXPECT_EQ(run.hooks.calls, std::vector<std::string>{"end program"}); }}},
    };
    return table;
}

void expectReachesItsCommand(std::string_view name, Handler handler) {
    SCOPED_TRACE(std::string(name));
    const auto expected = expectations().find(handler);
    ASSERT_NE(expected, expectations().end()) << "no expectation for this handler";
    Session run;
    ASSERT_EQ(run.state.setupText(), "zoom");  // Form_Load loaded slot 1
    if (expected->second.before) expected->second.before(run);
    run.commands->run(handler);
    expected->second.check(run);
    EXPECT_TRUE(run.dialogs().answers.empty()) << "a queued answer was never asked for";
}

// And every handler is run by some menu entry or control: none is left dead.
TEST(MainWindowCommands, EveryMenuEntryAndControlReachesItsCommand) {
    std::set<Handler> reached;
    const auto reach = [&](std::string_view name, Handler handler) {
        if (handler == Handler::None) return;
        expectReachesItsCommand(name, handler);
        reached.insert(handler);
    };
    for (const ui::Menu& menu : ui::mainWindow().menus)
        for (const ui::MenuEntry& entry : menu.entries) reach(entry.name, entry.handler);
    for (const ui::ControlDescription& control : ui::mainWindow().controls) reach(control.name, control.handler);
    EXPECT_EQ(reached.size(), static_cast<std::size_t>(Handler::Count) - 1);
}

TEST(MainWindowCommands, ClosingUnloadsTheWindowsBeforeTheProgramEnds) {
    Session run;
    run.commands->Form_Unload();
    EXPECT_EQ(run.hooks.calls, (std::vector<std::string>{"unload windows", "end program"}));
    EXPECT_TRUE(run.dialogs().messages.empty());
}

TEST(MainWindowCommands, AnErrorIsReportedByTheHandlerThatMetIt) {
    Session run;
    run.state.select(1);
    run.state.setDrawingDirectory(run.dir.file("gone"));
    run.commands->cmdBuildSetup_Click();
    run.commands->mnuTools_Setup2_Click();  // the next command starts with no error pending
    ASSERT_EQ(run.dialogs().messages.size(), 1u);
    EXPECT_EQ(run.dialogs().messages[0].title, "Inkrun");
    EXPECT_EQ(run.dialogs().messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(run.dialogs().messages[0].text.rfind("Could not write " + run.dir.file("gone"), 0), 0u);
    EXPECT_EQ(run.state.setupText(), "purge");
}

// --- Setups kept so that nothing typed is lost ---

using Steps = std::function<void(Session&)>;
void typeIn(Session& run, const std::string& text = "zoom\r\n_plot \xE2\x82\xAC") { run.state.setSetupText(text); }
std::string firstKept(Session& run) { return run.dir.file("settings/Setup.unsaved.txt"); }
// The setups kept in a folder, by name, oldest first.
std::vector<std::string> keptIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(folder)))
        if (const std::string name = test::textOf(entry.path().filename()); name.starts_with("Setup.unsaved"))
            names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

// After each kind of command, each way of closing: the setup is kept exactly when it differs from
// the one last loaded or saved, in the setup file format, and nothing is asked. A load or Clear
// keeps it before it takes its place.
TEST(MainWindowCommands, ClosingOrReplacingKeepsASetupThatDiffersFromTheOneLastLoadedOrSaved) {
    const std::string typedBytes = "zoom\r\n_plot \x80";  // Windows-1252
    struct Case {
        const char* what;
        Steps steps;
        std::optional<std::string> kept;
    };
    const Case cases[] = {
        {"as loaded at the start", [](Session&) {}, std::nullopt},
        {"typed in", [](Session& run) { typeIn(run); }, typedBytes},
        {"typed in, then saved as",
         [](Session& run) {
             typeIn(run);
             run.dialogs().answer(run.dir.file("jobs/mine.txt"));
             run.commands->mnuFile_SaveAs_Click();
         },
         std::nullopt},
        {"typed in, then saved over the slot",
         [](Session& run) {
             typeIn(run);
             run.dialogs().answer(run.settings + test::kSep + "Setup1.txt");
             run.commands->mnuFile_Save_Click();
         },
         std::nullopt},
        {"typed in, the save cancelled",
         [](Session& run) {
             typeIn(run);
             run.dialogs().cancel();
             run.commands->cmdSaveSetup_Click();
         },
         typedBytes},
        {"typed in, the save failed",
         [](Session& run) {
             typeIn(run);
             run.dialogs().answer(run.dir.file("gone/mine.txt"));
             run.commands->mnuFile_SaveAs_Click();
         },
         typedBytes},
        {"typed in, then another setup opened",
         [](Session& run) {
             typeIn(run);
             run.dialogs().answer(run.settings + test::kSep + "Setup2.txt");
             run.commands->mnuFile_OpenScripts_Click();
         },
         typedBytes},
        {"typed in, the open cancelled",
         [](Session& run) {
             typeIn(run);
             run.dialogs().cancel();
             run.commands->cmdOpenScript_Click();
         },
         typedBytes},
        {"typed in, then slot 2 loaded",
         [](Session& run) {
             typeIn(run);
             run.commands->mnuTools_Setup2_Click();
         },
         typedBytes},
        {"the template loaded", [](Session& run) { run.commands->mnuTools_LoadDefault_Click(); }, std::nullopt},
        {"typed in, then the template loaded",
         [](Session& run) {
             typeIn(run);
             run.commands->mnuTools_LoadDefault_Click();
         },
         typedBytes},
        {"typed in, then cleared",
         [](Session& run) {
             typeIn(run);
             run.commands->cmdClearSetup_Click();
         },
         typedBytes},
        {"cleared, then typed in",
         [](Session& run) {
             run.commands->mnuTools_ClearSetup_Click();
             typeIn(run, "purge");
         },
         "purge"},
        // An emptied editor holds nothing worth keeping.
        {"emptied by hand", [](Session& run) { typeIn(run, ""); }, std::nullopt},
    };
    const std::pair<const char*, Steps> closings[] = {
        {"Exit", [](Session& run) { run.commands->run(Handler::mnuFile_Exit_Click); }},
        {"the close box", [](Session& run) { run.commands->Form_Unload(); }},
        {"a second copy", [](Session& run) { run.commands->closeUnasked(); }},
    };
    for (const Case& c : cases) {
        for (const auto& [closing, close] : closings) {
            SCOPED_TRACE(std::string(c.what) + ", closed by " + closing);
            Session run;
            c.steps(run);
            const std::size_t shown = run.dialogs().messages.size();
            close(run);
            EXPECT_EQ(run.hooks.calls.back(), "end program");
            EXPECT_EQ(run.dialogs().messages.size(), shown);
            if (c.kept) {
                EXPECT_EQ(keptIn(run.settings), std::vector<std::string>{"Setup.unsaved.txt"});
                EXPECT_EQ(test::readFile(firstKept(run)), *c.kept);
            } else {
                EXPECT_TRUE(keptIn(run.settings).empty());
            }
        }
    }
}

// A setup that cannot be kept where kept setups go (here the settings directory has gone): a
// person who closes the window or replaces the setup is told and offered to save it elsewhere;
// at the session's end, with nobody to ask, it goes into their own data folder, and the next
// start says where.
TEST(MainWindowCommands, ASetupThatCannotBeKeptIsSavedElsewhere) {
    const auto lose = [](Session& run) {
        typeIn(run, "zoom \xCE\xA9\r\n");
        std::filesystem::remove_all(test::pathOf(run.settings));
    };
    {
        SCOPED_TRACE("closed by the person, who saves it elsewhere");
        Session run;
        lose(run);
        const std::string elsewhere = run.dir.file("jobs/mine.txt");
        run.dialogs().answer(run.dir.file("gone/mine.txt"));  // a save that fails is asked again
        run.dialogs().answer(elsewhere);
        run.commands->run(Handler::mnuFile_Exit_Click);
        ASSERT_EQ(run.dialogs().messages.size(), 2u);
        EXPECT_EQ(run.dialogs().messages[0].text.rfind(
                      "The setup you typed could not be kept. Could not write " + run.settings, 0),
                  0u);
        EXPECT_TRUE(run.dialogs().messages[0].text.ends_with(
            "\n\nChoose where to save it before the window closes, or cancel to close without it."));
        EXPECT_EQ(run.dialogs().messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(run.dialogs().messages[1].icon, MessageIcon::Critical);
        EXPECT_EQ(run.dialogs().dialogs[0].options.fileName, "Setup.unsaved.txt");
        EXPECT_EQ(test::readFile(elsewhere), "\xEF\xBB\xBFzoom \xCE\xA9\r\n");
        EXPECT_EQ(run.hooks.calls, std::vector<std::string>{"end program"});
    }
    {
        SCOPED_TRACE("replaced, the save cancelled: the setup stays in the editor");
        Session run;
        lose(run);
        run.dialogs().cancel();
        run.commands->mnuTools_LoadDefault_Click();
        EXPECT_TRUE(run.lastMessage().ends_with("or cancel to leave it in the editor."));
        EXPECT_EQ(run.state.setupText(), "zoom \xCE\xA9\r\n");
    }
    {
        SCOPED_TRACE("the session's end: into the person's own data folder");
        Session run;
        lose(run);
        run.commands->keepUnsavedSetup();
        run.commands->closeUnasked();
        EXPECT_TRUE(run.dialogs().messages.empty());
        const std::string data = *platform::userDataFolder();
        EXPECT_EQ(test::readFile(data + test::kSep + "Setup.unsaved.txt"), "\xEF\xBB\xBFzoom \xCE\xA9\r\n");
        run.dir.mkdir("settings");
        run.startAgain();
        EXPECT_EQ(run.lastMessage(), "The setup you typed and did not save was kept:\n" + data + test::kSep +
                                         "Setup.unsaved.txt\n\nOpen it with File > Open Script Setup.");
    }
}

#ifndef _WIN32  // a stand-in opener on PATH; ShellExecuteA answers at once
TEST(MainWindowCommands, HowToDoesNotWaitForTheOpenerAndShowsItsLateRefusalOnTheWindowsThread) {
    test::PathGuard path;
    TempDir bin;
    TempDir record;
    test::installOpener(bin, record, 4, true);  // stays until released, then: no program for it
    Session run;
    run.dir.write("settings/readme.htm", "<title>INKRUN</title>");

    run.commands->mnuHelp_HowTo_Click();  // returns while the opener still runs
    EXPECT_TRUE(run.dialogs().messages.empty());
    record.write("release", "");
    ASSERT_TRUE(run.hooks.runNextTask());
    EXPECT_EQ(run.lastMessage(), "No association for file extension\n" + run.settings + test::kSep + "readme.htm");

    // A refusal that comes once the window has gone finds nothing to report to.
    run.commands->mnuHelp_HowTo_Click();  // released already: refused at once, reported later
    run.commands.reset();
    ASSERT_TRUE(run.hooks.runNextTask());
    EXPECT_EQ(run.dialogs().messages.size(), 1u);
}
#endif

}  // namespace
}  // namespace inkrun
