#pragma once

#include <vector>

#include "frontends/win32/window_fonts.h"
#include "frontends/win32/window_procedure.h"

namespace inkrun::win32 {

// The About window: one for the whole program, made when it is first shown and unloaded when it
// is closed (the close box or Escape); showing it while it is open brings that same window
// forward. Its lines take the desktop's font, and the window grows when they need more room.
class frmAbout {
public:
    explicit frmAbout(HINSTANCE instance);
    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    void show();

private:
    friend LRESULT CALLBACK windowProcedure<frmAbout>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { window_ = window; }
    // Closed: unloaded. The next About command makes it afresh.
    void detach() {
        window_ = nullptr;
        labels_.clear();
    }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void create();
    void Form_Load();
    void applyDpi(UINT dpi);
    void fitToText();
    void releaseIcons();

    struct Label {
        const ui::ControlDescription* description;
        HWND window;
    };

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    WindowFonts fonts_;
    std::vector<Label> labels_;
    HICON picture_ = nullptr;  // the program's icon, drawn at the top-left corner
    HICON titleIcons_[2] = {nullptr, nullptr};
};

}  // namespace inkrun::win32
