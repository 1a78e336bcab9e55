#include "frontends/qt/described_controls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "frontends/qt/drawing_list_view.h"
#include "frontends/qt/icons.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/setup_editor.h"
#include "frontends/qt/single_line_box.h"
#include "frontends/qt/twips.h"
#include "model/keyboard_rules.h"
#include "model/readable_colour.h"

namespace inkrun::qt {

using ui::ControlKind;

namespace {

QRect placeOf(const ui::TwipsRect& place) { return {px(place.left), px(place.top), px(place.width), px(place.height)}; }

// A grey a shade darker than the window, like an inactive caption: the two boxes that show where
// things are stand out from the editable ones.
void paintInactiveCaptionBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    const QColor grey = palette.color(QPalette::Window).darker(112);
    palette.setColor(QPalette::Base, grey);
    palette.setColor(QPalette::Window, grey);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

bool isFixedPitch(const QFont& font) { return QFontInfo(font).fixedPitch(); }

// The font system may hand a stand-in of another name for a family it lacks; what the setup's
// columns need is a fixed pitch, whatever the font is called.
QFont fixedPitchFont(QFont wanted) {
    wanted.setStyleHint(QFont::TypeWriter);
    if (isFixedPitch(wanted)) return wanted;
    QFont candidate = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    candidate.setPointSizeF(wanted.pointSizeF());
    candidate.setWeight(wanted.weight());
    if (isFixedPitch(candidate)) return candidate;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        candidate.setFamily(family);
        if (isFixedPitch(candidate)) return candidate;
    }
    return wanted;  // the system has none: the nearest the font system offers
}

// The keyboard rules of one control, ahead of the widget's own handling.
class KeyboardRules : public QObject {
public:
    KeyboardRules(QWidget* widget, const ui::ControlDescription& control) : QObject(widget), control_(control) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        ui::KeyStroke stroke;
        stroke.control = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
        case Qt::Key_Tab: stroke.key = (key->modifiers() & Qt::ShiftModifier) ? ui::Key::Backtab : ui::Key::Tab; break;
        case Qt::Key_Backtab: stroke.key = ui::Key::Backtab; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: stroke.key = ui::Key::Enter; break;
        case Qt::Key_A:
            if (key->modifiers() != Qt::ControlModifier) return false;
            stroke.key = ui::Key::SelectAll;
            break;
        default: return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        switch (ui::answerKey(control_, stroke)) {
        case ui::KeyAnswer::AsUsual: return false;
        case ui::KeyAnswer::FocusNext: moveFocus(widget, true); return true;
        case ui::KeyAnswer::FocusPrevious: moveFocus(widget, false); return true;
        case ui::KeyAnswer::Press:
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->click();
            return true;
        case ui::KeyAnswer::Ignore: return true;
        case ui::KeyAnswer::SelectAll:
            if (auto* view = qobject_cast<QAbstractItemView*>(widget)) view->selectAll();
            return true;
        }
        return false;
    }

private:
    const ui::ControlDescription& control_;
};

