#include "script/script_expansion.h"

#include <array>
#include <cctype>

#include "platform/ansi_codec.h"
#include "platform/file_lookup.h"
#include "script/script_builder.h"

namespace inkrun::script {

namespace {

struct NamedValue {
    std::string_view name;
    DrawingValue value;
};
constexpr std::array kValues{NamedValue{"DWGNAME", DrawingValue::Name}, NamedValue{"DWGFILE", DrawingValue::File},
                             NamedValue{"DWGDIR", DrawingValue::Folder}, NamedValue{"DWGPATH", DrawingValue::Path}};

// ASCII only, whatever the locale: the name reads the same in UTF-8 and in the code page.
bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The line of `text` that holds `offset`, numbered from 1, and its text.
std::pair<std::size_t, std::string_view> lineAt(std::string_view text, std::size_t offset) {
    std::size_t number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++number;
        start = i + 1;
    }
    const std::size_t end = text.find_first_of("\r\n", start);
    return {number, text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)};
}

[[noreturn]] void refuse(std::string_view text, std::size_t offset, const std::string& whose, const std::string& what) {
    const auto [number, line] = lineAt(text, offset);
    throw ScriptRefused("Cannot build: line " + std::to_string(number) + " of " + whose + " (\"" +
                        platform::escapeControls(line) + "\") holds " + what + ". Nothing was written.");
}

}  // namespace

bool ExpandableText::usesDrawing() const {
    for (const Part& part : parts)
        if (part.value) return true;
    return false;
}

std::string ExpandableText::literalText() const {
    std::string text;
    for (const Part& part : parts) text.append(part.literal);
    return text;
}

ExpandableText readExpansions(std::string_view text, const std::string& whose, bool perDrawing) {
    ExpandableText result;
    std::size_t start = 0;
    for (std::size_t percent = text.find('%'); percent != std::string_view::npos; percent = text.find('%', start)) {
        if (percent + 1 < text.size() && text[percent + 1] == '%') {
            result.parts.push_back({text.substr(start, percent + 1 - start), std::nullopt});
            start = percent + 2;
            continue;
        }
        std::size_t end = percent + 1;
        while (end < text.size() && isNameCharacter(text[end])) ++end;
        if (end == percent + 1 || end == text.size() || text[end] != '%')
            refuse(text, percent, whose, "a percent sign that begins no %NAME%: with --expand, %% is one percent sign");
        const std::string_view name = text.substr(percent + 1, end - percent - 1);
        const std::string written(text.substr(percent, end - percent + 1));  // "%NAME%"
        const NamedValue* found = nullptr;
        for (const NamedValue& named : kValues)
            if (platform::equalsIgnoringCase(named.name, name)) found = &named;
        if (!found)
            refuse(text, percent, whose,
                   written +
                       ", which names no value: --expand knows %DWGNAME%, %DWGFILE%, %DWGDIR% and %DWGPATH%, and %% "
                       "for a percent sign");
        if (!perDrawing)
            refuse(text, percent, whose, written + ", a value of a drawing, but it is written once for all of them");
        result.parts.push_back({text.substr(start, percent - start), found->value});
        start = end + 1;
    }
    result.parts.push_back({text.substr(start), std::nullopt});
    return result;
}

WrittenPath cutWrittenPath(std::string_view path) {
    const bool windows = (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') ||
                         path.starts_with("\\\\");
    const std::size_t cut = path.find_last_of(windows ? "\\/" : "/");
    if (cut == std::string_view::npos) return {{}, {}, path};
    return {path.substr(0, cut), path.substr(cut, 1), path.substr(cut + 1)};
}

void appendValue(DrawingValue value, const WrittenPath& path, std::vector<std::string_view>& pieces) {
    switch (value) {
    case DrawingValue::Path:
        pieces.push_back(path.folder);
        pieces.push_back(path.separator);
        pieces.push_back(path.file);
        return;
    case DrawingValue::Folder: pieces.push_back(path.folder); return;
    case DrawingValue::File: pieces.push_back(path.file); return;
    case DrawingValue::Name: pieces.push_back(path.file.substr(0, path.file.rfind('.'))); return;
    }
}

}  // namespace inkrun::script
