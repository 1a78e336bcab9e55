// modInkrun: the program's entry.
#include "platform/windows_api.h"
#include <commctrl.h>
#include <objbase.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program_arguments.h"
#include "frontends/win32/frm_main_inkrun.h"
#include "inkrun_identity.h"
#include "model/program_settings.h"
#include "platform/wide_text.h"
#include "platform/window_close.h"

namespace {

// The one main window of this copy of the program.
std::unique_ptr<inkrun::win32::frmMainInkrun> mainWindow;

int Main(HINSTANCE instance) {
    // Another copy already running is asked to close; its own shutdown runs there. Only a window
    // of this program: an Explorer window open on the install folder carries the same title.
    inkrun::platform::closeWindowByTitleAndClass(inkrun::kMainWindowTitle, inkrun::kMainWindowClass);
    mainWindow = std::make_unique<inkrun::win32::frmMainInkrun>(instance);
    mainWindow->create();
    mainWindow->Form_Load();
    mainWindow->show();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (mainWindow->preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    mainWindow.reset();
    return static_cast<int>(message.wParam);
}

// The command line after the program's own name, as UTF-8.
std::vector<std::string> programArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) arguments.push_back(inkrun::platform::narrow(words[i]));
        LocalFree(words);
    }
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // --help and --version, and a refusal of anything else, in a message box: a program of the
    // window subsystem has no terminal. No running copy is asked to close.
    const inkrun::ProgramArguments request = inkrun::readProgramArguments(programArguments(), inkrun::TextLayout::Box);
    if (request.action != inkrun::ProgramArguments::Action::OpenWindow) {
        const UINT icon = request.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
        MessageBoxW(nullptr, inkrun::platform::widen(request.text).c_str(), L"Inkrun", MB_OK | icon);
        return request.exitStatus;
    }

    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // The open dialog for drawings is a COM object, made on this, the window's, thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        return Main(instance);
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, inkrun::platform::widen(e.what()).c_str(), L"Inkrun", MB_OK | MB_ICONERROR);
        return 1;
    }
}
