// inkrun-option-docs: writes the documentation that repeats inkrun-build's option table, so that
// none of it is kept by hand.
//   inkrun-option-docs man TEMPLATE OUTPUT          the manual page, its option sections filled in
//   inkrun-option-docs completion TEMPLATE OUTPUT   the bash completion, its option words filled in
//   inkrun-option-docs readme|help-page FILE        FILE's option list written anew (Markdown, HTML)
//   inkrun-option-docs check-readme|check-help-page FILE
//                                                   fails, saying how to mend it, when FILE's list differs
#include <exception>
#include <iostream>
#include <string>

#include "frontends/cli/option_docs.h"
#include "platform/file_io.h"

int main(int argc, char* argv[]) {
    using namespace inkrun;
    std::string mode = argc > 1 ? argv[1] : "";
    try {
        if ((mode == "man" || mode == "completion") && argc == 4) {
            const std::string text = platform::readWholeFile(argv[2]);
            platform::writeFileAtomically(
                argv[3], mode == "man" ? cli::manPageWithOptions(text) : cli::completionWithOptions(text));
            return 0;
        }
        const bool check = mode.starts_with("check-");
        if (check) mode = mode.substr(6);
        if ((mode == "readme" || mode == "help-page") && argc == 3) {
            const auto format = mode == "readme" ? cli::DocumentFormat::Markdown : cli::DocumentFormat::Html;
            const std::string document = platform::readWholeFile(argv[2]);
            const std::string wanted = cli::documentWithOptionList(document, format);
            if (wanted == document) return 0;
            if (!check) {
                platform::writeFileAtomically(argv[2], wanted);
                return 0;
            }
            std::cerr << argv[2] << ": the option list differs from inkrun-build's option table; write it anew with\n"
                      << "  " << argv[0] << " " << mode << " " << argv[2] << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "inkrun-option-docs: " << e.what() << '\n';
        return 1;
    }
    std::cerr << "usage: inkrun-option-docs man|completion TEMPLATE OUTPUT | [check-]readme FILE"
                 " | [check-]help-page FILE\n";
    return 2;
}
