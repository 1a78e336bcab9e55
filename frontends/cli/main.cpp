// inkrun-build: the window's Build command for schedulers and servers without a screen.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "frontends/cli/build_cli.h"
#include "platform/file_lookup.h"

int main(int argc, char* argv[]) {
    // The script can run to hundreds of megabytes on stdout: no stdio lock-step.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string currentDirectory;
    try {
        currentDirectory = inkrun::platform::currentDirectory();
    } catch (const std::exception& e) {
        std::cerr << "inkrun-build: " << e.what() << '\n';
        return inkrun::cli::kExitBuildFailed;
    }
    const int status = inkrun::cli::runBuildCli(args, std::cout, std::cerr, currentDirectory);
    std::cout.flush();
    if (!std::cout && status == inkrun::cli::kExitSuccess) {
        std::cerr << "inkrun-build: could not write standard output\n";
        return inkrun::cli::kExitBuildFailed;
    }
    return status;
}
