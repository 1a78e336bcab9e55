#include "script/script_builder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <span>

#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/folder.h"

namespace inkrun::script {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kOpenCommand = "_open";

std::string codePointText(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// The bytes that may begin a quoting problem: the quote, C0 controls, DEL, and the lead byte of
// the C1 controls.
constexpr std::array<bool, 256> kMayBreakQuoting = [] {
    std::array<bool, 256> bytes{};
    for (int byte = 0; byte < 0x20; ++byte) bytes[byte] = true;
    bytes['"'] = bytes[0x7F] = bytes[0xC2] = true;
    return bytes;
}();

// The first character that would end the quoted path early or start a new script line.
std::optional<std::string> quotingProblem(std::string_view text) {
    if (std::none_of(text.begin(), text.end(), [](char c) { return kMayBreakQuoting[static_cast<unsigned char>(c)]; }))
        return std::nullopt;  // most names: one look at each byte
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"') return std::string("a double quote");
        if (byte == '\r' || byte == '\n') return "a line break (" + codePointText(byte) + ")";
        if (byte < 0x20 || byte == 0x7F) return "a control character (" + codePointText(byte) + ")";
        // C1 controls, U+0080..U+009F, are C2 80..C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return "a control character (" + codePointText(next) + ")";
        }
    }
    return std::nullopt;
}

// Runs encode() and reports a character it cannot encode as a refusal; `whose` names the text,
// asked only when there is something to report.
template <typename Label, typename Encode>
auto encodingFor(Label whose, Encode encode) {
    try {
        return encode();
    } catch (const platform::UnencodableCharacter& e) {
        if (e.malformed())
            throw ScriptRefused("Cannot build: " + whose() + " is not valid UTF-8 text (" + e.describe() +
                                "), so its characters are unknown. Nothing was written.");
        throw ScriptRefused("Cannot build: " + whose() + " holds " + e.describe() +
                            ", which the Windows-1252 code page of the script cannot store. Nothing was written.");
    }
}

// Names are quoted escaped: a message must show the whole name, not stop at a NUL in it.
std::string drawingLabel(const std::string& name) { return "the drawing \"" + platform::escapeControls(name) + "\""; }

// Refuses what checkScriptJob refuses; returns what stands before each name in the code page:
// the directory and separator, or nothing for full paths.
std::string checkDirectoryAndNames(const ScriptJob& job) {
    std::string directory;
    if (!job.fullPaths) {
        const std::string directoryLabel = "the drawing directory \"" + platform::escapeControls(job.directory) + "\"";
        if (auto problem = quotingProblem(job.directory))
            throw ScriptRefused("Cannot build: " + directoryLabel + " holds " + *problem +
                                ", which would break the script. Nothing was written.");
        directory = encodingFor([&] { return directoryLabel; }, [&] { return platform::encodeAnsi(job.directory); });
        directory.push_back(job.separator);
    }
    for (const std::string& name : job.drawings) {
        if (auto problem = quotingProblem(name))
            throw ScriptRefused("Cannot build: " + drawingLabel(name) + " has " + *problem +
                                " in its name, which would break the script. Nothing was written.");
        if (!platform::isAscii(name))
            encodingFor([&] { return drawingLabel(name); }, [&] { return platform::encodeAnsi(name); });
    }
    return directory;
}

std::string setupLabel() { return "the script setup"; }

// A setup up to this size is copied once into the frame between two names, so that a drawing is
// two pieces; a larger one stands as a piece of its own, never copied.
constexpr std::size_t kFramedSetup = 64 * 1024;
// Pieces a gather write takes at most (POSIX's IOV_MAX on Linux).
constexpr std::size_t kPiecesPerBatch = 1024;
constexpr std::string_view kQuoteEnd = "\"\r\n";

