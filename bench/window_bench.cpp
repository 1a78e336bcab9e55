// The window with 100,000 drawings in its directory, offscreen: the time from start to shown, and
// the time for select all + Build. Prints figures; it never fails on a slow machine.
//
//   QT_QPA_PLATFORM=offscreen bench_window [drawings] [runs]

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "frontends/qt/frm_main_inkrun.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Stands in for the person: every box is swallowed, and remembered so a failed Build shows.
class SilentDialogs : public inkrun::UserDialogs {
public:
    std::vector<std::string> problems;
    void showMessage(const std::string& text, const std::string&, inkrun::MessageIcon icon) override {
        if (icon != inkrun::MessageIcon::None) problems.push_back(text);
    }
    std::optional<std::vector<std::string>> askOpenFiles(const inkrun::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<std::string> askOpenFile(const inkrun::FileDialogOptions&) override { return openAnswer; }
    std::optional<std::string> askSaveFile(const inkrun::FileDialogOptions&) override { return saveAnswer; }
    std::optional<std::string> openAnswer, saveAnswer;
};

struct Fixture {
    std::string root;
    std::string settings;
    std::string drawings;

    explicit Fixture(int count) {
        std::string pattern = (fs::temp_directory_path() / "inkrun-window-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        settings = root + "/settings";
        drawings = root + "/drawings";
        fs::create_directory(settings);
        fs::create_directory(drawings);
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/drawing%06d.dwg", i);
            std::ofstream(drawings + name);
        }
        std::ofstream(settings + "/DefaultFile.txt") << drawings;
    }
    ~Fixture() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

void waitUntilShown(QWidget& window) {
    QElapsedTimer limit;
    limit.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && limit.elapsed() < 10'000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();  // the first paint
}

// A big setup opened into the editor and saved again: how long the window is busy with it.
void measureBigSetup(const std::string& directory, std::size_t megabytes) {
    const std::string line = "HP Laserjet 5000 series PCL 6.pc3 SET PRNTR SETUP TO USE\r\n";
    const std::string opened = directory + "/big-setup.txt";
    {
        std::ofstream out(opened, std::ios::binary);
        for (std::size_t written = 0; written < megabytes * 1'000'000; written += line.size()) out << line;
    }
    SilentDialogs dialogs;
    dialogs.openAnswer = opened;
    dialogs.saveAnswer = directory + "/big-setup-saved.txt";
    inkrun::qt::frmMainInkrun window(&dialogs);
    window.Form_Load();
    window.show();
    waitUntilShown(window);

    const auto openStart = Clock::now();
    window.mnuFile_OpenScripts_Click();
    QApplication::processEvents();
    const double open = millisecondsSince(openStart);

    const auto saveStart = Clock::now();
    window.mnuFile_SaveAs_Click();
    QApplication::processEvents();
    const double save = millisecondsSince(saveStart);

    const bool same = fs::file_size(opened) == fs::file_size(*dialogs.saveAnswer);
    std::printf("%zu MB setup: Open %.0f ms; Save As %.0f ms%s\n", megabytes, open, save,
                same && dialogs.problems.empty() ? "" : " FAILED");
    for (const std::string& problem : dialogs.problems) std::printf("  %s\n", problem.c_str());
}

// The offscreen platform warns about every window it cannot size; the figures matter here.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    qInstallMessageHandler(quietOffscreenWarnings);
    QApplication application(argc, argv);

    const auto prepared = Clock::now();
    Fixture fixture(count);
    std::printf("fixture: %d empty drawings in %.0f ms\n", count, millisecondsSince(prepared));
    fs::current_path(fixture.settings);

    std::vector<double> startups, selectAndBuilds;
    for (int run = 1; run <= runs; ++run) {
        SilentDialogs dialogs;
        const auto start = Clock::now();
        auto window = std::make_unique<inkrun::qt::frmMainInkrun>(&dialogs);
        window->Form_Load();
        window->show();
        waitUntilShown(*window);
        const double startup = millisecondsSince(start);

        auto* list = window->findChild<QListView*>("File1");
        const auto selectStart = Clock::now();
        list->selectAll();
        QApplication::processEvents();
        const double select = millisecondsSince(selectStart);

        const auto buildStart = Clock::now();
        window->cmdBuildSetup_Click();
        QApplication::processEvents();
        const double build = millisecondsSince(buildStart);

        const auto entries = window->drawingListEntries().size();
        const auto script = fs::file_size(fixture.drawings + "/Inkrun.scr");
        std::printf("run %d: %zu entries; shown %.0f ms; select all %.0f ms; Build %.0f ms (%.0f MB script)%s\n", run,
                    entries, startup, select, build, static_cast<double>(script) / 1e6,
                    dialogs.problems.empty() ? "" : " FAILED");
        for (const std::string& problem : dialogs.problems) std::printf("  %s\n", problem.c_str());
        startups.push_back(startup);
        selectAndBuilds.push_back(select + build);
        fs::remove(fixture.drawings + "/Inkrun.scr");
    }

    measureBigSetup(fixture.root, 50);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "median of %d: shown %.0f ms (goal < 1000); select all + Build %.0f ms (goal < 2000); "
        "peak RSS %ld MB\n",
        runs, median(startups), median(selectAndBuilds), usage.ru_maxrss / 1024);
    return 0;
}
