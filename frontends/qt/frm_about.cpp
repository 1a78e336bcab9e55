#include "frontends/qt/frm_about.h"

#include <QLabel>
#include <QPainter>

#include "frontends/qt/described_controls.h"
#include "frontends/qt/icons.h"
#include "frontends/qt/twips.h"
#include "inkrun_version.h"
#include "model/window_description.h"

namespace inkrun::qt {

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, fixedWindowFlags(ui::aboutWindow())) {
    const ui::WindowDescription& design = ui::aboutWindow();
    setObjectName(QString::fromUtf8(design.name.data(), static_cast<qsizetype>(design.name.size())));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(design.caption.data(), static_cast<qsizetype>(design.caption.size())));
    setWindowIcon(iconFor(design.icon));
    setFixedSize(px(design.clientWidth), px(design.clientHeight));
    for (const ui::ControlDescription& control : design.controls) buildControl(control, this);
    lblVersion = findChild<QLabel*>("lblVersion");
    Form_Load();
}

QString frmAbout::versionLine() const { return lblVersion->text(); }

void frmAbout::Form_Load() {
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
}

// The program's icon in the 32 device-independent pixels of the top-left corner; the icon
// renders itself at the painter's device pixels, so it stays sharp at every scale.
void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    iconFor(ui::IconId::Program).paint(&painter, QRect(0, 0, 32, 32));
}

}  // namespace inkrun::qt