bool endsInLineEnd(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

// A preamble or epilogue in the code page, its last line ended.
std::string preparedLines(const std::string& text, const std::string& whose, bool expand) {
    std::string lines = expand ? readExpansions(text, whose, false).literalText() : text;
    encodingFor([&] { return whose; }, [&] { platform::encodeAnsiInPlace(lines); });
    if (!endsInLineEnd(lines)) lines += kLineEnd;
    return lines;
}

}  // namespace

PreparedScript::PreparedScript(ScriptJob job) : job_(std::move(job)) {
    directory_ = checkDirectoryAndNames(job_);
    if (!directory_.empty()) {
        separator_ = directory_.substr(directory_.size() - 1);
        directory_.pop_back();
    }
    opening_ = std::string(kLineEnd) + std::string(kOpenCommand) + std::string(kLineEnd) + '"' + directory_ +
               separator_;
    if (job_.preamble) preamble_ = preparedLines(*job_.preamble, "the preamble", job_.expand);
    if (job_.epilogue) epilogue_ = preparedLines(*job_.epilogue, "the epilogue", job_.expand);
    // With expand the values are read in the text as written, where a refusal can quote it, then
    // again in the text turned, whose parts are cut from the one copy held.
    if (job_.expand) readExpansions(job_.setupText, setupLabel());
    encodingFor(setupLabel, [&] { platform::encodeAnsiInPlace(job_.setupText); });
    if (job_.expand) {
        setupParts_ = readExpansions(job_.setupText, setupLabel()).parts;
        piecesPerDrawing_ = 3 + setupParts_.size() * 4;
        return;
    }
    if (job_.setupText.size() <= kFramedSetup) frame_ = std::string(kQuoteEnd) + job_.setupText + opening_;
    piecesPerDrawing_ = 4;
}

void PreparedScript::write(const PieceSink& sink) const { write(ScriptBatch{{}, 0, drawingCount(), {}}, sink); }

void PreparedScript::write(const ScriptBatch& batch, const PieceSink& sink) const {
    std::vector<std::string_view> pieces;
    pieces.reserve(kPiecesPerBatch);
    std::deque<std::string> encodedNames;  // the batch's names that are not ASCII, where they stay put
    if (preamble_) pieces.push_back(*preamble_);
    pieces.push_back(std::string_view(opening_).substr(kLineEnd.size()));
    for (std::size_t i = 0; i < batch.count; ++i) {
        if (pieces.size() + piecesPerDrawing_ > kPiecesPerBatch) {
            sink(pieces);
            pieces.clear();
            encodedNames.clear();
        }
        const std::string& held = drawingAt(batch.first + i);
        const std::string& name = platform::isAscii(held) ? held
                                                          : encodedNames.emplace_back(platform::encodeAnsi(held));
        pieces.push_back(name);
        appendTail(pieces, name, i + 1 == batch.count);
    }
    if (epilogue_) pieces.push_back(*epilogue_);
    std::string next;
    if (batch.next) {
        next = "_script\r\n\"" + platform::encodeAnsi(*batch.next) + std::string(kQuoteEnd);
        pieces.push_back(next);
    }
    sink(pieces);
}

// What follows a name: the closing quote, the setup, and the next "_open" or the last line end.
void PreparedScript::appendTail(std::vector<std::string_view>& pieces, const std::string& name, bool last) const {
    const std::size_t next = last ? opening_.size() - kLineEnd.size() : 0;
    const std::string_view opening = std::string_view(opening_).substr(0, opening_.size() - next);
    if (!frame_.empty()) {
        pieces.push_back(std::string_view(frame_).substr(0, frame_.size() - next));
        return;
    }
    if (!job_.expand) {
        pieces.push_back(kQuoteEnd);
        pieces.push_back(job_.setupText);
        pieces.push_back(opening);
        return;
    }
    const WrittenPath path = job_.fullPaths ? cutWrittenPath(name) : WrittenPath{directory_, separator_, name};
    pieces.push_back(kQuoteEnd);
    for (const ExpandableText::Part& part : setupParts_) {
        pieces.push_back(part.literal);
        if (part.value) appendValue(*part.value, path, pieces);
    }
    pieces.push_back(opening);
}

