#include "platform/window_close.h"

#include <gtest/gtest.h>

#if defined(__unix__) && !defined(__APPLE__) && __has_include(<X11/Xlib.h>)

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

namespace {

using inkrun::platform::closeWindowByTitle;
using inkrun::platform::closeWindowByTitleAndClass;
using Clock = std::chrono::steady_clock;

// Our own client of the X server, owning the windows that closeWindowByTitle is to find. One
// connection for the whole suite: a bare Xvfb resets when its last client leaves, and refuses
// connections meanwhile.
class WindowClose : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* name = std::getenv("DISPLAY");
        if (name && *name) display_ = XOpenDisplay(nullptr);
    }

    static void TearDownTestSuite() {
        if (display_) XCloseDisplay(display_);
        display_ = nullptr;
    }

    void SetUp() override {
        if (!display_) GTEST_SKIP() << "no X display";
        wmProtocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
        wmDeleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    }

    void TearDown() override {
        if (!display_) return;
        for (Window window : created_) XDestroyWindow(display_, window);
        XSync(display_, True);
    }

    // Unique per process so that parallel runs on one display stay apart.
    static std::string title(const std::string& base) { return base + " " + std::to_string(getpid()); }

    Window create(Window parent = None) {
        if (parent == None) parent = DefaultRootWindow(display_);
        const Window window = XCreateSimpleWindow(display_, parent, 0, 0, 120, 80, 0, 0, 0);
        // Children go with their parents.
        if (parent == DefaultRootWindow(display_)) created_.push_back(window);
        return window;
    }

    void acceptDelete(Window window) {
        Atom protocols[] = {wmDeleteWindow_};
        XSetWMProtocols(display_, window, protocols, 1);
    }

    void setNetWmName(Window window, const std::string& name) {
        XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                        XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(name.data()), static_cast<int>(name.size()));
    }

    void setWmName(Window window, const std::string& bytes) {
        XChangeProperty(display_, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    }

    // WM_CLASS: the instance name, then the class name, each ended by a NUL.
    void setWmClass(Window window, const std::string& instance, const std::string& windowClass) {
        const std::string both = instance + '\0' + windowClass + '\0';
        XChangeProperty(display_, window, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(both.data()), static_cast<int>(both.size()));
        XSync(display_, False);
    }

    // A top-level window as a toolkit makes one.
    Window closable(const std::string& name) {
        const Window window = create();
        setNetWmName(window, name);
        acceptDelete(window);
        XMapWindow(display_, window);
        XSync(display_, False);
        return window;
    }

    // Whether `window` is sent WM_DELETE_WINDOW within `timeout`.
    bool deleteRequestArrives(Window window, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (true) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == ClientMessage && event.xclient.window == window &&
                    event.xclient.message_type == wmProtocols_ && event.xclient.format == 32 &&
                    static_cast<Atom>(event.xclient.data.l[0]) == wmDeleteWindow_) {
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return false;
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(left.count()));
        }
    }

    static inline Display* display_ = nullptr;
    std::vector<Window> created_;
    Atom wmProtocols_ = None;
    Atom wmDeleteWindow_ = None;
};

TEST_F(WindowClose, AsksTheWindowWithThatTitleToClose) {
    const std::string name = title("Inkrun close me");
    const Window window = closable(name);
    EXPECT_TRUE(closeWindowByTitle(name, 0));
    EXPECT_TRUE(deleteRequestArrives(window, std::chrono::seconds(2)));
}

TEST_F(WindowClose, WaitsUntilTheWindowHasGone) {
    const std::string name = title("Inkrun wait for me");
    const Window window = closable(name);
    const auto start = Clock::now();
    auto asked = std::async(std::launch::async, [&] { return closeWindowByTitle(name, 5000); });

    ASSERT_TRUE(deleteRequestArrives(window, std::chrono::seconds(3)));
    // Still there: the caller must not have given up yet.
    EXPECT_EQ(asked.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    XDestroyWindow(display_, window);
    created_.clear();
    XSync(display_, False);

    ASSERT_EQ(asked.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_TRUE(asked.get());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(4000));
}

TEST_F(WindowClose, GivesUpWaitingAfterTheTimeAllowed) {
    const std::string name = title("Inkrun stubborn");
    const Window window = closable(name);
    const auto start = Clock::now();
    EXPECT_TRUE(closeWindowByTitle(name, 300));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(280));
    EXPECT_LT(took, std::chrono::milliseconds(2000));
    EXPECT_TRUE(deleteRequestArrives(window, std::chrono::seconds(1)));
}

