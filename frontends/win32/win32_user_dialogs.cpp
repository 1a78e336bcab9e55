#include "frontends/win32/win32_user_dialogs.h"

#include <commdlg.h>

#include <cstdio>
#include <stdexcept>

#include "frontends/win32/pick_files_dialog.h"
#include "model/file_pick.h"
#include "platform/file_lookup.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

// One full path, at the longest Windows allows.
constexpr DWORD kAnswerSize = 32768;

UINT messageBoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MessageIcon::Critical: return MB_ICONERROR;
    case MessageIcon::None: break;
    }
    return 0;
}

// Description NUL pattern NUL NUL, as the common dialogs take a filter; the description shows
// as the command gives it.
std::wstring filterText(const FileDialogOptions& options) {
    std::wstring filter = widen(options.filterName);
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

    DialogRun(HWND owner, const FileDialogOptions& options, DWORD flags)
        : title(widen(options.title)), filter(filterText(options)), folder(initialFolder(options.initialDirectory)),
          extension(defaultExtension(options.filterPattern)), answer(kAnswerSize, L'\0') {
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
    const auto paths = pickFiles(owner_, options);
    if (!paths) return std::nullopt;
    return pickAnswer(*paths, platform::kPathSeparator);
}

std::optional<std::string> Win32UserDialogs::askOpenFile(const FileDialogOptions& options) {
    DialogRun run(owner_, options, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    if (GetOpenFileNameW(&run.ofn)) return narrow(run.answer.data());
    if (const DWORD error = CommDlgExtendedError()) throwDialogFailure(error);
    return std::nullopt;
}

std::optional<std::string> Win32UserDialogs::askSaveFile(const FileDialogOptions& options) {
    const DWORD flags = OFN_PATHMUSTEXIST | (options.confirmOverwrite ? OFN_OVERWRITEPROMPT : 0);
    DialogRun run(owner_, options, flags);
    if (GetSaveFileNameW(&run.ofn)) return narrow(run.answer.data());
    if (const DWORD error = CommDlgExtendedError()) throwDialogFailure(error);
    return std::nullopt;
}

}  // namespace inkrun::win32
