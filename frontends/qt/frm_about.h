#pragma once

#include <QWidget>

class QLabel;

namespace inkrun::qt {

// The About window: who makes the program and which version this is. One window for the whole
// program; it is deleted when closed (the close box or Escape) and built afresh the next time.
// Its labels are laid out for the font they get: with a larger desktop font the window grows.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QString versionLine() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Load();
    void fitToFont();

    QLabel* lblVersion = nullptr;
};

}  // namespace inkrun::qt
