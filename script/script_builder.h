#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_lookup.h"

namespace inkrun::script {

// What one Build turns into "Inkrun.scr".
struct ScriptJob {
    std::string directory;              // the drawing directory, exactly as held
    std::vector<std::string> drawings;  // the selected names, in list order
    // The drawings are full paths, written as they stand (from several folders, or mapped for
    // another system); the directory is then only where the script goes.
    bool fullPaths = false;
    std::string setupText;   // replayed after every "_open", exactly as held
    bool descending = true;  // "dsc": the last selected entry first
    char separator = platform::kPathSeparator;
};

// A Build that would write a wrong or unsafe script; the message names the drawing.
class ScriptRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Refuses a directory or drawing name that would break the script's quoting (a double quote, a
// line break or another control character) or that the code page cannot hold, and a setup the
// code page cannot hold. Throws ScriptRefused.
void checkScriptJob(const ScriptJob& job);

// The script's bytes in the code page, in order: for each drawing "_open" CR LF, the quoted full
// path, CR LF, the setup, CR LF. The job is checked first and taken over: its setup is turned into
// the code page where it stands and written from there for every drawing, never copied per
// drawing, so a setup as large as memory is held once.
//
// Into a stream, a piece at a time:
void writeScript(ScriptJob job, const std::function<void(std::string_view)>& sink);
// Into a writer, the pieces handed to the system as they stand:
void writeScript(ScriptJob job, platform::AtomicFileWriter& writer);

// Writes the script to directory + separator + scriptFileName. The new file is written beside
// the old and renamed over it, so a failure leaves the old script whole; only then are old
// scripts whose names differ in letter case removed, never one that leads to the new file.
// Returns the script's path; throws platform::WrittenWithWarning when the script is written but
// an old one could not be removed or the write could not be confirmed durable.
std::string saveScript(ScriptJob job, const std::string& scriptFileName);

}  // namespace inkrun::script
