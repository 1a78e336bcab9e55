// The About window and the help command on the real main window, offscreen.
#include <QApplication>
#include <QLabel>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "frontends/qt/frm_about.h"
#include "frontends/qt/frm_main_inkrun.h"
#include "inkrun_version.h"
#include "model/readable_colour.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using inkrun::qt::frmAbout;
using inkrun::qt::frmMainInkrun;
using inkrun::test::ScriptedDialogs;
using inkrun::test::TempDir;

class AboutWindowTest : public QObject {
    Q_OBJECT

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMainInkrun> window;
    std::filesystem::path startDirectory = std::filesystem::current_path();

    QList<frmAbout*> aboutWindows() {
        QList<frmAbout*> found;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* about = qobject_cast<frmAbout*>(top); about && about->isVisible()) found << about;
        return found;
    }

private slots:
    void init() {
        std::filesystem::current_path(dir.path());
        window = std::make_unique<frmMainInkrun>(&dialogs);
        window->Form_Load();
        window->show();
    }
    void cleanup() {
        window.reset();
        std::filesystem::current_path(startDirectory);
    }

    void aboutTwiceShowsOneWindowWithTheVersion() {
        window->mnuHelp_About_Click();
        window->mnuHelp_About_Click();
        const auto shown = aboutWindows();
        QCOMPARE(shown.size(), 1);
        frmAbout* about = shown.first();
        QCOMPARE(about->windowTitle(), QString("About"));
        QCOMPARE(about->versionLine(), QString("Version ") + inkrun::kVersionText);
        QCOMPARE(about->size(), QSize(350, 151));
        QVERIFY(!(about->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* maker = about->findChild<QLabel*>("Label4");
        QVERIFY(maker->font().bold());
        QCOMPARE(maker->font().pointSize(), 18);
        QVERIFY(dialogs.messages.empty());
    }

    // The design's dark blue where the palette is light; where it is dark, a colour that reads on
    // it, also when the desktop turns dark while the window is open.
    void theMakersNameReadsOnLightAndDarkPalettes() {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, Qt::white);
        const auto makersContrast = [&] {
            frmAbout* about = aboutWindows().first();
            const QColor text = about->findChild<QLabel*>("Label4")->palette().color(QPalette::WindowText);
            const QColor background = about->palette().color(QPalette::Window);
            return inkrun::ui::contrastRatio(text.rgb() & 0xFFFFFF, background.rgb() & 0xFFFFFF);
        };
        const auto makersColour = [&] {
            return aboutWindows().first()->findChild<QLabel*>("Label4")->palette().color(QPalette::WindowText);
        };

        window->mnuHelp_About_Click();
        QCOMPARE(makersColour(), QColor(0, 0, 192));
        QApplication::setPalette(dark);
        QVERIFY2(makersContrast() >= 4.5, QByteArray::number(makersContrast()));
        aboutWindows().first()->close();
        QTRY_VERIFY(aboutWindows().isEmpty());
        window->mnuHelp_About_Click();  // built afresh under the dark palette
        QVERIFY2(makersContrast() >= 4.5, QByteArray::number(makersContrast()));
        QApplication::setPalette(light);
        QCOMPARE(makersColour(), QColor(0, 0, 192));
    }

    // The program's icon fills its 32 pixels at the top-left corner and no more, at any scale
    // (the test runs at QT_SCALE_FACTOR 1, 1.5 and 2): between it and the maker's name there is
    // nothing but the window's background.
    void theIconKeepsToItsCornerClearOfTheMakersName() {
        window->mnuHelp_About_Click();
        frmAbout* about = aboutWindows().first();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        const QImage shot = about->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        const QColor background = about->palette().color(QPalette::Window);
        const int makersLeft = about->findChild<QLabel*>("Label4")->x();
        int iconPixels = 0;
        int strayPixels = 0;
        for (int y = 0; y < qFloor(40 * ratio); ++y)
            for (int x = 0; x < qFloor(makersLeft * ratio); ++x) {
                const bool differs = shot.pixelColor(x, y) != background;
                if (x < qFloor(32 * ratio) && y < qFloor(32 * ratio)) iconPixels += differs;
                else if (x > qCeil(33 * ratio) || y > qCeil(33 * ratio)) strayPixels += differs;
            }
        QVERIFY2(iconPixels > 32 * 32 * ratio * ratio / 5, "the icon is missing");
        QCOMPARE(strayPixels, 0);
    }

    void aLaterAboutAfterClosingBuildsTheWindowAfresh() {
        window->mnuHelp_About_Click();
        aboutWindows().first()->close();
        QTRY_VERIFY(aboutWindows().isEmpty());
        QTRY_VERIFY(window->aboutWindow() == nullptr);
        window->mnuHelp_About_Click();
        QCOMPARE(aboutWindows().size(), 1);
    }

    void closingTheMainWindowClosesTheAboutWindow() {
        window->mnuHelp_About_Click();
        QCOMPARE(aboutWindows().size(), 1);
        window->close();
        QTRY_VERIFY(aboutWindows().isEmpty());
    }

    void howToHandsTheHelpPageToTheDesktop() {
        // A stand-in for the desktop's opener records what it was given and fails as told.
        TempDir bin;
        bin.write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened\"\nexit ${OPEN_EXIT:-0}\n");
        std::filesystem::permissions(bin.file("xdg-open"), std::filesystem::perms::owner_all);
        const std::string oldPath = std::getenv("PATH");
        setenv("PATH", (bin.path() + ":" + oldPath).c_str(), 1);
        dir.write("readme.htm", "<title>INKRUN</title>");

        window->mnuHelp_HowTo_Click();
        QTRY_VERIFY(std::filesystem::exists(bin.file("opened")));
        QTRY_COMPARE(bin.read("opened"), dir.path() + "/readme.htm");
        QTest::qWait(200);
        QVERIFY(dialogs.messages.empty());

        setenv("OPEN_EXIT", "4", 1);  // no program for the page
        window->mnuHelp_HowTo_Click();
        unsetenv("OPEN_EXIT");
        QTRY_COMPARE(dialogs.messages.size(), std::size_t(1));  // told when the opener ends
        QVERIFY(dialogs.messages[0].text.starts_with("No association for file extension\n"));
        QCOMPARE(dialogs.messages[0].title, std::string("Inkrun"));

        setenv("PATH", oldPath.c_str(), 1);

        // A missing page is known before anything starts.
        std::filesystem::remove(dir.file("readme.htm"));
        window->mnuHelp_HowTo_Click();
        QCOMPARE(dialogs.messages.size(), std::size_t(2));
        QVERIFY(dialogs.messages[1].text.starts_with("File not found\n"));
    }

    // The desktop's font is the labels' (qt6ct's default is 12 pt): each label holds its whole text,
    // clear of the others and of the icon, inside the window, which grows for a larger font. Also
    // when the font changes while the window is open. The test runs at scales 1, 1.5 and 2.
    void everyLineIsWholeAtTheDesktopsFont() {
        const QFont original = QApplication::font();
        const auto checkFits = [](frmAbout* about, int points) {
            QList<QRect> texts{QRect(0, 0, 32, 32)};  // the icon's corner
            for (QLabel* label : about->findChildren<QLabel*>()) {
                const QRect text(label->pos(), label->sizeHint());
                QVERIFY2(label->geometry().contains(text),
                         qPrintable(label->text() + " at " + QString::number(points)));
                QVERIFY2(about->rect().contains(label->geometry()), qPrintable(label->text()));
                for (const QRect& other : texts) QVERIFY2(!other.intersects(text), qPrintable(label->text()));
                texts << text;
            }
        };
        window->mnuHelp_About_Click();
        for (const int points : {9, 12, 14}) {
            QFont font = original;
            font.setPointSize(points);
            QApplication::setFont(font);
            checkFits(aboutWindows().first(), points);
            aboutWindows().first()->close();
            QTRY_VERIFY(window->aboutWindow() == nullptr);
            window->mnuHelp_About_Click();
            checkFits(aboutWindows().first(), points);
        }
        QVERIFY(aboutWindows().first()->width() > 350);  // 14 pt needs more than the design
        QApplication::setFont(original);
        QTRY_COMPARE(aboutWindows().first()->size(), QSize(350, 151));
    }

    void escapeClosesIt() {
        window->mnuHelp_About_Click();
        QTest::keyClick(aboutWindows().first(), Qt::Key_Escape);
        QTRY_VERIFY(aboutWindows().isEmpty());
    }

    void theMakersNameIsWholeAndTheIconSharp() {
        window->mnuHelp_About_Click();
        frmAbout* about = aboutWindows().first();
        auto* maker = about->findChild<QLabel*>("Label4");
        QVERIFY(maker->height() >= maker->sizeHint().height());
        QVERIFY(maker->width() >= maker->sizeHint().width());
        QVERIFY(maker->alignment() & Qt::AlignTop);
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
