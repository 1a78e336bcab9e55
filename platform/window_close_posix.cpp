#include "platform/window_close.h"

#include "platform/wait_while.h"

#if defined(INKRUN_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <climits>
#include <cstdlib>
#include <mutex>
#include <vector>
#endif

namespace inkrun::platform {

using detail::Clock;
using detail::waitWhile;

#if defined(INKRUN_HAVE_X11)

namespace {

// Xlib's error handler is process-wide. While we walk the tree, windows of other programs may
// vanish under us; those errors belong to our connection and are dropped. Errors on any other
// connection go to whoever handled them before.
std::mutex handlerMutex;
Display* ourDisplay = nullptr;
XErrorHandler previousHandler = nullptr;

int ignoreOurErrors(Display* display, XErrorEvent* event) {
    if (display == ourDisplay) return 0;
    return previousHandler ? previousHandler(display, event) : 0;
}

struct Atoms {
    Atom netWmName;
    Atom utf8String;
    Atom compoundText;
    Atom wmState;
    Atom wmProtocols;
    Atom wmDeleteWindow;
};

struct Property {
    Atom type = None;
    int format = 0;
    std::vector<unsigned char> bytes;  // format 8
    std::vector<long> longs;           // format 32, as Xlib hands them out
};

// False when the window is gone or carries no such property.
bool readProperty(Display* display, Window window, Atom name, Property& out) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // A quarter million 32-bit units is far beyond any title or protocol list.
    if (XGetWindowProperty(display, window, name, 0, 1L << 16, False, AnyPropertyType, &type, &format, &count,
                           &remaining, &data) != Success) {
        return false;
    }
    out = Property{};
    out.type = type;
    out.format = format;
    if (data) {
        if (format == 8) {
            out.bytes.assign(data, data + count);
        } else if (format == 32) {
            const long* values = reinterpret_cast<const long*>(data);
            out.longs.assign(values, values + count);
        }
        XFree(data);
    }
    return type != None;
}

std::string latin1ToUtf8(const std::vector<unsigned char>& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::string compoundTextToUtf8(Display* display, const Property& property) {
    XTextProperty text;
    text.value = const_cast<unsigned char*>(property.bytes.data());
    text.encoding = property.type;
    text.format = 8;
    text.nitems = property.bytes.size();
    char** list = nullptr;
    int count = 0;
    std::string result;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i) result += list[i];
        XFreeStringList(list);
    }
    return result;
}

// The window's title as UTF-8; false when it has none (or is gone).
bool windowTitle(Display* display, const Atoms& atoms, Window window, std::string& title) {
    Property property;
    if (readProperty(display, window, atoms.netWmName, property) && property.type == atoms.utf8String &&
        property.format == 8) {
        title.assign(property.bytes.begin(), property.bytes.end());
        return true;
    }
    if (!readProperty(display, window, XA_WM_NAME, property) || property.format != 8) return false;
    if (property.type == atoms.utf8String) {
        title.assign(property.bytes.begin(), property.bytes.end());
    } else if (property.type == XA_STRING) {
        title = latin1ToUtf8(property.bytes);
    } else if (property.type == atoms.compoundText) {
        title = compoundTextToUtf8(display, property);
    } else {
        return false;
    }
    return true;
}

bool hasProperty(Display* display, Window window, Atom name) {
    Property property;
    return readProperty(display, window, name, property);
}

bool acceptsDelete(Display* display, const Atoms& atoms, Window window) {
    Property property;
    if (!readProperty(display, window, atoms.wmProtocols, property) || property.format != 32) return false;
    for (long protocol : property.longs)
        if (static_cast<Atom>(protocol) == atoms.wmDeleteWindow) return true;
    return false;
}

std::vector<Window> children(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* list = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &parent, &list, &count) && list) {
        result.assign(list, list + count);
    }
    if (list) XFree(list);
    return result;
}

// Client windows carry WM_STATE once a window manager manages them; a reparenting manager puts
// them somewhere below its frame. Without a manager nobody sets WM_STATE and the children of
// the root are the clients themselves.
constexpr int maxDepth = 32;

