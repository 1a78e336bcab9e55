// A window with a given title for end-to-end tests: says "shown" on stdout once it is on the
// screen and appends "closed" to a log file when asked to close.
//   titled_window TITLE [LOG]

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

class TitledWindow : public QWidget {
public:
    explicit TitledWindow(std::string log) : log_(std::move(log)) {}

protected:
    // The first paint follows the first expose, so the window is mapped and findable by then.
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (announced_) return;
        announced_ = true;
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
    }

    void closeEvent(QCloseEvent* event) override {
        if (!log_.empty()) {
            std::ofstream out(log_, std::ios::app);
            out << "closed\n";
        }
        event->accept();
        QCoreApplication::exit(0);
    }

private:
    std::string log_;
    bool announced_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: titled_window TITLE [LOG]\n", stderr);
        return 2;
    }
    TitledWindow window(argc > 2 ? argv[2] : "");
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
