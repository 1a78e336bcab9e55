#include "frontends/qt/close_request_filter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#if defined(INKRUN_HAVE_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace inkrun::qt {

#if defined(INKRUN_HAVE_XCB)

namespace {

unsigned internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply) return 0;
    const unsigned atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

CloseRequestFilter::CloseRequestFilter(QWidget* window, std::function<void()> close)
    : QObject(window), window_(window), close_(std::move(close)) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    protocolsAtom_ = internAtom(x11->connection(), "WM_PROTOCOLS");
    deleteWindowAtom_ = internAtom(x11->connection(), "WM_DELETE_WINDOW");
    if (protocolsAtom_ && deleteWindowAtom_) QCoreApplication::instance()->installNativeEventFilter(this);
}

bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto* request = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (request->type != protocolsAtom_ || request->format != 32 || request->data.data32[0] != deleteWindowAtom_)
        return false;
    // Without a modal dialog Qt delivers the close event itself.
    if (!QApplication::activeModalWidget() || !window_->internalWinId() ||
        request->window != static_cast<xcb_window_t>(window_->internalWinId()))
        return false;
    close_();
    return true;
}

#else

CloseRequestFilter::CloseRequestFilter(QWidget* window, std::function<void()> close)
    : QObject(window), window_(window), close_(std::move(close)) {}

bool CloseRequestFilter::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }

#endif

CloseRequestFilter::~CloseRequestFilter() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

}  // namespace inkrun::qt
