#include "frontends/qt/frm_about.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <vector>

#include "frontends/qt/described_controls.h"
#include "frontends/qt/icons.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/twips.h"
#include "inkrun_version.h"
#include "model/text_fit.h"
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
    fitToFont();
}

// The design's twips are the least each label gets; a font that needs more makes room.
void frmAbout::fitToFont() {
    const ui::WindowDescription& design = ui::aboutWindow();
    std::vector<ui::Box> described, needed;
    std::vector<QLabel*> labels;
    for (const ui::ControlDescription& control : design.controls) {
        auto* label = findChild<QLabel*>(qtName(control.name));
        const ui::TwipsRect& place = control.place;
        described.push_back({px(place.left), px(place.top), px(place.width), px(place.height)});
        needed.push_back({0, 0, label->sizeHint().width(), label->sizeHint().height()});
        labels.push_back(label);
    }
    const ui::FittedLayout layout = ui::fitToText(described, needed, px(design.clientWidth), px(design.clientHeight));
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const ui::Box& place = layout.places[i];
        labels[i]->setGeometry(place.left, place.top, place.width, place.height);
    }
    setFixedSize(layout.width, layout.height);
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) close();
    else QWidget::keyPressEvent(event);
}

// The desktop's font may change while the window is open.
void frmAbout::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitToFont();
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
