#include "commands/command_frame.h"

#include <exception>
#include <string>

namespace inkrun {

void checkCommandError(std::exception_ptr error, UserDialogs& dialogs) {
    if (!error) return;
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        text = "Out of memory.";
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "An unexpected error occurred.";
    }
    dialogs.showMessage(text, kApplicationTitle, MessageIcon::Critical);
}

}  // namespace inkrun