void checkScriptJob(const ScriptJob& job) { PreparedScript{ScriptJob(job)}; }

void checkQuotedPath(const std::string& path, const std::string& what) {
    const std::string label = what + " \"" + platform::escapeControls(path) + "\"";
    if (auto problem = quotingProblem(path))
        throw ScriptRefused("Cannot build: " + label + " holds " + *problem +
                            ", which would break the script. Nothing was written.");
    encodingFor([&] { return label; }, [&] { return platform::encodeAnsi(path); });
}

void writeScript(ScriptJob job, const std::function<void(std::string_view)>& sink) {
    PreparedScript(std::move(job)).write([&](std::span<const std::string_view> pieces) {
        for (const std::string_view piece : pieces) sink(piece);
    });
}

void writeScript(ScriptJob job, platform::AtomicFileWriter& writer) {
    PreparedScript(std::move(job)).write([&](std::span<const std::string_view> pieces) { writer.writePieces(pieces); });
}

namespace {

// The folder the scripts go into, opened once: the old scripts' lookup, the writes and the
// clean-up all happen in the folder as it was opened.
platform::Folder scriptFolder(const std::string& directory, const std::string& firstPath, char separator) {
    try {
        return platform::Folder::open(directory, "write", separator);
    } catch (const platform::FileError& error) {
        throw platform::FileError("write", firstPath, error.reason());
    }
}

// What stands in the folder under the batches' names in other letter cases, and the numbered
// scripts no batch writes.
struct OldScripts {
    std::vector<std::vector<std::string>> variants;  // for each batch
    std::vector<std::string> leftovers;
};

OldScripts oldScripts(const platform::Folder& folder, const std::vector<ScriptBatch>& batches,
                      const std::string& scriptFileName, bool listLeftovers) {
    OldScripts old;
    old.variants.resize(batches.size());
    try {
        if (!listLeftovers) {
            // One script: the lookup answers from the read that listed the drawings.
            for (std::size_t i = 0; i < batches.size(); ++i) old.variants[i] = folder.caseVariants(batches[i].name);
            return old;
        }
        for (std::string& name : folder.ordinaryFiles()) {
            bool ours = false;
            for (std::size_t i = 0; i < batches.size(); ++i)
                if (platform::equalsIgnoringCase(name, batches[i].name)) {
                    old.variants[i].push_back(name);
                    ours = true;
                }
            if (!ours && isNumberedScriptOf(name, scriptFileName)) old.leftovers.push_back(std::move(name));
        }
        std::sort(old.leftovers.begin(), old.leftovers.end());
    } catch (const platform::FileError&) {
        return OldScripts{std::vector<std::vector<std::string>>(batches.size()), {}};  // the write says what is wrong
    }
    return old;
}

// Once the script `name` is in place: old scripts stored under another letter case go, never a
// name that leads to the new one (a link, or one file under two names).
void settleLetterCase(const platform::Folder& folder, const std::string& name, const std::vector<std::string>& variants,
                      std::vector<std::string>& problems) {
    const std::string path = folder.pathOf(name);
    const auto written = folder.identityOf(name);
    const bool spelledAsIs = std::find(variants.begin(), variants.end(), name) != variants.end();
    std::optional<std::string> keptSpelling;  // the new script's name when the folder kept an old one's
    for (const std::string& variant : variants) {
        if (variant == name) continue;
        if (!written) continue;  // which name leads to the new script is unknown: none goes
        if (folder.identityOf(variant) == written) {
            if (!spelledAsIs) keptSpelling = variant;
            continue;
        }
        try {
            folder.removeFile(variant);
        } catch (const platform::FileError& error) {
            problems.push_back("The script is written to " + path + ", but the old script " + folder.pathOf(variant) +
                               " could not be deleted: " + error.reason());
        }
    }
    // A folder that ignores case kept the replaced file's spelling ("INKRUN.SCR"): the script
    // takes its own name, once no other old script holds it, so the folder holds exactly that.
    if (!keptSpelling) return;
    try {
        folder.renameLetterCase(*keptSpelling, name);
    } catch (const platform::FileError& error) {
        problems.push_back("The script is written to " + folder.pathOf(*keptSpelling) +
                           ", but it could not be renamed to " + name + ": " + error.reason());
    }
}

}  // namespace

