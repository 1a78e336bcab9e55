#pragma once

#include <functional>

#include "model/user_dialogs.h"

namespace inkrun {

// What the commands ask of the toolkit that shows the main window: the few things that differ
// from one toolkit to the next. The window implements them beside MainWindowState.
class MainWindowHooks {
public:
    virtual ~MainWindowHooks() = default;

    // Message boxes and file dialogs, modal to the main window.
    virtual UserDialogs& dialogs() = 0;

    // Shows the About window: made when it is first shown, brought forward while it is open.
    virtual void showAbout() = 0;

    // Unloads the About window, when it is loaded, and the main window itself.
    virtual void unloadWindows() = 0;

    // Ends the program at once: the event loop stops and nothing more of the shutdown runs.
    virtual void endProgram() = 0;

    // Runs a task on the window's thread, after what runs there now. The function is handed out
    // on that thread and may be called from any other, even once the window has gone: the task
    // must then find out for itself whether what it needs is still there.
    using Poster = std::function<void(std::function<void()> task)>;
    virtual Poster windowThread() = 0;
};

}  // namespace inkrun
