// Another user's hand in a race: swaps two names (a folder and a link, say) in a loop, each swap
// one atomic exchange, until SIGTERM or SIGINT; then prints how many swaps it made. Run it as the
// user whose names they are (setpriv --reuid=...).
//
//     link_swapper FIRST SECOND
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <stdio.h>

namespace {

volatile std::sig_atomic_t stopped = 0;

void stop(int) { stopped = 1; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: link_swapper FIRST SECOND\n");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = stop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    unsigned long long swaps = 0;
    while (!stopped) {
        if (::renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) != 0) {
            if (stopped) break;  // the signal can cut the last swap short
            std::perror("link_swapper");
            return 1;
        }
        ++swaps;
    }
    // An even count leaves the names as they were.
    if (swaps % 2 == 1 && ::renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) == 0) ++swaps;
    std::printf("%llu\n", swaps);
    return 0;
}
