#pragma once

#include "app/command_bodies.h"  // the setup commands themselves

namespace inkrun::setup {

inline constexpr const char* kSetupDialogTitle = "Script Files";
inline constexpr const char* kSetupFilterName = "Text Files";
inline constexpr const char* kSetupFilterPattern = "*.txt";
inline constexpr const char* kNoDataMessage = "No data to save.";
inline constexpr const char* kNoDataTitle = "No Data";

}  // namespace inkrun::setup
