#pragma once

#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "script/script_batches.h"
#include "script/script_expansion.h"

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
    // Lines written once before the first block and once after the last: settings switched for
    // the run and back. Each line ends in CR LF; a text that ends in a line end adds no empty
    // line (which the CAD program would take for Enter).
    std::optional<std::string> preamble;
    std::optional<std::string> epilogue;
    // The setup, preamble and epilogue take each drawing's values (script_expansion.h); the
    // preamble and epilogue belong to no drawing and may hold only "%%".
    bool expand = false;
};

// A Build that would write a wrong or unsafe script; the message names the drawing.
class ScriptRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Refuses a directory or drawing name that would break the script's quoting (a double quote, a
// line break or another control character) or that the code page cannot hold, a setup, preamble
// or epilogue the code page cannot hold, and values they cannot take. Throws ScriptRefused.
void checkScriptJob(const ScriptJob& job);

// Refuses a path the script quotes, as it refuses a drawing's; `what` names it ("the next
// script's path"). Throws ScriptRefused.
void checkQuotedPath(const std::string& path, const std::string& what);

// Pieces of a script handed on together; they last during the call.
using PieceSink = std::function<void(std::span<const std::string_view>)>;

// A job checked and turned into the code page, ready to be written as one script or as several.
// Its setup is turned where it stands and written from there for every drawing, never copied per
// drawing, so a setup as large as memory is held once.
class PreparedScript {
public:
    // Throws ScriptRefused as checkScriptJob does.
    explicit PreparedScript(ScriptJob job);

    // The job, its setup in the code page.
    const ScriptJob& job() const { return job_; }
    std::size_t drawingCount() const { return job_.drawings.size(); }
    // The drawing opened at `position` (from 0) in the order the script opens them, as held.
    const std::string& drawingAt(std::size_t position) const {
        return job_.drawings[job_.descending ? job_.drawings.size() - 1 - position : position];
    }

    // The script's bytes in the code page, in order: the preamble; for each drawing "_open" CR LF,
    // the quoted full path, CR LF, the setup, CR LF; the epilogue. A batch holds its drawings and
    // ends by starting the next script: "_script" CR LF and its quoted path CR LF.
    void write(const PieceSink& sink) const;
    void write(const ScriptBatch& batch, const PieceSink& sink) const;

private:
    void appendTail(std::vector<std::string_view>& pieces, const std::string& name, bool last) const;

    ScriptJob job_;
    std::string opening_;    // CR LF "_open" CR LF, the quote, the directory and separator
    std::string frame_;      // the quote's end, the setup and the opening; empty for a large setup
    std::string directory_;  // in the code page
    std::string separator_;
    std::optional<std::string> preamble_;  // in the code page, ending in a line end
    std::optional<std::string> epilogue_;
    std::vector<ExpandableText::Part> setupParts_;  // with expand: the setup cut at its values
    std::size_t piecesPerDrawing_ = 0;              // at most
};

// The script's bytes for a whole job, which is checked first and taken over.
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

// Scripts of one job, written into one folder.
struct SavedScripts {
    std::vector<std::string> paths;    // the batches' scripts, in order
    std::vector<std::string> removed;  // numbered scripts an earlier run left
};

// Writes each batch to directory + separator + its name, as saveScript writes one, but all of
// them beside their old files before any is put in place: a failure on the way leaves every old
// script whole. `beforeCommit`, when given, runs once all are written and may throw to put none
// in place. With `removeLeftovers`, numbered scripts of `scriptFileName` that this run did not
// write are removed at the end, so that none of an earlier, longer run can be started by
// mistake. Throws as saveScript does.
SavedScripts saveScripts(const PreparedScript& script, const std::vector<ScriptBatch>& batches,
                         const std::string& directory, char separator, const std::string& scriptFileName,
                         const std::function<void()>& beforeCommit, bool removeLeftovers);

// The numbered scripts of `scriptFileName` in the directory that a run writing `batches` would
// remove. Throws platform::FileError when the directory cannot be listed.
std::vector<std::string> leftoverScripts(const std::string& directory, const std::vector<ScriptBatch>& batches,
                                         const std::string& scriptFileName, char separator);

}  // namespace inkrun::script
