#include "script/script_builder.h"

#include <algorithm>
#include <array>
#include <cstdio>
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

// A checked job, its setup in the code page, with the bytes that stand between two names.
class PreparedScript {
public:
    explicit PreparedScript(ScriptJob job) : job_(std::move(job)) {
        opening_ = std::string(kLineEnd) + std::string(kOpenCommand) + std::string(kLineEnd) + '"' +
                   checkDirectoryAndNames(job_);
        encodingFor(setupLabel, [&] { platform::encodeAnsiInPlace(job_.setupText); });
        if (job_.setupText.size() <= kFramedSetup) frame_ = std::string(kQuoteEnd) + job_.setupText + opening_;
    }

    // Hands the script to `sink` a batch of pieces at a time; the pieces last during the call.
    void write(const std::function<void(std::span<const std::string_view>)>& sink) const {
        std::vector<std::string_view> pieces;
        pieces.reserve(kPiecesPerBatch);
        std::vector<std::string> encodedNames;  // the batch's names that are not ASCII
        encodedNames.reserve(kPiecesPerBatch);
        pieces.push_back(std::string_view(opening_).substr(kLineEnd.size()));
        const std::size_t count = job_.drawings.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (pieces.size() + 4 > kPiecesPerBatch) {
                sink(pieces);
                pieces.clear();
                encodedNames.clear();
            }
            const std::string& name = job_.drawings[job_.descending ? count - 1 - i : i];
            if (platform::isAscii(name)) {
                pieces.push_back(name);
            } else {
                encodedNames.push_back(platform::encodeAnsi(name));
                pieces.push_back(encodedNames.back());
            }
            appendTail(pieces, i + 1 == count);
        }
        sink(pieces);
    }

private:
    static constexpr std::string_view kQuoteEnd = "\"\r\n";

    // What follows a name: the closing quote, the setup, and the next "_open" or the last line end.
    void appendTail(std::vector<std::string_view>& pieces, bool last) const {
        const std::size_t next = last ? opening_.size() - kLineEnd.size() : 0;
        if (!frame_.empty()) {
            pieces.push_back(std::string_view(frame_).substr(0, frame_.size() - next));
            return;
        }
        pieces.push_back(kQuoteEnd);
        pieces.push_back(job_.setupText);
        pieces.push_back(std::string_view(opening_).substr(0, opening_.size() - next));
    }

    ScriptJob job_;
    std::string opening_;  // CR LF "_open" CR LF, the quote, the directory and separator
    std::string frame_;    // the quote's end, the setup and the opening; empty for a large setup
};

}  // namespace

void checkScriptJob(const ScriptJob& job) {
    checkDirectoryAndNames(job);
    encodingFor(setupLabel, [&] { return platform::encodeAnsi(job.setupText); });
}

void writeScript(ScriptJob job, const std::function<void(std::string_view)>& sink) {
    PreparedScript(std::move(job)).write([&](std::span<const std::string_view> pieces) {
        for (const std::string_view piece : pieces) sink(piece);
    });
}

void writeScript(ScriptJob job, platform::AtomicFileWriter& writer) {
    PreparedScript(std::move(job)).write([&](std::span<const std::string_view> pieces) { writer.writePieces(pieces); });
}

std::string saveScript(ScriptJob job, const std::string& scriptFileName) {
    const std::string directory = job.directory;
    const char separator = job.separator;
    const std::string path = platform::joinPath(directory, scriptFileName, separator);
    const PreparedScript script(std::move(job));  // refuse before anything touches the disk

    // The folder is opened once: the old scripts' lookup, the write and the clean-up all happen
    // in the folder as it was opened.
    const platform::Folder folder = [&] {
        try {
            return platform::Folder::open(directory, "write", separator);
        } catch (const platform::FileError& error) {
            throw platform::FileError("write", path, error.reason());
        }
    }();
    // Old scripts stored under another letter case, found before the write (so that the one
    // read of the directory serves the writer too) and removed only once the new one is in
    // place, never a name that leads to the file just written (a link, or one file under two names).
    std::vector<std::string> variants;
    try {
        variants = folder.caseVariants(scriptFileName);
    } catch (const platform::FileError&) {
        variants.clear();  // the write reports what is wrong with the directory
    }

    platform::AtomicFileWriter writer(folder, scriptFileName);
    script.write([&](std::span<const std::string_view> pieces) { writer.writePieces(pieces); });
    std::vector<std::string> problems;
    try {
        writer.commit();
    } catch (const platform::WrittenWithWarning& warning) {
        problems.push_back(warning.what());
    }

    const auto written = folder.identityOf(scriptFileName);
    const bool spelledAsIs = std::find(variants.begin(), variants.end(), scriptFileName) != variants.end();
    std::optional<std::string> keptSpelling;  // the new script's name when the folder kept an old one's
    for (const std::string& name : variants) {
        if (name == scriptFileName) continue;
        const std::string old = folder.pathOf(name);
        if (!written) continue;  // which name leads to the new script is unknown: none goes
        if (folder.identityOf(name) == written) {
            if (!spelledAsIs) keptSpelling = name;
            continue;
        }
        try {
            folder.removeFile(name);
        } catch (const platform::FileError& error) {
            problems.push_back("The script is written to " + path + ", but the old script " + old +
                               " could not be deleted: " + error.reason());
        }
    }
    // A folder that ignores case kept the replaced file's spelling ("INKRUN.SCR"): the script
    // takes its own name, once no other old script holds it, so the folder holds exactly that.
    if (keptSpelling) {
        try {
            folder.renameLetterCase(*keptSpelling, scriptFileName);
        } catch (const platform::FileError& error) {
            problems.push_back("The script is written to " + folder.pathOf(*keptSpelling) +
                               ", but it could not be renamed to " + scriptFileName + ": " + error.reason());
        }
    }
    if (!problems.empty()) {
        std::string text = problems.front();
        for (std::size_t i = 1; i < problems.size(); ++i) text += ". " + problems[i];
        throw platform::WrittenWithWarning(path, text + ".");
    }
    return path;
}

}  // namespace inkrun::script
