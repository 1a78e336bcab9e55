#pragma once

#include <QPlainTextEdit>
#include <string>

#include "model/window_description.h"

namespace inkrun::qt {

// The setup editor (RichTextBox3). The editor shows lines; the commands read the text with CR LF
// between lines. Until the person edits it, it gives back exactly the text it was given, so a
// setup file opened and saved again keeps every byte, whatever its line ends.
class SetupEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SetupEditor(QWidget* parent = nullptr);

    std::string text() const;
    void setText(const std::string& text);

private:
    static constexpr qsizetype kChunkSize = static_cast<qsizetype>(ui::kSetupLoadPiece);
    void loadInChunks(const QString& shown);

    std::string exact_;
    bool edited_ = false;
    bool settingText_ = false;
};

// The editor's lines joined with CR LF, from Qt's paragraph and line separators.
std::string joinWithCrLf(const QString& rawText);
// Text with any line ends (CR LF, lone CR, lone LF) as the editor shows it, with LF.
QString toEditorText(const std::string& text);

}  // namespace inkrun::qt
