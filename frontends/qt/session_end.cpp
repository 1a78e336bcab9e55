#include "frontends/qt/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <unistd.h>

#include "platform/termination_signal.h"

namespace inkrun::qt {

SessionEnd::SessionEnd(QObject* parent, std::function<void()> close, std::function<void()> save)
    : QObject(parent), close_(std::move(close)), save_(std::move(save)) {
    const int descriptor = platform::terminationSignalDescriptor();
    if (descriptor >= 0) {
        auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &SessionEnd::onSignal);
    }
#if QT_CONFIG(sessionmanager)
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, this, &SessionEnd::onSaveRequest);
        connect(gui, &QGuiApplication::saveStateRequest, this,
                [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
    }
#endif
}

void SessionEnd::onSignal() {
    char drained[64];
    while (read(platform::terminationSignalDescriptor(), drained, sizeof drained) > 0) {
    }
    if (closing_) return;  // one close; a second signal while it runs changes nothing
    closing_ = true;
    close_();
}

void SessionEnd::onSaveRequest(QSessionManager& manager) {
#if QT_CONFIG(sessionmanager)
    manager.setRestartHint(QSessionManager::RestartNever);
#else
    (void)manager;
#endif
    save_();
}

}  // namespace inkrun::qt
