#pragma once

// Resource numbers shared by the resource script and the window code.
#define IDI_INKRUN_PROGRAM 1
#define IDI_INKRUN_INFORMATION 2
#define IDI_INKRUN_BUILD 10
#define IDI_INKRUN_SAVE 11
#define IDI_INKRUN_CLEAR 12
#define IDI_INKRUN_OPEN_DRAWINGS 13
#define IDI_INKRUN_OPEN_SETUP 14
