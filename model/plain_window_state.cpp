#include "model/plain_window_state.h"

#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "model/window_description.h"

namespace inkrun {

namespace {

const ui::ControlDescription& described(std::string_view name, std::initializer_list<ui::ControlKind> kinds) {
    const ui::ControlDescription* control = ui::findControl(ui::mainWindow(), name);
    if (control && control->created)
        for (const ui::ControlKind kind : kinds)
            if (control->kind == kind) return *control;
    throw std::logic_error("the main window has no such control as " + std::string(name));
}

}  // namespace

PlainWindowState::PlainWindowState(AtBuild atBuild) : atBuild_(atBuild) {
    for (const ui::ControlDescription& control : ui::mainWindow().controls) {
        if (!control.created) continue;
        if (control.kind == ui::ControlKind::TextBox || control.kind == ui::ControlKind::Label)
            texts_.emplace(control.name, "");
        if (control.kind == ui::ControlKind::OptionButton && control.initiallySelected)
            selectedOptions_.emplace(control.container, control.name);
    }
}

std::string PlainWindowState::controlText(std::string_view control) const {
    return texts_.find(described(control, {ui::ControlKind::TextBox, ui::ControlKind::Label}).name)->second;
}

void PlainWindowState::setControlText(std::string_view control, std::string text) {
    texts_.find(described(control, {ui::ControlKind::TextBox, ui::ControlKind::Label}).name)->second = std::move(text);
}

bool PlainWindowState::isOptionSelected(std::string_view optionButton) const {
    const ui::ControlDescription& option = described(optionButton, {ui::ControlKind::OptionButton});
    const auto selected = selectedOptions_.find(option.container);
    return selected != selectedOptions_.end() && selected->second == option.name;
}

void PlainWindowState::selectOption(std::string_view optionButton) {
    const ui::ControlDescription& option = described(optionButton, {ui::ControlKind::OptionButton});
    selectedOptions_.insert_or_assign(std::string(option.container), std::string(option.name));
}

std::string PlainWindowState::setupTextForBuild() {
    if (atBuild_ == AtBuild::Kept) return setupText();
    return std::exchange(texts_.find(kSetupBox)->second, {});
}

std::vector<std::string> PlainWindowState::selectedDrawingsForBuild() {
    return atBuild_ == AtBuild::HandedOver ? list().takeMarked() : selectedDrawings();
}

void PlainWindowState::showEntries(const std::vector<std::string>& names) { marks_.assign(names.size(), false); }

std::vector<std::size_t> PlainWindowState::markedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < marks_.size(); ++row)
        if (marks_[row]) rows.push_back(row);
    return rows;
}

void PlainWindowState::markRows(const std::vector<std::size_t>& rows, std::size_t) {
    for (const std::size_t row : rows) marks_.at(row) = true;
}

}  // namespace inkrun
