#include "frontends/win32/frm_main_inkrun.h"

#include "platform/windows_api.h"
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "commands/command_frame.h"
#include "commands/help_command.h"
#include "commands/startup.h"
#include "drawings/drawing_list.h"
#include "drawings/drawing_selection.h"
#include "frontends/win32/frm_about.h"
#include "frontends/win32/icons.h"
#include "platform/wide_text.h"
#include "platform/file_lookup.h"
#include "platform/shell_open.h"
#include "platform/window_close.h"
#include "script/build_command.h"
#include "setup/setup_commands.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

using ui::ControlKind;
using ui::Handler;

constexpr wchar_t kWindowClass[] = L"InkrunMainWindow";
// Controls that run a handler carry its number above this; the rest their place in the table.
constexpr int kHandlerIdBase = 1000;
constexpr int kControlIdBase = 100;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int commandId(Handler handler) { return kHandlerIdBase + static_cast<int>(handler); }

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

DWORD controlStyle(const ui::ControlDescription& control) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::FileList:
        return style | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    case ControlKind::PictureButton: return style | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON | BS_ICON;
    case ControlKind::TextBox:
        style |= WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_NOHIDESEL;
        if (control.multiLine && !control.singleLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (control.scrollBars) style |= WS_HSCROLL | WS_VSCROLL;
        return style;
    case ControlKind::Label:
        // Paths are shown as they are: no access-key ampersands, long names broken like an edit box.
        return style | WS_GROUP | SS_NOPREFIX |
               (control.inactiveCaptionBackground ? (SS_LEFT | SS_EDITCONTROL) : SS_LEFTNOWORDWRAP);
    case ControlKind::Frame: return style | WS_GROUP | BS_GROUPBOX;
    case ControlKind::OptionButton:
        // The group's one tab stop sits on its selected option, so Tab and Shift+Tab land there.
        return style | BS_AUTORADIOBUTTON | (control.initiallySelected ? WS_TABSTOP : 0);
    }
    return style;
}

const wchar_t* controlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::FileList: return WC_LISTBOXW;
    case ControlKind::TextBox: return WC_EDITW;
    case ControlKind::Label: return WC_STATICW;
    case ControlKind::PictureButton:
    case ControlKind::Frame:
    case ControlKind::OptionButton: return WC_BUTTONW;
    }
    return WC_STATICW;
}

int captionWidth(HWND window, HFONT font) {
    const std::wstring text = windowText(window);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

// "Ctrl+S" as an accelerator; the table names no other kind of shortcut.
bool parseShortcut(std::string_view shortcut, ACCEL& accel) {
    constexpr std::string_view ctrl = "Ctrl+";
    if (!shortcut.starts_with(ctrl) || shortcut.size() != ctrl.size() + 1) return false;
    accel.fVirt = FCONTROL | FVIRTKEY;
    accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(shortcut.back())));
    return true;
}

}  // namespace

frmMainInkrun::frmMainInkrun(HINSTANCE instance) : instance_(instance) {}

frmMainInkrun::~frmMainInkrun() {
    about_.reset();
    if (window_) DestroyWindow(window_);
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    for (HICON icon : buttonIcons_) DestroyIcon(icon);
}

void frmMainInkrun::create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &frmMainInkrun::windowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = programIcon(instance_, GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = programIcon(instance_, GetSystemMetrics(SM_CXSMICON));
    RegisterClassExW(&windowClass);

    const ui::WindowDescription& description = ui::mainWindow();
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(description.caption).c_str(), kWindowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this);
    if (!window_) throw std::runtime_error("The main window could not be created.");
    dialogs_.setOwner(window_);
    createMenu();
    createControls();
    applyDpi(GetDpiForWindow(window_));
}

void frmMainInkrun::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    for (const Control& c : controls_)
        if (c.description->initiallyFocused) SetFocus(c.window);
}

void frmMainInkrun::createMenu() {
    HMENU bar = CreateMenu();
    std::vector<ACCEL> accelerators;
    for (const ui::Menu& menu : ui::mainWindow().menus) {
        HMENU popup = CreatePopupMenu();
        for (const ui::MenuEntry& entry : menu.entries) {
            if (entry.isSeparator()) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            std::wstring caption = widen(entry.caption);
            ACCEL accel{};
            if (!entry.shortcut.empty() && parseShortcut(entry.shortcut, accel)) {
                caption += L"\t" + widen(entry.shortcut);
                accel.cmd = static_cast<WORD>(commandId(entry.handler));
                accelerators.push_back(accel);
            }
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(commandId(entry.handler)), caption.c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(menu.caption).c_str());
    }
    SetMenu(window_, bar);
    if (!accelerators.empty())
        accelerators_ = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
}

