#pragma once

#include <QObject>
#include <functional>

class QSessionManager;

namespace inkrun::qt {

// The window and the end of the session. A termination signal (a logout's SIGTERM or SIGHUP,
// Ctrl+C) closes the window as a second copy would, through `close`. A session manager that asks
// the program to save before a logout gets `save`, which keeps what must be kept without closing:
// the logout may yet be cancelled. The manager is told not to start the program again at the next
// login: the window would start outside its settings directory.
class SessionEnd : public QObject {
public:
    SessionEnd(QObject* parent, std::function<void()> close, std::function<void()> save);

private:
    void onSignal();
    void onSaveRequest(QSessionManager& manager);

    std::function<void()> close_;
    std::function<void()> save_;
    bool closing_ = false;
};

}  // namespace inkrun::qt
