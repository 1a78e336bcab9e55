#include "script/script_builder.h"

#include <cstdio>
#include <optional>

#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"

namespace inkrun::script {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kOpenCommand = "_open";

std::string codePointText(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// The first character that would end the quoted path early or start a new script line.
std::optional<std::string> quotingProblem(std::string_view text) {
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

// `whose` names the text only when there is something to report: it is asked once per drawing.
template <typename Label>
std::string encodeFor(std::string_view text, Label whose) {
    try {
        return platform::encodeAnsi(text);
    } catch (const platform::UnencodableCharacter& e) {
        if (e.malformed())
            throw ScriptRefused("Cannot build: " + whose() + " is not valid UTF-8 text (" + e.describe() +
                                "), so its characters are unknown. Nothing was written.");
        throw ScriptRefused("Cannot build: " + whose() + " holds " + e.describe() +
                            ", which the Windows-1252 code page of the script cannot store. Nothing was written.");
    }
}

// The directory (none for full paths) and setup as the script holds them; the names are encoded
// as they are written, so a long list is not held a second time.
struct EncodedJob {
    std::string directoryAndSeparator;
    std::string setup;
};

// Names are quoted escaped: a message must show the whole name, not stop at a NUL in it.
std::string drawingLabel(const std::string& name) {
    return "the drawing \"" + platform::escapeControls(name) + "\"";
}

EncodedJob checkAndEncode(const ScriptJob& job) {
    EncodedJob encoded;
    if (!job.fullPaths) {
        const std::string directoryLabel = "the drawing directory \"" + platform::escapeControls(job.directory) + "\"";
        if (auto problem = quotingProblem(job.directory))
            throw ScriptRefused("Cannot build: " + directoryLabel + " holds " + *problem +
                                ", which would break the script. Nothing was written.");
        encoded.directoryAndSeparator = encodeFor(job.directory, [&] { return directoryLabel; }) + job.separator;
    }
    for (const std::string& name : job.drawings) {
        if (auto problem = quotingProblem(name))
            throw ScriptRefused("Cannot build: " + drawingLabel(name) + " has " + *problem +
                                " in its name, which would break the script. Nothing was written.");
        encodeFor(name, [&] { return drawingLabel(name); });
    }
    encoded.setup = encodeFor(job.setupText, [] { return std::string("the script setup"); });
    return encoded;
}

void writeEncoded(const ScriptJob& job, const EncodedJob& encoded,
                  const std::function<void(std::string_view)>& sink) {
    std::string block;
    auto emit = [&](const std::string& name) {
        block.clear();
        block.append(kOpenCommand).append(kLineEnd);
        block.append(1, '"').append(encoded.directoryAndSeparator).append(platform::encodeAnsi(name));
        block.append(1, '"').append(kLineEnd);
        block.append(encoded.setup).append(kLineEnd);
        sink(block);
    };
    if (job.descending) {
        for (auto it = job.drawings.rbegin(); it != job.drawings.rend(); ++it) emit(*it);
    } else {
        for (const std::string& name : job.drawings) emit(name);
    }
}

}  // namespace

void checkScriptJob(const ScriptJob& job) { checkAndEncode(job); }

void writeScript(const ScriptJob& job, const std::function<void(std::string_view)>& sink) {
    writeEncoded(job, checkAndEncode(job), sink);
}

std::string scriptBytes(const ScriptJob& job) {
    std::string bytes;
    writeScript(job, [&](std::string_view block) { bytes.append(block); });
    return bytes;
}

std::string saveScript(const ScriptJob& job, const std::string& scriptFileName) {
    const EncodedJob encoded = checkAndEncode(job);  // refuse before anything touches the disk
    const std::string path = platform::joinPath(job.directory, scriptFileName, job.separator);
    platform::AtomicFileWriter writer(path);
    writeEncoded(job, encoded, [&](std::string_view block) { writer.write(block); });
    std::vector<std::string> problems;
    try {
        writer.commit();
    } catch (const platform::WrittenWithWarning& warning) {
        problems.push_back(warning.what());
    }

    // The new script is in place: now the old ones stored under another letter case can go, but
    // never a name that leads to the file just written (a link, or one file under two names).
    const std::string listed = job.directory.empty() ? std::string(1, job.separator) : job.directory;
    std::vector<std::string> variants;
    try {
        variants = platform::listCaseVariants(listed, scriptFileName);
    } catch (const platform::FileError&) {
        variants.clear();  // the script is written; stale variants are only clutter
    }
    const auto written = platform::fileIdentity(path);
    for (const std::string& name : variants) {
        if (name == scriptFileName) continue;
        const std::string old = platform::joinPath(job.directory, name, job.separator);
        if (!written || platform::fileIdentity(old) == written) continue;
        try {
            platform::removeFile(old);
        } catch (const platform::FileError& error) {
            problems.push_back("The script is written to " + path + ", but the old script " + old +
                               " could not be deleted: " + error.reason());
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
