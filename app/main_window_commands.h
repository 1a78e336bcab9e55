#pragma once

#include <exception>
#include <memory>
#include <string>

#include "app/main_window_hooks.h"
#include "model/handlers.h"
#include "model/main_window_state.h"
#include "model/program_settings.h"

namespace inkrun {

// The main window's operations: every command handler, named after its control and event, with
// the trap that ends each in CheckCommandError, start-up and shutdown. A window derives from
// it, implements MainWindowState and MainWindowHooks over its widgets, and has each control and
// menu entry call run() with the handler the window description gives it.
class MainWindowCommands {
public:
    MainWindowCommands(MainWindowState& state, MainWindowHooks& hooks) : state_(state), hooks_(hooks) {}
    MainWindowCommands(const MainWindowCommands&) = delete;
    MainWindowCommands& operator=(const MainWindowCommands&) = delete;

    // Runs the handler a control or menu entry names; nothing for Handler::None.
    void run(ui::Handler handler);

    // The process-wide values, fixed by Form_Load.
    const ProgramSettings& settings() const { return settings_; }

    // Hands a document to the desktop's "open" action without waiting for the program that shows
    // it; returns the shell's result. A refusal known only later is shown when it comes.
    int OpenDocument(const std::string& DocName);
    bool DirExists(const std::string& path) const;

    // The handlers of model/handlers.h: cmdBuildSetup_Click() to mnuTools_LoadDefault_Click().
#define INKRUN_HANDLER_OPERATION(name) void name();
    INKRUN_HANDLERS(INKRUN_HANDLER_OPERATION)
#undef INKRUN_HANDLER_OPERATION
    // Form_Load also has the window tell, once it runs, of setups typed and never saved that
    // were kept and that nobody has been told about yet.
    void Form_Load();
    void Form_Unload();
    // The window closes because a second copy or the session's end asks it to: Form_Unload, with
    // nobody asked anything on the way.
    void closeUnasked();
    void CheckCommandError();

    // Nothing typed is lost: a setup that differs from the one last loaded or saved is kept
    // (setup/kept_setups.h) whenever the window closes and before another setup or Clear takes
    // its place, never replacing one kept before. This is the session's end, when nobody can be
    // asked: what the settings directory cannot take goes into the person's own data folder, and
    // what cannot be kept at all is said on the standard error. A window runs it itself when the
    // session ends without closing it.
    void keepUnsavedSetup() noexcept;

private:
    // The frame of a trapped handler: run the body, keep what it threw, report at the exit point.
    template <typename Body>
    void trapped(Body&& body);
    // The setup now in the editor is the one last loaded or saved: closing keeps nothing of it.
    void setupIsKept() { keptSetup_ = state_.setupText(); }
    // Runs a save; a file written, even with a warning, keeps the text it holds.
    template <typename Save>
    void keepingWhatIsSaved(Save&& save);

    // When the setup is kept, and so who may be asked where it goes if it cannot be.
    enum class Keeping { AtSessionEnd, BeforeClosing, BeforeReplacing };
    // Keeps the editor's setup if it differs from the one last loaded or saved. False when it is
    // not kept: it could not be, and the person cancelled saving it elsewhere.
    bool keepEditedSetup(Keeping when) noexcept;
    bool keepInDataFolder(const std::string& text, const std::string& why);
    bool offerToSaveElsewhere(const std::string& text, const std::string& why, Keeping when);
    // Keeps what the editor holds, then runs a load or Clear. While it runs, the editor holds part
    // of what is being loaded: a close meanwhile keeps nothing of it.
    template <typename Load>
    void replacingSetup(Load&& load);

    MainWindowState& state_;
    MainWindowHooks& hooks_;
    ProgramSettings settings_;
    std::exception_ptr pendingError_;
    std::string keptSetup_;
    bool loading_ = false;
    bool closingUnasked_ = false;
    // Gone with the window: what comes back from another thread looks for it before it reports.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace inkrun
