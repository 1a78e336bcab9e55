#include "app/main_window_commands.h"

#include <cstddef>
#include <cstdio>
#include <iterator>
#include <utility>

#include "app/command_frame.h"
#include "app/help_command.h"
#include "app/startup.h"
#include "drawings/drawing_selection.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/shell_open.h"
#include "platform/user_places.h"
#include "platform/window_close.h"
#include "script/build_command.h"
#include "setup/kept_setups.h"
#include "setup/setup_commands.h"

namespace inkrun {

namespace {

using Operation = void (MainWindowCommands::*)();

// Each handler's operation, in the order of ui::Handler, which the same list makes.
// clang-format off
constexpr Operation kOperations[] = {
    nullptr,  // Handler::None
#define INKRUN_HANDLER_OPERATION(name) &MainWindowCommands::name,
    INKRUN_HANDLERS(INKRUN_HANDLER_OPERATION)
#undef INKRUN_HANDLER_OPERATION
};
// clang-format on
static_assert(std::size(kOperations) == static_cast<std::size_t>(ui::Handler::Count));

}  // namespace

void MainWindowCommands::run(ui::Handler handler) {
    const auto index = static_cast<std::size_t>(handler);
    if (index < std::size(kOperations) && kOperations[index]) (this->*kOperations[index])();
}

template <typename Body>
void MainWindowCommands::trapped(Body&& body) {
    // A handler run as a step of another has its own frame; the outer one's error waits.
    std::exception_ptr outer = std::exchange(pendingError_, nullptr);
    try {
        std::forward<Body>(body)();
    } catch (...) {
        pendingError_ = std::current_exception();
    }
    CheckCommandError();
    pendingError_ = outer;
}

void MainWindowCommands::CheckCommandError() { checkCommandError(pendingError_, hooks_.dialogs()); }

template <typename Save>
void MainWindowCommands::keepingWhatIsSaved(Save&& save) {
    try {
        if (std::forward<Save>(save)()) setupIsKept();
    } catch (const platform::WrittenWithWarning&) {
        setupIsKept();
        throw;
    }
}

int MainWindowCommands::OpenDocument(const std::string& DocName) {
    // The opener's late verdict comes on another thread, perhaps after this window has gone.
    MainWindowHooks::Poster post = hooks_.windowThread();
    std::weak_ptr<const bool> alive = alive_;
    return platform::startOpeningDocument(DocName, [post, alive, this, DocName](int result) {
        if (!post) return;
        post([alive, this, result, DocName] {
            if (alive.lock()) reportShellResult(result, DocName, hooks_.dialogs());
        });
    });
}

bool MainWindowCommands::DirExists(const std::string& path) const { return platform::dirExists(path); }

// --- Start-up and shutdown ---

void MainWindowCommands::Form_Load() {
    trapped([&] {
        settings_ = settingsOfCurrentDirectory();
        restoreStartState(state_, settings_);
    });
    // Whatever start-up reported, the window opens with a setup: slot 1 or the template.
    mnuTools_Setup1_Click();
    // Once the window shows: setups kept at an earlier close that nobody has been told about.
    if (MainWindowHooks::Poster post = hooks_.windowThread()) {
        std::weak_ptr<const bool> alive = alive_;
        post([alive, this] {
            if (alive.lock()) tellOfKeptSetups(settings_, hooks_.dialogs());
        });
    }
}

void MainWindowCommands::Form_Unload() {
    // First: at the session's end the system may not wait for the rest.
    keepEditedSetup(closingUnasked_ ? Keeping::AtSessionEnd : Keeping::BeforeClosing);
    platform::closeWindowByTitle(kHelpWindowTitle);
    hooks_.unloadWindows();
    hooks_.endProgram();
}

void MainWindowCommands::closeUnasked() {
    closingUnasked_ = true;
    Form_Unload();
}

// Ends at once: nothing of the shutdown runs, an open help window stays.
void MainWindowCommands::mnuFile_Exit_Click() {
    keepEditedSetup(Keeping::BeforeClosing);
    hooks_.endProgram();
}

void MainWindowCommands::keepUnsavedSetup() noexcept { keepEditedSetup(Keeping::AtSessionEnd); }

bool MainWindowCommands::keepEditedSetup(Keeping when) noexcept {
    try {
        // Mid-load the editor holds part of a file; what it held before was kept when the load began.
        if (loading_) return true;
        const std::string text = state_.setupText();
        // An emptied editor holds nothing to keep.
        if (text == keptSetup_ || text.empty()) return true;
        std::string why;
        try {
            setup::keepSetup(settings_.scriptSettingsDirectory, text, platform::localTimeNow());
            keptSetup_ = text;  // a second way of closing finds nothing more to keep
            return true;
        } catch (const std::exception& error) {
            why = error.what();
        }
        if (when == Keeping::AtSessionEnd || closingUnasked_) return keepInDataFolder(text, why);
        return offerToSaveElsewhere(text, why, when);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "inkrun: the unsaved setup could not be kept: %s\n",
                     platform::escapeControls(error.what()).c_str());
    } catch (...) {
        std::fputs("inkrun: the unsaved setup could not be kept\n", stderr);
    }
    return false;
}