// A text colour of the design, kept where it reads on the background behind it and made readable
// where it does not (a dark palette); worked out again whenever the palette changes.
class ReadableTextColour : public QObject {
public:
    ReadableTextColour(QWidget* widget, std::uint32_t wanted) : QObject(widget), wanted_(wanted) {
        apply(widget);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) apply(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void apply(QWidget* widget) const {
        QPalette palette = widget->palette();
        const QRgb background = palette.color(QPalette::Window).rgb() & 0xFFFFFF;
        const QColor colour = QColor::fromRgb(ui::readableColour(wanted_, background));
        if (palette.color(QPalette::WindowText) == colour) return;  // which also ends the change this sets off
        palette.setColor(QPalette::WindowText, colour);
        widget->setPalette(palette);
    }

    std::uint32_t wanted_;
};

// An option button is a tab stop only while it is the selected one of its group.
void followSelectionWithTabStop(QRadioButton* button, const ui::ControlDescription& control) {
    auto update = [button, &control](bool checked) {
        button->setFocusPolicy(ui::isTabStop(control, checked) ? Qt::StrongFocus : Qt::ClickFocus);
    };
    update(button->isChecked());
    QObject::connect(button, &QAbstractButton::toggled, button, update);
}

// Option buttons keep their described centre but get the height their indicator needs, and
// never reach up into the frame's caption.
void placeInFrame(QWidget* button, const QRect& described) {
    const int height = std::max(described.height(), button->sizeHint().height());
    QRect place(described.left(), described.center().y() - height / 2, described.width(), height);
    if (auto* frame = qobject_cast<QGroupBox*>(button->parentWidget())) {
        const int clear = frame->contentsRect().top();
        if (place.top() < clear) place.moveTop(clear);
        // Pushed down, a button must not cover the one placed above it.
        for (QRadioButton* above : frame->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            if (above != button && above->geometry().intersects(place)) place.moveTop(above->geometry().bottom() + 1);
    }
    button->setGeometry(place);
}

}  // namespace

QIcon iconFor(ui::IconId icon) {
    switch (icon) {
    case ui::IconId::Hammer: return hammerIcon();
    case ui::IconId::Diskettes: return diskettesIcon();
    case ui::IconId::Eraser: return eraserIcon();
    case ui::IconId::ClosedFolder: return closedFolderIcon();
    case ui::IconId::OpenFolderText: return openFolderTextIcon();
    case ui::IconId::Program: return applicationIcon();
    case ui::IconId::Information: return informationIcon();
    case ui::IconId::None: break;
    }
    return {};
}

QFont fontFor(const ui::FontDescription& description, const QFont& base) {
    QFont font = base;
    if (!description.family.empty()) font.setFamily(qtName(description.family));
    if (description.points > 0) font.setPointSizeF(description.points);
    font.setWeight(description.weight >= 700 ? QFont::Bold : QFont::Normal);
    if (description.fixedPitch) return fixedPitchFont(font);
    if (description.serif) font.setStyleHint(QFont::Serif);
    return font;
}

QWidget* buildControl(const ui::ControlDescription& control, QWidget* parent) {
    if (!control.created) return nullptr;
    QWidget* widget = nullptr;
    const QString caption = qtName(control.caption);
    switch (control.kind) {
    case ControlKind::FileList: widget = new DrawingListView(parent); break;
    case ControlKind::PictureButton: {
        auto* button = new QToolButton(parent);
        button->setIcon(iconFor(control.icon));
        button->setIconSize(QSize(32, 32));
        button->setToolTip(qtName(control.tooltip));
        button->setAccessibleName(qtName(control.tooltip));
        button->setFocusPolicy(Qt::StrongFocus);
        widget = button;
        break;
    }
    case ControlKind::TextBox: {
        QPlainTextEdit* box = nullptr;
        if (control.singleLine) {
            box = new SingleLineBox(parent);
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        } else {
            box = new SetupEditor(parent);
            // Setup lines are command answers: never wrapped, scrolled sideways instead.
            box->setLineWrapMode(QPlainTextEdit::NoWrap);
        }
        const auto bars = control.scrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
        box->setHorizontalScrollBarPolicy(bars);
        box->setVerticalScrollBarPolicy(control.singleLine ? Qt::ScrollBarAlwaysOff : bars);
        box->setTabChangesFocus(true);
        box->setAccessibleName(caption);
        widget = box;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(control.wraps);
        if (control.wraps) label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        widget = label;
        break;
    }
    case ControlKind::Frame: widget = new QGroupBox(caption, parent); break;
    case ControlKind::OptionButton: {
        auto* button = new QRadioButton(caption, parent);
        button->setChecked(control.initiallySelected);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qtName(control.name));
    if (!control.font.family.empty() || control.font.points > 0 || control.font.weight != 400)
        widget->setFont(fontFor(control.font, widget->font()));
    if (!control.font.defaultColor) new ReadableTextColour(widget, control.font.color);
    if (control.inactiveCaptionBackground) paintInactiveCaptionBackground(widget);
    if (control.kind == ControlKind::OptionButton) placeInFrame(widget, placeOf(control.place));
    else widget->setGeometry(placeOf(control.place));
    if (control.kind == ControlKind::Label || control.kind == ControlKind::OptionButton) growToFit(widget);
    applyKeyboardRules(widget, control);
    return widget;
}

void applyKeyboardRules(QWidget* widget, const ui::ControlDescription& control) {
    widget->installEventFilter(new KeyboardRules(widget, control));
    if (auto* option = qobject_cast<QRadioButton*>(widget)) followSelectionWithTabStop(option, control);
}

void applyTabOrder(QWidget* root, const ui::WindowDescription& window) {
    QWidget* previous = nullptr;
    for (const ui::ControlDescription* control : ui::tabOrder(window)) {
        QWidget* widget = root->findChild<QWidget*>(qtName(control->name));
        if (!widget || widget->focusPolicy() == Qt::NoFocus || control->kind == ControlKind::Label ||
            control->kind == ControlKind::Frame)
            continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void growToFit(QWidget* caption) {
    const QSize wanted = caption->sizeHint();
    QWidget* parent = caption->parentWidget();
    const int roomRight = parent->width() - caption->x();
    const int roomDown = parent->height() - caption->y();
    const auto* label = qobject_cast<QLabel*>(caption);
    const int width = label && label->wordWrap() ? caption->width()
                                                 : std::max(caption->width(), std::min(wanted.width(), roomRight));
    const int height = std::max(caption->height(), std::min(wanted.height(), roomDown));
    caption->resize(width, height);
}

void moveFocus(QWidget* from, bool forward) {
    QWidget* window = from->window();
    QWidget* next = from;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if ((next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && next->isEnabled() && next->isVisibleTo(window) &&
            next->window() == window && !next->focusProxy()) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (next != from);
}

Qt::WindowFlags fixedWindowFlags(const ui::WindowDescription& window) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (window.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

}  // namespace inkrun::qt
