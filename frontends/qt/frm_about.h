#pragma once

#include <QWidget>

class QLabel;

namespace inkrun::qt {

// The About window: who makes the program and which version this is. One window for the whole
// program; it is deleted when closed and built afresh the next time.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QString versionLine() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();

    QLabel* lblVersion = nullptr;
};

}  // namespace inkrun::qt
