#include "frontends/qt/single_line_box.h"

#include <QMimeData>
#include <QTextDocument>

#include "frontends/qt/qt_text.h"
#include "model/keyboard_rules.h"

namespace inkrun::qt {

SingleLineBox::SingleLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!settingText_) edited_ = true;
    });
}

std::string SingleLineBox::text() const {
    if (!edited_) return exact_;
    // toPlainText would turn no-break spaces into plain ones: another directory.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return fromQt(raw);
}

void SingleLineBox::setText(const std::string& text) {
    settingText_ = true;
    setPlainText(toQt(text));
    settingText_ = false;
    exact_ = text;
    edited_ = false;
}

void SingleLineBox::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    insertPlainText(toQt(ui::singleLine(fromQt(source->text()))));
}

}  // namespace inkrun::qt
