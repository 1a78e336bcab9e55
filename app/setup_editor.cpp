#include "app/setup_editor.h"

#include <QTextDocument>

#include "app/qt_text.h"

namespace inkrun::app {

std::string joinWithCrLf(const QString& rawText) {
    QString text = rawText;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return fromQt(text);
}

QString toEditorText(const std::string& text) {
    QString shown = toQt(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
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
    setPlainText(toEditorText(text));
    settingText_ = false;
    exact_ = text;
    edited_ = false;
}

}  // namespace inkrun::app
