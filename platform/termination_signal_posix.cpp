#include "platform/termination_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace inkrun::platform {

namespace {

int pipeEnds[2] = {-1, -1};

void onTermination(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already says it.
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

int install() noexcept {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        if (sigaction(signal, &action, nullptr) != 0) return -1;
    return pipeEnds[0];
}

}  // namespace

int terminationSignalDescriptor() noexcept {
    static const int descriptor = install();
    return descriptor;
}

}  // namespace inkrun::platform
