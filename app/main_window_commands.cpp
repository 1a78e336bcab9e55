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
#include "platform/window_close.h"
#include "script/build_command.h"
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
}

void MainWindowCommands::Form_Unload() {
    keepUnsavedSetup();  // first: at the session's end the system may not wait for the rest
    platform::closeWindowByTitle(kHelpWindowTitle);
    hooks_.unloadWindows();
    hooks_.endProgram();
}

// Ends at once: nothing of the shutdown runs, an open help window stays.
void MainWindowCommands::mnuFile_Exit_Click() {
    keepUnsavedSetup();
    hooks_.endProgram();
}

void MainWindowCommands::keepUnsavedSetup() noexcept {
    try {
        const std::string text = state_.setupText();
        // An emptied editor holds nothing to keep, and must not replace a setup kept earlier.
        if (text == keptSetup_ || text.empty()) return;
        setup::keepUnsavedSetup(settings_, text);
        keptSetup_ = text;  // a second way of closing finds nothing more to write
    } catch (const std::exception& error) {
        std::fprintf(stderr, "inkrun: the unsaved setup could not be kept: %s\n",
                     platform::escapeControls(error.what()).c_str());
    } catch (...) {
        std::fputs("inkrun: the unsaved setup could not be kept\n", stderr);
    }
}

// --- The commands ---

void MainWindowCommands::cmdBuildSetup_Click() {
    trapped([&] { script::buildInkrunScript(state_, hooks_.dialogs(), settings_); });
}

void MainWindowCommands::mnuFile_OpenDrawings_Click() {
    trapped([&] { drawings::openDrawingFiles(state_, hooks_.dialogs(), settings_); });
}

void MainWindowCommands::cmdClearSetup_Click() {
    trapped([&] {
        setup::clearSetup(state_);
        setupIsKept();
    });
}

void MainWindowCommands::mnuTools_Setup1_Click() {
    trapped([&] {
        setup::loadSetupSlot(state_, settings_, 1);
        setupIsKept();
    });
}

void MainWindowCommands::mnuTools_Setup2_Click() {
    trapped([&] {
        setup::loadSetupSlot(state_, settings_, 2);
        setupIsKept();
    });
}

void MainWindowCommands::mnuTools_LoadDefault_Click() {
    trapped([&] {
        setup::loadDefaultSetup(state_);
        setupIsKept();
    });
}

void MainWindowCommands::mnuFile_OpenScripts_Click() {
    trapped([&] {
        if (setup::openSetupFile(state_, settings_, hooks_.dialogs())) setupIsKept();
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
