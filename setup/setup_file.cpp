#include "setup/setup_file.h"

#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"

namespace inkrun::setup {

std::string readSetupFile(const std::string& path) { return platform::readTextFile(path); }

void writeSetupFile(const std::string& path, const std::string& text, UnencodableText unencodable) {
    std::string bytes;
    try {
        bytes = platform::encodeAnsi(text);
    } catch (const platform::UnencodableCharacter& error) {
        if (unencodable == UnencodableText::KeepAsUtf8) {
            platform::writeFileAtomically(path, "\xEF\xBB\xBF" + text);
            return;
        }
        throw platform::FileError("write", path,
                                  "the setup holds " + error.describe() +
                                      ", which the Windows-1252 code page cannot store. Nothing was written.");
    }
    platform::writeFileAtomically(path, bytes);
}

}  // namespace inkrun::setup
