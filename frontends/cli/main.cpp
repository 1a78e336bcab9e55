// inkrun-build: the window's Build command for schedulers and servers without a screen.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "frontends/cli/build_cli.h"
#include "platform/file_lookup.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/wide_text.h"
#include "platform/windows_api.h"
#endif

namespace {

int run(const std::vector<std::string>& args) {
#ifdef __GLIBC__
    // One heap for the thread that looks at the drawings too: a heap of its own reserves 64 MB of
    // address space, which a job's memory limit (ulimit -v) counts against a large setup.
    mallopt(M_ARENA_MAX, 1);
#endif
    // The script can run to hundreds of megabytes on stdout: no stdio lock-step.
    std::ios::sync_with_stdio(false);
    std::string currentDirectory;
    try {
        currentDirectory = inkrun::platform::currentDirectory();
    } catch (const std::exception& e) {
        std::cerr << "inkrun-build: " << e.what() << '\n';
        return inkrun::cli::kExitBuildFailed;
    }
    // runBuildCli judges its own output: a written script stays a success when only its
    // success line is lost.
    return inkrun::cli::runBuildCli(args, std::cout, std::cerr, currentDirectory);
}

}  // namespace

#ifdef _WIN32
// The wide command line: main()'s arguments would arrive squeezed into the ANSI code page.
int wmain(int argc, wchar_t* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(inkrun::platform::narrow(argv[i]));
    // The script goes out byte for byte: text mode would turn its CR LF into CR CR LF. A list
    // read from standard input is taken as its bytes too, line ends and all.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    // Messages are UTF-8; a console shows them as such only in its UTF-8 code page.
    const UINT consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0) SetConsoleOutputCP(CP_UTF8);
    const int status = run(args);
    if (consoleCodePage != 0) SetConsoleOutputCP(consoleCodePage);
    return status;
}
#else
int main(int argc, char* argv[]) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