TEST_F(WindowClose, MatchesTheTitleExactly) {
    const std::string name = title("Inkrun exact");
    const Window window = closable(name);
    const auto start = Clock::now();
    EXPECT_FALSE(closeWindowByTitle(title("Inkrun nothing like it"), 5000));
    EXPECT_FALSE(closeWindowByTitle(name.substr(0, name.size() - 1), 5000));
    EXPECT_FALSE(closeWindowByTitle(name + " ", 5000));
    EXPECT_FALSE(closeWindowByTitle(title("inkrun exact"), 5000));
    EXPECT_FALSE(closeWindowByTitle("", 5000));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(deleteRequestArrives(window, std::chrono::milliseconds(100)));
}

// A second copy closes only our own window; another program's window with the same title stays,
// and the help window, the browser's, is still found by its title alone.
TEST_F(WindowClose, AClassAskedForLeavesWindowsOfOtherClassesAlone) {
    const std::string name = title("Inkrun Script Builder");
    const std::string ours = title("Inkrun class");
    const Window own = closable(name);
    setWmClass(own, "inkrun", ours);
    const Window other = closable(name);
    setWmClass(other, ours, "Other program");  // our class as its instance name: not a match
    const Window unclassed = closable(name);

    EXPECT_TRUE(closeWindowByTitleAndClass(name, ours, 0));
    EXPECT_TRUE(deleteRequestArrives(own, std::chrono::seconds(2)));
    EXPECT_FALSE(deleteRequestArrives(other, std::chrono::milliseconds(100)));
    EXPECT_FALSE(deleteRequestArrives(unclassed, std::chrono::milliseconds(100)));
    EXPECT_FALSE(closeWindowByTitleAndClass(name, ours.substr(0, ours.size() - 1), 0));
    EXPECT_FALSE(closeWindowByTitleAndClass(title("Inkrun Script"), ours, 0));

    EXPECT_TRUE(closeWindowByTitle(name, 0));
    EXPECT_TRUE(deleteRequestArrives(other, std::chrono::seconds(2)));
    EXPECT_TRUE(deleteRequestArrives(unclassed, std::chrono::seconds(2)));
}

TEST_F(WindowClose, LeavesWindowsAloneThatCannotBeAskedToClose) {
    const std::string name = title("Inkrun no protocol");
    const Window window = create();
    setNetWmName(window, name);
    XMapWindow(display_, window);
    XSync(display_, False);
    EXPECT_FALSE(closeWindowByTitle(name, 1000));
    EXPECT_FALSE(deleteRequestArrives(window, std::chrono::milliseconds(100)));
}

TEST_F(WindowClose, FallsBackToTheLatin1WmName) {
    // "Zeichnung Ä <pid>" in Latin-1, asked for in UTF-8.
    const std::string pid = std::to_string(getpid());
    const Window window = create();
    setWmName(window, "Zeichnung \xC4 " + pid);
    acceptDelete(window);
    XMapWindow(display_, window);
    XSync(display_, False);
    EXPECT_TRUE(closeWindowByTitle("Zeichnung \xC3\x84 " + pid, 0));
    EXPECT_TRUE(deleteRequestArrives(window, std::chrono::seconds(2)));
}

TEST_F(WindowClose, FindsClientWindowsInsideAWindowManagersFrame) {
    // What a reparenting window manager builds: a frame on the root, the client (marked by
    // WM_STATE) somewhere inside it.
    const std::string name = title("Inkrun framed");
    const Window frame = create();
    // Keeps a real window manager, if one runs, from managing our make-believe frame.
    XSetWindowAttributes unmanaged{};
    unmanaged.override_redirect = True;
    XChangeWindowAttributes(display_, frame, CWOverrideRedirect, &unmanaged);
    const Window border = create(frame);
    const Window client = create(border);
    setNetWmName(client, name);
    acceptDelete(client);
    const Atom wmState = XInternAtom(display_, "WM_STATE", False);
    const long state[] = {NormalState, None};
    XChangeProperty(display_, client, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    XMapWindow(display_, client);
    XMapWindow(display_, border);
    XMapWindow(display_, frame);
    XSync(display_, False);
    EXPECT_TRUE(closeWindowByTitle(name, 0));
    EXPECT_TRUE(deleteRequestArrives(client, std::chrono::seconds(2)));
}

}  // namespace

#endif
