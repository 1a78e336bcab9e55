#include "setup/default_template.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace inkrun::setup {
namespace {

// Answers are left-aligned in a field this wide; the comment starts in the next column.
constexpr std::size_t kAnswerWidth = 34;

constexpr std::array<std::string_view, 6> kHeaderLines{
    "THIS SETUP IS AN EXAMPLE OF THE KORU CAD MACHINE.",
    "THIS SETUP IS A TEMPLATE FOR PRINTING MODEL SPACE DRAWINGS.",
    "EACH DWG SAVES ITS OWN PRINTER SETUP WHEN THE DWG",
    "IS PRINTED.  THUS, EACH DWG MUST BE CHANGED AND UPDATED.",
    "ACAD MUST HAVE PRINTER *.PC3 FILE AND *.CTB FILES SETUP.",
    "*** NOTE: DO NOT USE TEXT IN ALL CAPS! ***",
};

struct AnswerLine {
    std::string_view answer;
    std::string_view comment;
};

constexpr std::array<AnswerLine, 22> kAnswerLines{{
    {"zoom", "ZOOM DRAWING"},
    {"extents", "- TO EXTENTS"},
    {"-plot", "PLOT FROM COMMAND LINE"},
    {"Y", "YES TO SETUP"},
    {"Model", "SET LAYOUT TO USE"},
    {"HP Laserjet 5000 series PCL 6.pc3", "SET PRNTR SETUP TO USE"},
    {"11x17", "SET PAPER SIZE"},
    {"Inches", "SET PAPER UNITS"},
    {"Landscape", "SET DWG ORIENTATION"},
    {"Yes", "SET PLOT UPSIDE DN"},
    {"Extents", "SET PLOT AREA"},
    {"Fit", "SET PLOT SCALE"},
    {"0,0", "SET PLOT OFFSET"},
    {"Yes", "SET PLOT W/ STYLES"},
    {"None", "SET PLOT STYLE"},
    {"Yes", "SET PLOT W/ LINE WGHTS"},
    {"No", "SET REMOV HIDDEN LINES"},
    {"No", "SET WRITE TO FILE"},
    {"Yes", "SET SAVE CHNGS TO DWG"},
    {"Yes", "SET PROCEED WITH PLOT!"},
    {"close", "CLOSE DRAWING"},
    {"y", "SAVE DWG"},
}};

// Every answer must leave at least one space before its comment.
constexpr bool answersFit() {
    for (const auto& line : kAnswerLines)
        if (line.answer.size() >= kAnswerWidth) return false;
    return true;
}
static_assert(answersFit(), "an answer overruns the comment column");

std::string buildTemplate() {
    std::string text;
    for (const auto line : kHeaderLines) {
        text += line;
        text += "\r\n";
    }
    for (const auto& line : kAnswerLines) {
        text += line.answer;
        text.append(kAnswerWidth - line.answer.size(), ' ');
        text += line.comment;
        text += "\r\n";
    }
    return text;
}

}  // namespace

const std::string& defaultSetupTemplate() {
    static const std::string text = buildTemplate();
    return text;
}

}  // namespace inkrun::setup
