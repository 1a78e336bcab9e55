// What a rich-text edit control in plain-text mode makes of a text file's line ends: each file is
// streamed in as plain text (EM_STREAMIN with SF_TEXT), then the control's text is read back as a
// program reads it (WM_GETTEXT) and streamed out again as plain text (EM_STREAMOUT with SF_TEXT),
// in each of the system's rich-edit classes. Run by hand:
//   wine rich_edit_probe.exe | tr -d '\r' > rich_edit_probe.txt
// One line per file and class: the class, the file's bytes, the text, the bytes saved, each in
// double quotes with its line ends spelled out (\r, \n). The setup reader's test takes the lines
// of one class as the rule setup files are read by.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Input {
    std::string bytes;
    std::size_t at = 0;
};

DWORD CALLBACK streamIn(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* input = reinterpret_cast<Input*>(cookie);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(wanted), input->bytes.size() - input->at);
    std::memcpy(buffer, input->bytes.data() + input->at, count);
    input->at += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK streamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<std::size_t>(count));
    *taken = count;
    return 0;
}

std::string spelled(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out.push_back(c);
    }
    return out;
}

}  // namespace

int main() {
    const char* const classes[][2] = {
        {"riched32.dll", "RICHEDIT"}, {"riched20.dll", "RichEdit20A"}, {"msftedit.dll", "RICHEDIT50W"}};
    const char* const files[] = {
        "a\r\nb\r\n", "a\nb\n",     "a\rb\r", "a\r\nb\nc\rd", "a\r\r\nb", "a\n\rb", "a\n\nb", "a\r\rb",
        "a\r\r\r\nb", "a\r\r\n\nb", "\r\r\n", "a\r\r",        "\r\n",     "\n",     "\r",
    };
    std::printf("class | file | text (WM_GETTEXT) | saved (EM_STREAMOUT, SF_TEXT)\n");
    for (const auto& richEdit : classes) {
        if (!LoadLibraryA(richEdit[0])) {
            std::printf("%s | not loaded (error %lu)\n", richEdit[1], GetLastError());
            continue;
        }
        for (const char* file : files) {
            HWND box = CreateWindowExA(0, richEdit[1], "", WS_POPUP | ES_MULTILINE, 0, 0, 200, 200, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
            if (!box) {
                std::printf("%s | no window (error %lu)\n", richEdit[1], GetLastError());
                break;
            }
            SendMessageA(box, EM_EXLIMITTEXT, 0, 1 << 20);
            Input input{file};
            EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&input), 0, streamIn};
            SendMessageA(box, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&in));
            char text[256] = {};
            SendMessageA(box, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            std::string saved;
            EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&saved), 0, streamOut};
            SendMessageA(box, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&out));
            std::printf("%s | \"%s\" | \"%s\" | \"%s\"\n", richEdit[1], spelled(file).c_str(), spelled(text).c_str(),
                        spelled(saved).c_str());
            DestroyWindow(box);
        }
    }
    return 0;
}
