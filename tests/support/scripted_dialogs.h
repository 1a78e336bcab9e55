#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/user_dialogs.h"

namespace inkrun::test {

// Stands in for the person at the screen: records every box and dialog shown and answers each
// dialog with the next queued answer (nullopt = the person cancels).
class ScriptedDialogs : public UserDialogs {
public:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon;
    };
    enum class DialogKind { OpenFiles, OpenFile, SaveFile };
    struct Shown {
        DialogKind kind;
        FileDialogOptions options;
    };

    std::vector<Message> messages;
    std::vector<Shown> dialogs;
    std::deque<std::optional<std::vector<std::string>>> answers;

    void answer(std::vector<std::string> parts) { answers.emplace_back(std::move(parts)); }
    void answer(std::string path) { answers.emplace_back(std::vector<std::string>{std::move(path)}); }
    void cancel() { answers.emplace_back(std::nullopt); }

    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions& options) override {
        return next(DialogKind::OpenFiles, options);
    }
    std::optional<std::string> askOpenFile(const FileDialogOptions& options) override {
        auto parts = next(DialogKind::OpenFile, options);
        if (!parts) return std::nullopt;
        return parts->at(0);
    }
    std::optional<std::string> askSaveFile(const FileDialogOptions& options) override {
        auto parts = next(DialogKind::SaveFile, options);
        if (!parts) return std::nullopt;
        return parts->at(0);
    }

private:
    std::optional<std::vector<std::string>> next(DialogKind kind, const FileDialogOptions& options) {
        dialogs.push_back({kind, options});
        if (answers.empty()) throw std::logic_error("a dialog was shown that the test did not expect");
        auto answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace inkrun::test
