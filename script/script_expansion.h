#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Values taken from each drawing into the lines replayed after it ("--expand"): %DWGNAME% the
// drawing's name without its extension, %DWGFILE% its file name, %DWGDIR% the folder part of its
// path, %DWGPATH% its path, each as the script writes it; %% is one percent sign. Names are
// read without regard to case.

namespace inkrun::script {

enum class DrawingValue { Name, File, Folder, Path };

// A text cut where the values go: each part is a run of the text and the value that follows it,
// if any. The runs are views of the text read, which must outlive them; "%%" ends a run with its
// first "%" and the next run starts after the second.
struct ExpandableText {
    struct Part {
        std::string_view literal;
        std::optional<DrawingValue> value;
    };
    std::vector<Part> parts;

    bool usesDrawing() const;
    // The literal text alone: for a text that uses no value, the text with "%%" made "%".
    std::string literalText() const;
};

// Reads the values of `text`. Throws ScriptRefused, naming `whose` ("the script setup") and the
// line, for a %NAME% that is none of them and for a percent sign that begins neither a name nor
// "%%": a value misspelt must not reach the CAD program as text. A text written once for all
// drawings (`perDrawing` false) may take no value: it belongs to no drawing. A text read as
// UTF-8 reads the same in the code page: "%" and the names' characters are ASCII in both.
ExpandableText readExpansions(std::string_view text, const std::string& whose, bool perDrawing = true);

// A drawing's path as the script writes it, cut into its folder part and its file name: the
// folder is everything before the separator in front of the file name.
struct WrittenPath {
    std::string_view folder;
    std::string_view separator;
    std::string_view file;
};
// A full path, cut at its last separator: a backslash or a slash in a Windows path (one that
// starts with a drive or "\\"), a slash in any other.
WrittenPath cutWrittenPath(std::string_view path);

// Appends the value's text for that path to `pieces`, as one to three pieces.
void appendValue(DrawingValue value, const WrittenPath& path, std::vector<std::string_view>& pieces);

}  // namespace inkrun::script