void findStatefulBelow(Display* display, const Atoms& atoms, Window window, int depth, std::vector<Window>& out) {
    if (depth > maxDepth) return;
    for (Window child : children(display, window)) {
        if (hasProperty(display, child, atoms.wmState)) {
            out.push_back(child);
        } else {
            findStatefulBelow(display, atoms, child, depth + 1, out);
        }
    }
}

std::vector<Window> topLevelClients(Display* display, const Atoms& atoms) {
    std::vector<Window> clients;
    for (int screen = 0; screen < ScreenCount(display); ++screen) {
        for (Window child : children(display, RootWindow(display, screen))) {
            if (hasProperty(display, child, atoms.wmState)) {
                clients.push_back(child);
                continue;
            }
            const std::size_t before = clients.size();
            findStatefulBelow(display, atoms, child, 1, clients);
            if (clients.size() == before) clients.push_back(child);
        }
    }
    return clients;
}

bool carriesTitle(Display* display, const Atoms& atoms, Window window, const std::string& title) {
    std::string name;
    return windowTitle(display, atoms, window, name) && name == title;
}

// WM_CLASS holds the instance name and then the class name, each ended by a NUL.
bool ofClass(Display* display, Window window, const std::string& windowClass) {
    Property property;
    if (!readProperty(display, window, XA_WM_CLASS, property) || property.format != 8) return false;
    const std::string both(property.bytes.begin(), property.bytes.end());
    const std::size_t instanceEnd = both.find('\0');
    if (instanceEnd == std::string::npos) return false;
    std::string name = both.substr(instanceEnd + 1);
    if (const std::size_t end = name.find('\0'); end != std::string::npos) name.resize(end);
    return name == windowClass;
}

// Our own connection, with the error handler installed for as long as it is open (closing
// it flushes, and errors may still arrive then).
class Connection {
public:
    Connection() : lock_(handlerMutex), display_(XOpenDisplay(nullptr)) {
        if (!display_) return;
        ourDisplay = display_;
        previousHandler = XSetErrorHandler(ignoreOurErrors);
    }
    ~Connection() {
        if (!display_) return;
        XCloseDisplay(display_);
        XSetErrorHandler(previousHandler);
        previousHandler = nullptr;
        ourDisplay = nullptr;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* display() const { return display_; }

private:
    std::lock_guard<std::mutex> lock_;
    Display* display_;
};

}  // namespace

bool detail::closeWindows(const std::string& title, const std::string* windowClass, int waitMilliseconds) noexcept {
    try {
        // An empty title would match every window that set an empty name.
        if (title.empty()) return false;
        const char* displayName = std::getenv("DISPLAY");
        if (!displayName || !*displayName) return false;

        Connection connection;
        Display* display = connection.display();
        if (!display) return false;

        Atoms atoms{};
        atoms.netWmName = XInternAtom(display, "_NET_WM_NAME", False);
        atoms.utf8String = XInternAtom(display, "UTF8_STRING", False);
        atoms.compoundText = XInternAtom(display, "COMPOUND_TEXT", False);
        atoms.wmState = XInternAtom(display, "WM_STATE", False);
        atoms.wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
        atoms.wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

        std::vector<Window> asked;
        for (Window window : topLevelClients(display, atoms)) {
            if (!carriesTitle(display, atoms, window, title) || !acceptsDelete(display, atoms, window)) continue;
            if (windowClass && !ofClass(display, window, *windowClass)) continue;
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = atoms.wmProtocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(atoms.wmDeleteWindow);
            event.xclient.data.l[1] = CurrentTime;
            if (XSendEvent(display, window, False, NoEventMask, &event)) asked.push_back(window);
        }
        if (asked.empty()) return false;
        XFlush(display);

        // Done once every window asked is destroyed or has dropped the title.
        waitWhile(
            [&] {
                for (Window window : asked)
                    if (carriesTitle(display, atoms, window, title)) return true;
                return false;
            },
            waitMilliseconds);
        return true;
    } catch (...) {
        return false;
    }
}

#else

bool detail::closeWindows(const std::string&, const std::string*, int) noexcept { return false; }

#endif

}  // namespace inkrun::platform
