#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>

class QWidget;

namespace inkrun::qt {

// Qt drops a close request for a window that a modal dialog blocks. A second copy of the program
// asks this one to close by its title, and it must close whatever it shows: this filter catches
// that request (WM_DELETE_WINDOW on X11) while a modal dialog or message box is up and hands it
// to `close`. Without X11 it does nothing.
class CloseRequestFilter : public QObject, public QAbstractNativeEventFilter {
public:
    CloseRequestFilter(QWidget* window, std::function<void()> close);
    ~CloseRequestFilter() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget* window_;
    std::function<void()> close_;
    unsigned protocolsAtom_ = 0;
    unsigned deleteWindowAtom_ = 0;
};

}  // namespace inkrun::qt