std::string saveScript(ScriptJob job, const std::string& scriptFileName) {
    const std::string directory = job.directory;
    const char separator = job.separator;
    const PreparedScript script(std::move(job));  // refuse before anything touches the disk
    const ScriptBatch whole{scriptFileName, 0, script.drawingCount(), {}};
    return saveScripts(script, {whole}, directory, separator, scriptFileName, {}, false).paths.front();
}

SavedScripts saveScripts(const PreparedScript& script, const std::vector<ScriptBatch>& batches,
                         const std::string& directory, char separator, const std::string& scriptFileName,
                         const std::function<void()>& beforeCommit, bool removeLeftovers) {
    SavedScripts saved;
    for (const ScriptBatch& batch : batches)
        saved.paths.push_back(platform::joinPath(directory, batch.name, separator));
    const platform::Folder folder = scriptFolder(directory, saved.paths.front(), separator);
    const OldScripts old = oldScripts(folder, batches, scriptFileName, removeLeftovers);

    // Every script is written beside its old one before any is put in place.
    platform::allowOpenFiles(2 * batches.size() + 64);
    std::vector<std::unique_ptr<platform::AtomicFileWriter>> writers;
    for (const ScriptBatch& batch : batches) {
        writers.push_back(std::make_unique<platform::AtomicFileWriter>(folder, batch.name));
        script.write(batch, [&](std::span<const std::string_view> pieces) { writers.back()->writePieces(pieces); });
    }
    if (beforeCommit) beforeCommit();
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        try {
            writers[i]->commit();
        } catch (const platform::WrittenWithWarning& warning) {
            problems.push_back(warning.what());
        } catch (const platform::FileError& error) {
            // Those already in place would start old ones: they go too.
            std::string removed;
            for (std::size_t done = 0; done < i; ++done) {
                try {
                    folder.removeFile(batches[done].name);
                    removed += (removed.empty() ? "" : ", ") + batches[done].name;
                } catch (const platform::FileError&) {
                }
            }
            if (removed.empty()) throw;
            throw platform::FileError("write", saved.paths[i],
                                      error.reason() + "; the scripts of this run already in place (" + removed +
                                          ") are removed again, so that none starts an old one");
        }
    }

    for (std::size_t i = 0; i < batches.size(); ++i)
        settleLetterCase(folder, batches[i].name, old.variants[i], problems);
    for (const std::string& leftover : old.leftovers) {
        const auto identity = folder.identityOf(leftover);
        const bool leadsToNew = std::any_of(batches.begin(), batches.end(), [&](const ScriptBatch& batch) {
            return folder.identityOf(batch.name) == identity;
        });
        if (!identity || leadsToNew) continue;
        try {
            folder.removeFile(leftover);
            saved.removed.push_back(folder.pathOf(leftover));
        } catch (const platform::FileError& error) {
            problems.push_back("The old script " + folder.pathOf(leftover) +
                               " of an earlier run could not be deleted: " + error.reason());
        }
    }
    if (!problems.empty()) {
        std::string text = problems.front();
        for (std::size_t i = 1; i < problems.size(); ++i) text += ". " + problems[i];
        throw platform::WrittenWithWarning(saved.paths.front(), text + ".");
    }
    return saved;
}

std::vector<std::string> leftoverScripts(const std::string& directory, const std::vector<ScriptBatch>& batches,
                                         const std::string& scriptFileName, char separator) {
    const platform::Folder folder = platform::Folder::open(directory, "list", separator);
    std::vector<std::string> paths;
    for (const std::string& name : oldScripts(folder, batches, scriptFileName, true).leftovers)
        paths.push_back(folder.pathOf(name));
    return paths;
}

}  // namespace inkrun::script
