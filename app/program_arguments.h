#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inkrun {

// What the window's program makes of its command line. The window itself reads nothing there:
// --help and --version answer and end, before any window or display is touched and without
// closing a running copy. Every other argument is refused the same way: a mistyped option must
// not start a window that closes the copy the person is working in.
struct ProgramArguments {
    enum class Action { OpenWindow, Answer, Refuse };
    Action action = Action::OpenWindow;
    std::string text;    // the answer or the refusal, each line ended by a line break
    int exitStatus = 0;  // 0 for an answer, 2 for a refusal
};

// How an answer is laid out: for a terminal, in lines of at most 80 columns; for a message box,
// which breaks lines at its own width, a paragraph to a line and an option's meaning after a tab.
enum class TextLayout { Terminal, Box };

// The answer to --version of `program`, as GNU programs give it: the name, the product in
// parentheses and the version, its last word, on the first line; then the copyright, the licence
// and that there is no warranty. The same lines on a terminal and in a box.
std::string versionText(std::string_view program);

// `arguments` without the program's own name.
ProgramArguments readProgramArguments(const std::vector<std::string>& arguments,
                                      TextLayout layout = TextLayout::Terminal);

}  // namespace inkrun