void frmMainInkrun::createControls() {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                instance_, nullptr);
    const auto& table = ui::mainWindow().controls;
    // Created in table order, which is the tab order: the dialog manager walks the z-order.
    for (std::size_t index = 0; index < table.size(); ++index) {
        const ui::ControlDescription& description = table[index];
        if (!description.created) continue;
        const int id = description.handler != Handler::None ? commandId(description.handler)
                                                            : kControlIdBase + static_cast<int>(index);
        const std::wstring text = widen(description.kind == ControlKind::PictureButton ? description.tooltip
                                        : description.kind == ControlKind::TextBox   ? std::string_view{}
                                                                                     : description.caption);
        const DWORD exStyle =
            (description.kind == ControlKind::FileList || description.kind == ControlKind::TextBox) ? WS_EX_CLIENTEDGE
                                                                                                    : 0;
        HWND window = CreateWindowExW(exStyle, controlClass(description.kind), text.c_str(),
                                      controlStyle(description), 0, 0, 0, 0, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        controls_.push_back({&description, window});

        if (description.kind == ControlKind::TextBox) SendMessageW(window, EM_SETLIMITTEXT, 0, 0);  // memory only
        if (description.kind == ControlKind::OptionButton && description.initiallySelected)
            SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
        if (!description.tooltip.empty()) {
            const std::wstring tip = widen(description.tooltip);
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window_;
            tool.uId = reinterpret_cast<UINT_PTR>(window);
            tool.lpszText = const_cast<wchar_t*>(tip.c_str());
            SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void frmMainInkrun::applyDpi(UINT dpi) {
    dpi_ = dpi ? dpi : 96;
    fonts_.setDpi(dpi_);
    for (HICON icon : buttonIcons_) DestroyIcon(icon);
    buttonIcons_.clear();
    const int iconSize = MulDiv(32, static_cast<int>(dpi_), 96);

    const ui::WindowDescription& description = ui::mainWindow();
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const Control& c : controls_) {
        ui::TwipsRect place = c.description->place;
        if (!c.description->container.empty()) {
            const ui::ControlDescription* frame = ui::findControl(description, c.description->container);
            place.left += frame->place.left;
            place.top += frame->place.top;
        }
        HFONT font = fonts_.forControl(*c.description);
        int width = scaled(place.width, dpi_);
        // A caption that the system's font makes wider than its place grows to the right rather
        // than being cut off, up to the window's edge.
        if (c.description->kind == ControlKind::Label || c.description->kind == ControlKind::OptionButton) {
            const int wanted = captionWidth(c.window, font) +
                               (c.description->kind == ControlKind::OptionButton ? GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi_) + 6 : 0);
            const int room = scaled(description.clientWidth, dpi_) - scaled(place.left, dpi_);
            if (wanted > width && !c.description->inactiveCaptionBackground) width = std::min(wanted, room);
        }
        moves = DeferWindowPos(moves, c.window, nullptr, scaled(place.left, dpi_), scaled(place.top, dpi_), width,
                               scaled(place.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (c.description->kind == ControlKind::PictureButton) {
            HICON icon = buttonIcon(instance_, c.description->icon, iconSize);
            buttonIcons_.push_back(icon);
            SendMessageW(c.window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    }
    EndDeferWindowPos(moves);

    RECT frame{0, 0, scaled(description.clientWidth, dpi_), scaled(description.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi_), 96));
}

HWND frmMainInkrun::control(std::string_view name) const {
    for (const Control& c : controls_)
        if (c.description->name == name) return c.window;
    return nullptr;
}

HWND frmMainInkrun::optSort(int index) const { return control(index == 0 ? "optSort(0)" : "optSort(1)"); }

bool frmMainInkrun::isPictureButton(HWND window) const {
    for (const Control& c : controls_)
        if (c.window == window) return c.description->kind == ControlKind::PictureButton;
    return false;
}

bool frmMainInkrun::preTranslate(MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &message)) return true;
    if (message.message == WM_KEYDOWN) {
        const bool control = GetKeyState(VK_CONTROL) < 0;
        const bool alt = GetKeyState(VK_MENU) < 0;
        HWND focus = GetFocus();
        // Tab leaves the setup editor as it leaves every other control: setups hold no tabs.
        if (message.wParam == VK_TAB && !control && !alt) {
            moveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
        // Enter presses the focused picture button, as Space does.
        if (message.wParam == VK_RETURN && !control && !alt && isPictureButton(focus)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

void frmMainInkrun::moveFocus(bool backwards) {
    HWND next = GetNextDlgTabItem(window_, GetFocus(), backwards);
    if (!next) return;
    SetFocus(next);
    // Entering a one-line box selects its text, as in every dialog.
    if (next == control("RichTextBox1")) SendMessageW(next, EM_SETSEL, 0, -1);
}

void frmMainInkrun::selectOrderOption(HWND option) {
    for (int index = 0; index < 2; ++index) {
        HWND button = optSort(index);
        const bool chosen = button == option;
        SendMessageW(button, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, chosen ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP}));
    }
}

LRESULT CALLBACK frmMainInkrun::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmMainInkrun*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<frmMainInkrun*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT frmMainInkrun::paintInactiveCaption(HDC dc) {
    const COLORREF back = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    // The colour is meant for text, so themes may make it dark: the text takes whichever of black
    // and white stands out on it.
    const int light = (GetRValue(back) * 299 + GetGValue(back) * 587 + GetBValue(back) * 114) / 1000;
    SetBkColor(dc, back);
    SetTextColor(dc, light < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
}

LRESULT frmMainInkrun::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) SetFocus(reinterpret_cast<HWND>(wParam));
        else moveFocus(wParam != 0);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HWND from = reinterpret_cast<HWND>(lParam);
        for (const Control& c : controls_)
            if (c.window == from && c.description->inactiveCaptionBackground)
                return paintInactiveCaption(reinterpret_cast<HDC>(wParam));
        if (message == WM_CTLCOLOREDIT) break;
        // Labels, the frame and the option buttons stand on the window's own face.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
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
        applyDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        Form_Unload();
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void frmMainInkrun::onCommand(int id, int code, HWND from) {
    if (id == IDOK || id == IDCANCEL) return;  // Enter and Escape outside a button: nothing to run
    if (from && code != BN_CLICKED) return;
    if (from == optSort(0) || from == optSort(1)) {
        if (from) selectOrderOption(from);
        return;
    }
    if (id > kHandlerIdBase) run(static_cast<Handler>(id - kHandlerIdBase));
}

void frmMainInkrun::run(Handler handler) {
    switch (handler) {
    case Handler::None: return;
    case Handler::cmdBuildSetup_Click: return cmdBuildSetup_Click();
    case Handler::cmdClearSetup_Click: return cmdClearSetup_Click();
    case Handler::cmdOpenDrawings_Click: return cmdOpenDrawings_Click();
    case Handler::cmdOpenScript_Click: return cmdOpenScript_Click();
    case Handler::cmdSaveSetup_Click: return cmdSaveSetup_Click();
    case Handler::mnuTools_Setup1_Click: return mnuTools_Setup1_Click();
    case Handler::mnuTools_Setup2_Click: return mnuTools_Setup2_Click();
    case Handler::mnuFile_Exit_Click: return mnuFile_Exit_Click();
    case Handler::mnuFile_OpenDrawings_Click: return mnuFile_OpenDrawings_Click();
    case Handler::mnuFile_OpenScripts_Click: return mnuFile_OpenScripts_Click();
    case Handler::mnuFile_Save_Click: return mnuFile_Save_Click();
    case Handler::mnuFile_SaveAs_Click: return mnuFile_SaveAs_Click();
    case Handler::mnuHelp_About_Click: return mnuHelp_About_Click();
    case Handler::mnuHelp_HowTo_Click: return mnuHelp_HowTo_Click();
    case Handler::mnuTools_Build_Click: return mnuTools_Build_Click();
    case Handler::mnuTools_ClearSetup_Click: return mnuTools_ClearSetup_Click();
    case Handler::mnuTools_LoadDefault_Click: return mnuTools_LoadDefault_Click();
    }
}

// --- MainWindowState over the controls ---

std::string frmMainInkrun::drawingDirectory() const { return narrow(windowText(control("RichTextBox1"))); }
void frmMainInkrun::setDrawingDirectory(const std::string& directory) {
    SetWindowTextW(control("RichTextBox1"), widen(directory).c_str());
}
std::string frmMainInkrun::drawingListPath() const { return listPath_; }

void frmMainInkrun::setDrawingListPath(const std::string& directory) {
    HWND list = control("File1");
    listPath_ = directory;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    entries_.clear();
    std::vector<std::string> entries;
    try {
        entries = drawings::listDrawings(directory);
    } catch (...) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        throw;
    }
    SendMessageW(list, LB_INITSTORAGE, entries.size(), static_cast<LPARAM>(entries.size() * 32 * sizeof(wchar_t)));
    for (const std::string& name : entries)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(name).c_str()));
    entries_ = std::move(entries);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::vector<std::string> frmMainInkrun::drawingListEntries() const { return entries_; }

std::vector<std::string> frmMainInkrun::selectedDrawings() const {
    HWND list = control("File1");
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<std::string> selected;
    if (count <= 0) return selected;
    std::vector<int> rows(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    rows.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    std::sort(rows.begin(), rows.end());
    for (int row : rows)
        if (row >= 0 && static_cast<std::size_t>(row) < entries_.size())
            selected.push_back(entries_[static_cast<std::size_t>(row)]);
    return selected;
}

void frmMainInkrun::markDrawings(const std::unordered_set<std::string>& names) {
    HWND list = control("File1");
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t row = 0; row < entries_.size(); ++row)
        if (names.count(entries_[row])) SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
    if (!entries_.empty()) SendMessageW(list, LB_SETCARETINDEX, entries_.size() - 1, FALSE);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool frmMainInkrun::descendingOrder() const {
    return SendMessageW(optSort(0), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string frmMainInkrun::setupText() const { return narrow(windowText(control("RichTextBox3"))); }
void frmMainInkrun::setSetupText(const std::string& text) {
    SetWindowTextW(control("RichTextBox3"), widen(text).c_str());
}
std::string frmMainInkrun::setupPath() const { return narrow(windowText(control("lblScriptDir"))); }
void frmMainInkrun::setSetupPath(const std::string& path) {
    SetWindowTextW(control("lblScriptDir"), widen(path).c_str());
}

int frmMainInkrun::OpenDocument(const std::string& DocName) { return platform::startOpeningDocument(DocName, {}); }
bool frmMainInkrun::DirExists(const std::string& path) const { return platform::dirExists(path); }

// --- Command handlers ---

void frmMainInkrun::CheckCommandError() { checkCommandError(pendingError_, dialogs_); }

void frmMainInkrun::Form_Load() {
    trapped([&] {
        settings_ = startupSettings(platform::currentDirectory());
        restoreStartState(*this, settings_);
    });
    mnuTools_Setup1_Click();
}

void frmMainInkrun::Form_Unload() {
    platform::closeWindowByTitle(kHelpWindowTitle);
    about_.reset();
    DestroyWindow(window_);
    PostQuitMessage(0);
}

// Ends at once: the message loop stops and nothing of the shutdown runs.
void frmMainInkrun::mnuFile_Exit_Click() { PostQuitMessage(0); }

void frmMainInkrun::cmdBuildSetup_Click() {
    trapped([&] { script::buildInkrunScript(*this, dialogs_, settings_); });
}

void frmMainInkrun::mnuFile_OpenDrawings_Click() {
    trapped([&] { drawings::openDrawingFiles(*this, dialogs_, settings_); });
}

void frmMainInkrun::cmdClearSetup_Click() {
    trapped([&] { setup::clearSetup(*this); });
}

void frmMainInkrun::mnuTools_Setup1_Click() {
    trapped([&] { setup::loadSetupSlot(*this, settings_, 1); });
}

void frmMainInkrun::mnuTools_Setup2_Click() {
    trapped([&] { setup::loadSetupSlot(*this, settings_, 2); });
}

void frmMainInkrun::mnuTools_LoadDefault_Click() {
    trapped([&] { setup::loadDefaultSetup(*this); });
}

void frmMainInkrun::mnuFile_OpenScripts_Click() {
    trapped([&] { setup::openSetupFile(*this, dialogs_); });
}

void frmMainInkrun::cmdSaveSetup_Click() {
    trapped([&] { setup::saveSetup(*this, dialogs_); });
}

void frmMainInkrun::mnuFile_SaveAs_Click() {
    trapped([&] { setup::saveSetupAs(*this, dialogs_); });
}

void frmMainInkrun::mnuHelp_HowTo_Click() {
    showHelp(settings_, dialogs_, [](const std::string& title) { platform::closeWindowByTitle(title); },
             [this](const std::string& path) { return OpenDocument(path); });
}

void frmMainInkrun::mnuHelp_About_Click() {
    trapped([&] {
        if (!about_) about_ = std::make_unique<frmAbout>(instance_);
        about_->show();
    });
}

// The delegating handlers: one call each, nothing before or after.
void frmMainInkrun::cmdOpenDrawings_Click() { mnuFile_OpenDrawings_Click(); }
void frmMainInkrun::cmdOpenScript_Click() { mnuFile_OpenScripts_Click(); }
void frmMainInkrun::mnuFile_Save_Click() { cmdSaveSetup_Click(); }
void frmMainInkrun::mnuTools_Build_Click() { cmdBuildSetup_Click(); }
void frmMainInkrun::mnuTools_ClearSetup_Click() { cmdClearSetup_Click(); }

}  // namespace inkrun::win32
