#pragma once

namespace inkrun::platform {

// A descriptor that turns readable once the process is asked to end: SIGTERM and SIGHUP, as a
// logout sends them, and SIGINT, Ctrl+C in the terminal that started it. The handlers only write
// to it, so that the program ends the ordinary way, from its event loop, rather than at whatever
// point the signal came. The handlers are installed on the first call; -1 when that fails. POSIX
// only: Windows ends a session with window messages.
int terminationSignalDescriptor() noexcept;

}  // namespace inkrun::platform
