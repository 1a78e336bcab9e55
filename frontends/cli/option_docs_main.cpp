// inkrun-option-docs: writes the documentation that repeats inkrun-build's option table, so that
// none of it is kept by hand.
//   inkrun-option-docs man TEMPLATE OUTPUT   the manual page, its option sections filled in
//   inkrun-option-docs readme FILE           FILE's option list written anew
//   inkrun-option-docs check-readme FILE     fails, saying how to mend it, when FILE's list differs
#include <exception>
#include <iostream>
#include <string>

#include "frontends/cli/option_docs.h"
#include "platform/file_io.h"

int main(int argc, char* argv[]) {
    using namespace inkrun;
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "man" && argc == 4) {
            platform::writeFileAtomically(argv[3], cli::manPageWithOptions(platform::readWholeFile(argv[2])));
            return 0;
        }
        if ((mode == "readme" || mode == "check-readme") && argc == 3) {
            const std::string document = platform::readWholeFile(argv[2]);
            const std::string wanted = cli::documentWithOptionList(document);
            if (wanted == document) return 0;
            if (mode == "readme") {
                platform::writeFileAtomically(argv[2], wanted);
                return 0;
            }
            std::cerr << argv[2] << ": the option list differs from inkrun-build's option table; write it anew with\n"
                      << "  " << argv[0] << " readme " << argv[2] << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "inkrun-option-docs: " << e.what() << '\n';
        return 1;
    }
    std::cerr << "usage: inkrun-option-docs man TEMPLATE OUTPUT | readme FILE | check-readme FILE\n";
    return 2;
}
