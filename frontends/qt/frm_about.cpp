#include "frontends/qt/frm_about.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "frontends/qt/icons.h"
#include "frontends/qt/twips.h"
#include "inkrun_version.h"

namespace inkrun::app {

namespace {


QLabel* aboutLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(px(left), px(top), px(width), px(height));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("frmAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About");
    setWindowIcon(informationIcon());
    setFixedSize(px(5250), px(2265));

    Label4 = aboutLabel(this, "Label4", "Inkrun Project", 600, 240, 3855, 375);
    QFont makerFont(QStringLiteral("Times New Roman"));
    makerFont.setStyleHint(QFont::Serif);
    makerFont.setPointSize(18);
    makerFont.setWeight(QFont::Bold);
    Label4->setFont(makerFont);
    QPalette palette = Label4->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    Label4->setPalette(palette);

    // A serif face wider than the one the layout was drawn with must not cut the name off.
    Label4->resize(std::max(Label4->width(), std::min(Label4->sizeHint().width(), width() - Label4->x())),
                   Label4->height());

    Label2 = aboutLabel(this, "Label2", "Website: the project has none", 720, 840, 3615, 375);
    Label3 = aboutLabel(this, "Label3", "Email: the project has none", 720, 1200, 3615, 375);
    lblVersion = aboutLabel(this, "lblVersion", "Version", 720, 1560, 3615, 375);
    Form_Load();
}

QString frmAbout::versionLine() const { return lblVersion->text(); }

void frmAbout::Form_Load() {
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, applicationPixmap(32));
}

}  // namespace inkrun::app
