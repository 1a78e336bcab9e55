#include "frontends/win32/icons.h"

#include "frontends/win32/resource_ids.h"

namespace inkrun::win32 {

namespace {

int resourceNumber(ui::IconId id) {
    switch (id) {
    case ui::IconId::Program: return IDI_INKRUN_PROGRAM;
    case ui::IconId::Information: return IDI_INKRUN_INFORMATION;
    case ui::IconId::Hammer: return IDI_INKRUN_BUILD;
    case ui::IconId::Diskettes: return IDI_INKRUN_SAVE;
    case ui::IconId::Eraser: return IDI_INKRUN_CLEAR;
    case ui::IconId::ClosedFolder: return IDI_INKRUN_OPEN_DRAWINGS;
    case ui::IconId::OpenFolderText: return IDI_INKRUN_OPEN_SETUP;
    case ui::IconId::None: break;
    }
    return 0;
}

}  // namespace

HICON resourceIcon(HINSTANCE instance, ui::IconId id, int size) {
    const int number = resourceNumber(id);
    if (number == 0) return nullptr;
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(number), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace inkrun::win32
