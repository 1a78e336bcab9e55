// Presses a window's close box from outside, for end-to-end tests: the window is sent the same
// request a window manager sends when its close button is clicked.
//   close_window TITLE
#include <cstdio>

#include "platform/window_close.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: close_window TITLE\n", stderr);
        return 2;
    }
    return inkrun::platform::closeWindowByTitle(argv[1], 0) ? 0 : 1;
}
