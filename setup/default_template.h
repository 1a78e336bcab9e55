#pragma once

#include <string>

namespace inkrun::setup {

// The built-in setup: an annotated answer sequence for a model-space plot that then closes and
// saves the drawing. 28 lines, each ended by CR LF.
const std::string& defaultSetupTemplate();

}  // namespace inkrun::setup
