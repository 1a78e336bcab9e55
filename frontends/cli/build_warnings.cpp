#include "frontends/cli/build_warnings.h"

namespace inkrun::cli {

BuildWarning hazardWarning(const drawings::DrawingHazard& hazard, std::size_t position, std::size_t count) {
    const std::string drawing = "drawing " + std::to_string(position) + " of " + std::to_string(count) + ", " +
                                hazard.path + ",";
    if (hazard.kind == drawings::DrawingHazard::Kind::Locked)
        return {"lock-file",
                drawing + " has a lock file beside it (" + hazard.lockFile +
                    "): someone may have it open, and the CAD program would ask about that at _open, where the "
                    "script answers something else",
                hazard.path, 0};
    return {"read-only",
            drawing +
                " is read-only: the CAD program would ask about that at _open, where the script answers "
                "something else",
            hazard.path, 0};
}

void addInvisibleAnswers(const std::string& text, const std::string& whose, const std::string& file,
                         std::vector<BuildWarning>& warnings) {
    for (const script::InvisibleAnswer& answer : script::invisibleAnswers(text))
        warnings.push_back({"invisible-answer", script::describe(answer, whose), file, answer.line});
}

}  // namespace inkrun::cli