// The session's end leaves no time to ask: the person's own data folder takes it, and the next
// start says where.
bool MainWindowCommands::keepInDataFolder(const std::string& text, const std::string& why) {
    std::string failure = why;
    if (const auto folder = platform::userDataFolder()) {
        try {
            setup::keepSetup(*folder, text, platform::localTimeNow(), true);
            keptSetup_ = text;
            return true;
        } catch (const std::exception& error) {
            failure += "; nor in " + *folder + ": " + error.what();
        }
    }
    std::fprintf(stderr, "inkrun: the unsaved setup could not be kept: %s\n",
                 platform::escapeControls(failure).c_str());
    return false;
}

bool MainWindowCommands::offerToSaveElsewhere(const std::string& text, const std::string& why, Keeping when) {
    UserDialogs& dialogs = hooks_.dialogs();
    dialogs.showMessage("The setup you typed could not be kept. " + why + "\n\n" +
                            (when == Keeping::BeforeClosing
                                 ? "Choose where to save it before the window closes, or cancel to close without it."
                                 : "Choose where to save it before another setup takes its place, or cancel to "
                                   "leave it in the editor."),
                        kApplicationTitle, MessageIcon::Exclamation);
    // A second copy or the session's end that closed the window meanwhile has kept it already.
    if (closingUnasked_) return keptSetup_ == text;
    if (!setup::saveSetupElsewhere(text, state_.drawingDirectory(), dialogs)) return keptSetup_ == text;
    keptSetup_ = text;
    return true;
}

template <typename Load>
void MainWindowCommands::replacingSetup(Load&& load) {
    if (!keepEditedSetup(Keeping::BeforeReplacing)) return;
    loading_ = true;
    try {
        std::forward<Load>(load)();
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    setupIsKept();
}

// --- The commands ---

void MainWindowCommands::cmdBuildSetup_Click() {
    trapped([&] { script::buildInkrunScript(state_, hooks_.dialogs(), settings_); });
}

void MainWindowCommands::mnuFile_OpenDrawings_Click() {
    trapped([&] { drawings::openDrawingFiles(state_, hooks_.dialogs(), settings_); });
}

void MainWindowCommands::cmdClearSetup_Click() {
    trapped([&] { replacingSetup([&] { setup::clearSetup(state_); }); });
}

void MainWindowCommands::mnuTools_Setup1_Click() {
    trapped([&] { replacingSetup([&] { setup::loadSetupSlot(state_, settings_, 1); }); });
}

void MainWindowCommands::mnuTools_Setup2_Click() {
    trapped([&] { replacingSetup([&] { setup::loadSetupSlot(state_, settings_, 2); }); });
}

void MainWindowCommands::mnuTools_LoadDefault_Click() {
    trapped([&] { replacingSetup([&] { setup::loadDefaultSetup(state_); }); });
}

void MainWindowCommands::mnuFile_OpenScripts_Click() {
    trapped([&] {
        const auto chosen = setup::askSetupToOpen(state_, settings_, hooks_.dialogs());
        if (chosen) replacingSetup([&] { setup::loadSetupFile(state_, *chosen); });
    });
}

void MainWindowCommands::cmdSaveSetup_Click() {
    trapped([&] { keepingWhatIsSaved([&] { return setup::saveSetup(state_, settings_, hooks_.dialogs()); }); });
}

void MainWindowCommands::mnuFile_SaveAs_Click() {
    trapped([&] { keepingWhatIsSaved([&] { return setup::saveSetupAs(state_, settings_, hooks_.dialogs()); }); });
}

void MainWindowCommands::mnuHelp_HowTo_Click() {
    const auto closeByTitle = [](const std::string& title) { platform::closeWindowByTitle(title); };
    showHelp(settings_, hooks_.dialogs(), closeByTitle, [this](const std::string& path) { return OpenDocument(path); });
}

void MainWindowCommands::mnuHelp_About_Click() {
    trapped([&] { hooks_.showAbout(); });
}

// The delegating handlers: one call each, nothing before or after.
void MainWindowCommands::cmdOpenDrawings_Click() { mnuFile_OpenDrawings_Click(); }
void MainWindowCommands::cmdOpenScript_Click() { mnuFile_OpenScripts_Click(); }
void MainWindowCommands::mnuFile_Save_Click() { cmdSaveSetup_Click(); }
void MainWindowCommands::mnuTools_Build_Click() { cmdBuildSetup_Click(); }
void MainWindowCommands::mnuTools_ClearSetup_Click() { cmdClearSetup_Click(); }

}  // namespace inkrun
