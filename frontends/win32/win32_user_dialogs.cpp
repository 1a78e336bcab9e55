#include "frontends/win32/win32_user_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <stdexcept>

#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

// The first answer buffer holds a few thousand drawing names; a larger pick grows it.
constexpr DWORD kFirstAnswerSize = 32768;

UINT messageBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MessageIcon::Critical: return MB_ICONERROR;
    case MessageIcon::None: break;
    }
    return 0;
}

// "Description (pattern)" NUL pattern NUL NUL, as the common dialogs take a filter.
std::wstring filterText(const FileDialogOptions& options) {
    std::wstring filter = widen(options.filterName + " (" + options.filterPattern + ")");
    filter.push_back(L'\0');
    filter += widen(options.filterPattern);
    filter.push_back(L'\0');
    return filter;
}

// The setup commands hand over a file's full path as the place to start; the dialog wants a folder.
std::wstring initialFolder(const std::string& path) {
    std::wstring folder = widen(path);
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const auto last = folder.find_last_of(L"\\/");
        folder = last == std::wstring::npos ? std::wstring() : folder.substr(0, last);
    }
    return folder;
}

std::wstring defaultExtension(const std::string& pattern) {
    const auto dot = pattern.rfind('.');
    if (dot == std::string::npos || pattern.find_first_of("*?", dot) != std::string::npos) return {};
    return widen(pattern.substr(dot + 1));
}

[[noreturn]] void throwDialogFailure(DWORD error) {
    char text[96];
    std::snprintf(text, sizeof text, "The file dialog could not be shown (common dialog error 0x%04lX).",
                  static_cast<unsigned long>(error));
    throw std::runtime_error(text);
}

struct DialogRun {
    std::wstring title, filter, folder, extension;
    std::vector<wchar_t> answer;
    OPENFILENAMEW ofn{};

    DialogRun(HWND owner, const FileDialogOptions& options, DWORD flags, DWORD answerSize)
        : title(widen(options.title)), filter(filterText(options)), folder(initialFolder(options.initialDirectory)),
          extension(defaultExtension(options.filterPattern)), answer(answerSize, L'\0') {
        const std::wstring name = widen(options.fileName);
        if (name.size() < answer.size()) name.copy(answer.data(), name.size());
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = answer.data();
        ofn.nMaxFile = static_cast<DWORD>(answer.size());
        ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        // The settings directory is fixed at start; the dialog must not move the current one.
        ofn.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    }
};

}  // namespace

void Win32UserDialogs::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    MessageBoxW(owner_, widen(text).c_str(), widen(title).c_str(), MB_OK | messageBoxIcon(icon));
}

std::optional<std::vector<std::string>> Win32UserDialogs::askOpenFiles(const FileDialogOptions& options) {
    const DWORD flags = OFN_PATHMUSTEXIST | (options.allowMultiple ? OFN_ALLOWMULTISELECT : 0);
    DWORD size = kFirstAnswerSize;
    for (;;) {
        DialogRun run(owner_, options, flags, size);
        if (GetOpenFileNameW(&run.ofn)) {
            // One full path, or the folder and then each name: NUL-separated, ended by two NULs.
            std::vector<std::string> parts;
            const wchar_t* part = run.answer.data();
            const wchar_t* end = part + run.answer.size();
            while (part < end && *part) {
                const std::wstring_view piece(part, wcsnlen(part, static_cast<std::size_t>(end - part)));
                parts.push_back(narrow(piece));
                part += piece.size() + 1;
            }
            if (parts.empty()) return std::nullopt;
            return parts;
        }
        const DWORD error = CommDlgExtendedError();
        if (error == 0) return std::nullopt;
        if (error != FNERR_BUFFERTOOSMALL || size >= (1u << 24)) throwDialogFailure(error);
        // The pick did not fit: the first two bytes say how much it needs (up to 65535). The dialog
        // is shown again with room for it rather than failing the command.
        const DWORD wanted = *reinterpret_cast<const WORD*>(run.answer.data());
        size = std::max<DWORD>(size * 2, wanted + 2);
    }
}

std::optional<std::string> Win32UserDialogs::askOpenFile(const FileDialogOptions& options) {
    DialogRun run(owner_, options, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, kFirstAnswerSize);
    if (GetOpenFileNameW(&run.ofn)) return narrow(run.answer.data());
    if (const DWORD error = CommDlgExtendedError()) throwDialogFailure(error);
    return std::nullopt;
}

std::optional<std::string> Win32UserDialogs::askSaveFile(const FileDialogOptions& options) {
    const DWORD flags = OFN_PATHMUSTEXIST | (options.confirmOverwrite ? OFN_OVERWRITEPROMPT : 0);
    DialogRun run(owner_, options, flags, kFirstAnswerSize);
    if (GetSaveFileNameW(&run.ofn)) return narrow(run.answer.data());
    if (const DWORD error = CommDlgExtendedError()) throwDialogFailure(error);
    return std::nullopt;
}

}  // namespace inkrun::win32
