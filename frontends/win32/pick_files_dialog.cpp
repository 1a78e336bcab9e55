#include "frontends/win32/pick_files_dialog.h"

#include <shobjidl.h>

#include <cstdio>
#include <stdexcept>

#include "platform/file_lookup.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

namespace {

using platform::narrow;
using platform::widen;

// Holds one reference to a COM object.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (object_) object_->Release();
    }
    ComRef(ComRef&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* operator->() const { return object_; }
    Interface** put() { return &object_; }
    explicit operator bool() const { return object_ != nullptr; }
    Interface* get() const { return object_; }

private:
    Interface* object_ = nullptr;
};

void check(HRESULT result, const char* step) {
    if (SUCCEEDED(result)) return;
    char text[128];
    std::snprintf(text, sizeof text, "The file dialog could not be shown (%s failed with error 0x%08lX).", step,
                  static_cast<unsigned long>(result));
    throw std::runtime_error(text);
}

// The folder the dialog opens in; a bare drive is its root, a file stands for its folder.
ComRef<IShellItem> folderItem(const std::string& directory) {
    ComRef<IShellItem> item;
    if (directory.empty()) return item;
    std::wstring folder = widen(directory);
    if (platform::isBareDrive(directory)) folder.push_back(L'\\');
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return item;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const auto last = folder.find_last_of(L"\\/");
        if (last == std::wstring::npos) return item;
        folder.resize(last);
    }
    SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(item.put()));
    return item;
}

std::string pathOf(IShellItem* item) {
    PWSTR path = nullptr;
    check(item->GetDisplayName(SIGDN_FILESYSPATH, &path), "reading a picked file's path");
    const std::string text = narrow(path);
    CoTaskMemFree(path);
    return text;
}

// A typed name without an extension gets the filter's, when it names one ("*.txt").
void addFiltersExtension(IFileDialog* dialog, const std::string& pattern) {
    const auto dot = pattern.rfind('.');
    if (dot == std::string::npos || pattern.find_first_of("*?", dot) != std::string::npos) return;
    check(dialog->SetDefaultExtension(widen(pattern.substr(dot + 1)).c_str()), "setting its extension");
}

// What every dialog of the program is told: its options, file types, title, the name offered
// (a name that is only a wildcard is the filter again, not a name), the folder it opens in and
// the places it offers. A place the system cannot add (a folder gone since) is left out: the
// dialog still works without it.
template <typename Dialog>
ComRef<Dialog> makeDialog(REFCLSID kind, const FileDialogOptions& options, FILEOPENDIALOGOPTIONS set,
                          FILEOPENDIALOGOPTIONS clear) {
    ComRef<Dialog> dialog;
    check(CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.put())), "creating the dialog");
    FILEOPENDIALOGOPTIONS flags = 0;
    check(dialog->GetOptions(&flags), "reading its options");
    // The settings directory is fixed at start; the dialog must not move the current one.
    check(dialog->SetOptions(((flags | set | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR) & ~clear)), "setting its options");

    const std::wstring filterName = widen(options.filterName), filterPattern = widen(options.filterPattern);
    const COMDLG_FILTERSPEC filter{filterName.c_str(), filterPattern.c_str()};
    check(dialog->SetFileTypes(1, &filter), "setting its file types");
    if (!options.title.empty()) check(dialog->SetTitle(widen(options.title).c_str()), "setting its title");
    if (options.fileName.find_first_of("*?") == std::string::npos)
        check(dialog->SetFileName(widen(options.fileName).c_str()), "setting its file name");
    if (const ComRef<IShellItem> folder = folderItem(options.initialDirectory))
        check(dialog->SetFolder(folder.get()), "setting its folder");
    // Each at the top, the last first: the first place stands first.
    for (auto place = options.places.rbegin(); place != options.places.rend(); ++place)
        if (const ComRef<IShellItem> item = folderItem(*place)) dialog->AddPlace(item.get(), FDAP_TOP);
    return dialog;
}

// Shows the dialog; false when the person cancels.
bool shown(IFileDialog* dialog, HWND owner) {
    const HRESULT result = dialog->Show(owner);
    if (result == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return false;
    check(result, "showing it");
    return true;
}

std::string pickedPath(IFileDialog* dialog) {
    ComRef<IShellItem> item;
    check(dialog->GetResult(item.put()), "reading the picked file");
    return pathOf(item.get());
}

}  // namespace

std::optional<std::vector<std::string>> pickFiles(HWND owner, const FileDialogOptions& options) {
    // The path must exist, the named file need not: a typed name that is no drawing marks nothing.
    const FILEOPENDIALOGOPTIONS multiple = FOS_ALLOWMULTISELECT;
    const auto dialog = makeDialog<IFileOpenDialog>(
        CLSID_FileOpenDialog, options, FOS_PATHMUSTEXIST | (options.allowMultiple ? multiple : 0), FOS_FILEMUSTEXIST);
    if (!shown(dialog.get(), owner)) return std::nullopt;

    ComRef<IShellItemArray> items;
    check(dialog->GetResults(items.put()), "reading the picked files");
    DWORD count = 0;
    check(items->GetCount(&count), "counting the picked files");
    std::vector<std::string> paths;
    paths.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        ComRef<IShellItem> item;
        check(items->GetItemAt(i, item.put()), "reading a picked file");
        paths.push_back(pathOf(item.get()));
    }
    if (paths.empty()) return std::nullopt;
    return paths;
}

std::optional<std::string> pickFile(HWND owner, const FileDialogOptions& options) {
    const auto dialog = makeDialog<IFileOpenDialog>(CLSID_FileOpenDialog, options,
                                                    FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST, 0);
    addFiltersExtension(dialog.get(), options.filterPattern);
    if (!shown(dialog.get(), owner)) return std::nullopt;
    return pickedPath(dialog.get());
}

std::optional<std::string> pickSaveName(HWND owner, const FileDialogOptions& options) {
    const FILEOPENDIALOGOPTIONS overwrite = FOS_OVERWRITEPROMPT;
    const auto dialog = makeDialog<IFileSaveDialog>(CLSID_FileSaveDialog, options,
                                                    FOS_PATHMUSTEXIST | (options.confirmOverwrite ? overwrite : 0),
                                                    options.confirmOverwrite ? 0 : overwrite);
    addFiltersExtension(dialog.get(), options.filterPattern);
    if (!shown(dialog.get(), owner)) return std::nullopt;
    return pickedPath(dialog.get());
}

}  // namespace inkrun::win32
