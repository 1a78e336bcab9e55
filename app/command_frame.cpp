#include "app/command_frame.h"

#include <exception>
#include <string>

#include "platform/ansi_codec.h"
#include "platform/file_error.h"

namespace inkrun {

void checkCommandError(std::exception_ptr error, UserDialogs& dialogs) {
    if (!error) return;
    std::string text;
    MessageIcon icon = MessageIcon::Critical;
    try {
        std::rethrow_exception(error);
    } catch (const platform::WrittenWithWarning& warning) {
        text = warning.what();  // the file is written: a warning, not a failure
        icon = MessageIcon::Exclamation;
    } catch (const std::bad_alloc&) {
        text = "Out of memory.";
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "An unexpected error occurred.";
    }
    // Messages quote names from the file system and the person's typing; whatever reached the
    // text unescaped is escaped here, for the window and the terminal alike.
    dialogs.showMessage(platform::escapeControls(text), kApplicationTitle, icon);
}

}  // namespace inkrun
