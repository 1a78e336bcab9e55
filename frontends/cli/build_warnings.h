#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "drawings/drawing_hazards.h"
#include "script/script_lines.h"

// The warnings of a build: the script is written all the same (exit 3), unless --strict stops it.

namespace inkrun::cli {

struct BuildWarning {
    std::string kind;      // "lock-file", "read-only", "invisible-answer", "unreadable-folder", "written"
    std::string message;   // the whole warning, as standard error shows it
    std::string path;      // the drawing, folder or file it is about; empty when none
    std::size_t line = 0;  // the line of a setup, preamble or epilogue it is about, from 1; 0 when none
};

// A drawing the CAD program would ask about at "_open"; `position` is its place in the order the
// script opens the drawings, from 1, of `count`.
BuildWarning hazardWarning(const drawings::DrawingHazard& hazard, std::size_t position, std::size_t count);

// Each line of `text` that answers more prompts than it shows. `whose` names the text ("the
// setup"), `file` its file, if any.
void addInvisibleAnswers(const std::string& text, const std::string& whose, const std::string& file,
                         std::vector<BuildWarning>& warnings);

}  // namespace inkrun::cli
