#include "setup/setup_file.h"

#include <new>
#include <stdexcept>
#include <string_view>

#include "model/setup_line_ends.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/folder.h"

namespace inkrun::setup {

namespace {

// Bytes of the code page as UTF-8; a text too large to hold twice is named with its size.
std::string decoded(std::string bytes, const std::string& path) {
    if (platform::isAscii(bytes)) return bytes;  // already UTF-8: not held a second time
    try {
        return platform::decodeAnsi(bytes);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    throw platform::FileError(
        "read", path,
        "at " + platform::describeSize(bytes.size()) + " it is larger than the memory available to hold it as text");
}

// Where text that should be UTF-8 is not: "the bytes \xE9\x41 at byte 12" (counted in the file).
std::string firstMalformed(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t character = 0;
        try {
            at += platform::decodeUtf8Character(utf8, at, character);
        } catch (const platform::UnencodableCharacter& error) {
            return error.describe() + " at byte " + std::to_string(at + 1 + platform::kUtf8Mark.size());
        }
    }
    return "its bytes";
}

}  // namespace

std::string setupTextOf(std::string bytes, const std::string& path) {
    if (!bytes.starts_with(platform::kUtf8Mark)) return withEditorLineEnds(decoded(std::move(bytes), path));
    bytes.erase(0, platform::kUtf8Mark.size());
    if (!platform::isValidUtf8(bytes))
        throw platform::FileError("read", path,
                                  "it starts with a UTF-8 byte-order mark, but " + firstMalformed(bytes) +
                                      " are not UTF-8, so its characters are unknown");
    return withEditorLineEnds(std::move(bytes));
}

std::string readSetupFile(const std::string& path) { return setupTextOf(platform::readWholeFile(path), path); }

namespace {

// The file's bytes for the editor's text.
std::string setupFileBytes(const std::string& text, const std::string& path, UnencodableText unencodable) {
    const std::string held = holdsEditorLineEnds(text) ? std::string() : withEditorLineEnds(text);
    const std::string& lines = held.empty() ? text : held;
    std::string bytes;
    try {
        bytes = platform::encodeAnsi(lines);
    } catch (const platform::UnencodableCharacter& error) {
        if (unencodable == UnencodableText::Refuse)
            throw platform::FileError("write", path,
                                      "the setup holds " + error.describe() +
                                          ", which the Windows-1252 code page cannot store. Nothing was written.");
        bytes.clear();
    }
    // A text the code page cannot hold, or one whose first characters are the mark's own bytes
    // there ("ï»¿"), goes as UTF-8 behind the mark: read back, it is the same text.
    if (bytes.empty() != lines.empty() || bytes.starts_with(platform::kUtf8Mark))
        bytes = std::string(platform::kUtf8Mark) + lines;
    return bytes;
}

}  // namespace

void writeSetupFile(const std::string& path, const std::string& text, UnencodableText unencodable) {
    platform::writeFileAtomically(path, setupFileBytes(text, path, unencodable));
}

void writeSetupFile(const platform::Folder& folder, const std::string& name, const std::string& text,
                    UnencodableText unencodable) {
    const std::string bytes = setupFileBytes(text, folder.pathOf(name), unencodable);
    platform::AtomicFileWriter writer(folder, name);
    writer.write(bytes);
    writer.commit();
}

}  // namespace inkrun::setup
