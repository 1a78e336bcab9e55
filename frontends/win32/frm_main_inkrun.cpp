#include "frontends/win32/frm_main_inkrun.h"

#include <functional>
#include <stdexcept>

#include "frontends/win32/command_ids.h"
#include "frontends/win32/control_colours.h"
#include "frontends/win32/frm_about.h"
#include "frontends/win32/icons.h"
#include "frontends/win32/keyboard.h"
#include "frontends/win32/setup_box_load.h"
#include "frontends/win32/single_line_box.h"
#include "inkrun_identity.h"
#include "model/keyboard_rules.h"
#include "model/setup_line_ends.h"
#include "model/window_description.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// Carries a task for the window's thread (windowThread); lParam owns it.
constexpr UINT kRunTaskMessage = WM_APP + 1;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

frmMainInkrun::frmMainInkrun(HINSTANCE instance)
    : MainWindowCommands(static_cast<MainWindowState&>(*this), static_cast<MainWindowHooks&>(*this)),
      instance_(instance) {}

frmMainInkrun::~frmMainInkrun() {
    about_.reset();
    if (window_) DestroyWindow(window_);
}

void frmMainInkrun::create() {
    // A second copy knows this window by its class as well as its title.
    const std::wstring windowClass = widen(kMainWindowClass);
    registerWindowClass<frmMainInkrun>(instance_, windowClass.c_str(),
                                       programIcon(instance_, GetSystemMetrics(SM_CXICON)),
                                       programIcon(instance_, GetSystemMetrics(SM_CXSMICON)));
    const ui::WindowDescription& description = ui::mainWindow();
    CreateWindowExW(kWindowExStyle, windowClass.c_str(), widen(description.caption).c_str(), kWindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this);
    if (!window_) throw std::runtime_error("The main window could not be created.");
    dialogs_.setOwner(window_);
    menu_.create(window_, description);
    controls_.create(window_, instance_, description);
    File1_.attach(control("File1"));
    for (const DescribedControl& c : controls_.all())
        if (c.description->singleLine) makeSingleLineBox(c.window);
    layout_.apply(window_, kWindowStyle, kWindowExStyle, description, controls_, instance_, GetDpiForWindow(window_));
}

void frmMainInkrun::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    for (const DescribedControl& c : controls_.all())
        if (c.description->initiallyFocused) SetFocus(c.window);
}

bool frmMainInkrun::preTranslate(MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (menu_.translate(window_, message)) return true;
    if (applyKeyboardRules(window_, controls_, message)) return true;
    return IsDialogMessageW(window_, &message) != FALSE;
}

LRESULT frmMainInkrun::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) SetFocus(reinterpret_cast<HWND>(wParam));
        else moveFocus(window_, controls_, wParam != 0);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (const auto answer = controlColours(message, reinterpret_cast<HDC>(wParam),
                                               controls_.find(reinterpret_cast<HWND>(lParam))))
            return *answer;
        break;
    case WM_ACTIVATE:
        // Keep the focused control across message boxes, dialogs and other programs.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        layout_.apply(window_, kWindowStyle, kWindowExStyle, ui::mainWindow(), controls_, instance_, HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE: Form_Unload(); return 0;
    case WM_ENDSESSION:
        // The session ends and the program with it, perhaps before anything else runs here.
        if (wParam) keepUnsavedSetup();
        return 0;
    case kRunTaskMessage: {
        const std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
        if (task && *task) (*task)();
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void frmMainInkrun::onCommand(int id, int code, HWND from) {
    if (id == IDOK || id == IDCANCEL) return;  // Enter and Escape outside a button: nothing to run
    if (from && code != BN_CLICKED) return;
    if (const DescribedControl* option = controls_.find(from);
        option && option->description->kind == ui::ControlKind::OptionButton) {
        checkOption(*option);
        return;
    }
    if (const auto handler = handlerOf(id)) run(*handler);
}

// The chosen option is checked and is its frame's one tab stop; the frame's other options are neither.
void frmMainInkrun::checkOption(const DescribedControl& option) {
    for (const DescribedControl& other : controls_.all()) {
        const ui::ControlDescription& description = *other.description;
        if (description.kind != ui::ControlKind::OptionButton || description.container != option.description->container)
            continue;
        const bool chosen = other.window == option.window;
        SendMessageW(other.window, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
        const LONG_PTR style = GetWindowLongPtrW(other.window, GWL_STYLE);
        const bool stop = ui::isTabStop(description, chosen);
        SetWindowLongPtrW(other.window, GWL_STYLE, stop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP}));
    }
}

// --- MainWindowState over the controls ---

const DescribedControl& frmMainInkrun::described(std::string_view name) const {
    if (const DescribedControl* found = controls_.find(controls_.window(name))) return *found;
    throw std::logic_error("the main window has no such control as " + std::string(name));
}

// Edit controls and statics alike hold their text as window text. The setup box keeps a lone CR or
// LF pasted into it as it stands; the setup holds what the rich-text editor would make of it.
std::string frmMainInkrun::controlText(std::string_view name) const {
    const DescribedControl& target = described(name);
    std::string text = narrow(windowText(target.window));
    return target.description->multiLine ? withEditorLineEnds(std::move(text)) : text;
}

void frmMainInkrun::setControlText(std::string_view name, std::string text) {
    const DescribedControl& target = described(name);
    // Megabytes of setup go into a multi-line box in pieces, behind a progress box.
    if (target.description->multiLine) loadSetupBox(window_, target.window, widen(text));
    else SetWindowTextW(target.window, widen(text).c_str());
}

bool frmMainInkrun::isOptionSelected(std::string_view optionButton) const {
    return SendMessageW(control(optionButton), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmMainInkrun::selectOption(std::string_view optionButton) { checkOption(described(optionButton)); }

// --- What the commands ask of Win32 ---

void frmMainInkrun::showAbout() {
    if (!about_) about_ = std::make_unique<frmAbout>(instance_);
    about_->show();
}

void frmMainInkrun::unloadWindows() {
    about_.reset();
    if (window_) DestroyWindow(window_);
}

void frmMainInkrun::endProgram() { PostQuitMessage(0); }

// A task posted to a window that is gone is dropped with its message, and so is never run.
MainWindowHooks::Poster frmMainInkrun::windowThread() {
    return [window = window_](std::function<void()> task) {
        auto owned = std::make_unique<std::function<void()>>(std::move(task));
        if (PostMessageW(window, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(owned.get()))) owned.release();
    };
}

}  // namespace inkrun::win32
