#pragma once

#include <QPlainTextEdit>
#include <string>

namespace inkrun::qt {

// The drawing-directory box (RichTextBox1): one line that may wrap on screen. A pasted or
// dropped text loses its line breaks (Enter is refused by the keyboard rules). It gives back
// exactly the text it was given until the person edits it, and edited text as typed: a
// no-break space stays one.
class SingleLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SingleLineBox(QWidget* parent = nullptr);

    std::string text() const;
    void setText(const std::string& text);

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::string exact_;
    bool edited_ = false;
    bool settingText_ = false;
};

}  // namespace inkrun::qt
