#include "frontends/qt/setup_editor.h"

#include <QProgressDialog>
#include <QTextCursor>
#include <QTextDocument>

#include "frontends/qt/qt_text.h"

namespace inkrun::qt {

// Both conversions are single passes: QString::replace with a longer or shorter text moves the
// rest of a many-megabyte setup once per line.
std::string joinWithCrLf(const QString& rawText) {
    QString text = rawText;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));  // same length: in place
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    const std::string lines = fromQt(text);
    std::string joined;
    joined.reserve(lines.size() + lines.size() / 16);
    for (char c : lines) {
        if (c == '\n') joined.push_back('\r');
        joined.push_back(c);
    }
    return joined;
}

QString toEditorText(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            lines.push_back(text[i]);
            continue;
        }
        lines.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return toQt(lines);
}

SetupEditor::SetupEditor(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!settingText_) edited_ = true;
    });
}

std::string SetupEditor::text() const {
    if (!edited_) return exact_;
    // toRawText keeps non-breaking spaces, which toPlainText would turn into plain ones.
    return joinWithCrLf(document()->toRawText());
}

void SetupEditor::setText(const std::string& text) {
    settingText_ = true;
    const QString shown = toEditorText(text);
    if (shown.size() <= kChunkSize) setPlainText(shown);
    else loadInChunks(shown);
    settingText_ = false;
    exact_ = text;
    edited_ = false;
}

// Laying out a setup of many megabytes takes seconds. It goes in piece by piece behind a modal
// progress box, so the window keeps painting and no other command can start meanwhile.
void SetupEditor::loadInChunks(const QString& shown) {
    clear();
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    QProgressDialog progress(toQt(std::string(ui::kSetupLoadingText)), QString(), 0,
                             static_cast<int>(shown.size() / kChunkSize), window());
    progress.setWindowTitle(tr("Inkrun"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QTextCursor cursor(doc);
    for (qsizetype at = 0; at < shown.size(); at += kChunkSize) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(shown.mid(at, kChunkSize));
        progress.setValue(static_cast<int>(at / kChunkSize));
    }
    doc->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
}

}  // namespace inkrun::qt
