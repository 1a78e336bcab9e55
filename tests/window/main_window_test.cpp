// The real main window under the offscreen platform, with a stand-in for the person who answers
// its dialogs.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/startup.h"
#include "drawings/drawing_list.h"
#include "drawings/drawing_selection.h"
#include "frontends/cli/build_cli.h"
#include "frontends/qt/frm_main_inkrun.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/qt_user_dialogs.h"
#include "frontends/qt/setup_editor.h"
#include "model/plain_window_state.h"
#include "model/window_description.h"
#include "setup/setup_commands.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

using inkrun::MessageIcon;
using inkrun::qt::frmMainInkrun;
using inkrun::qt::qtName;
using inkrun::test::ScriptedDialogs;
using inkrun::test::TempDir;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> dir;
    std::unique_ptr<inkrun::test::DataFolderGuard> dataFolder;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<frmMainInkrun> window;
    std::filesystem::path startDirectory = std::filesystem::current_path();

    // A settings directory remembering a drawing directory with five drawings.
    void start() {
        dir = std::make_unique<TempDir>();
        dir->mkdir("jobs");
        for (const char* name : {"A-101.dwg", "A-102.dwg", "b-201.DWG", "C-301.dwg", "D-401.dwg", "notes.txt"})
            dir->write(std::string("jobs/") + name, "");
        dir->write("DefaultFile.txt", dir->file("jobs"));
        dir->write("Setup1.txt", "zoom\r\nextents");
        dataFolder = std::make_unique<inkrun::test::DataFolderGuard>(dir->mkdir("data"));
        std::filesystem::current_path(dir->path());
        startAgain();
    }
    // The program started once more in the same settings directory, after the last one closed.
    void startAgain() {
        window.reset();
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<frmMainInkrun>(dialogs.get());
        window->Form_Load();
    }
    // Types at the end of the setup, as the person would.
    void typeIntoSetup(const char* keys) {
        auto* editor = child<QPlainTextEdit>("RichTextBox3");
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, keys);
    }
    // The setups kept in the settings directory, oldest first.
    std::vector<std::string> kept() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir->path()))
            if (entry.path().filename().string().starts_with("Setup.unsaved")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    template <typename T>
    T* child(const char* name) {
        T* found = window->findChild<T*>(name);
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QAction* action(const char* name) { return child<QAction>(name); }
    void click(const char* button) { child<QToolButton>(button)->click(); }
    void selectRows(std::initializer_list<int> rows) {
        auto* list = child<QListView>("File1");
        for (int row : rows) list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    }
    std::string script() { return dir->read("jobs/Inkrun.scr"); }

private slots:
    void cleanup() {
        window.reset();
        std::filesystem::current_path(startDirectory);
        dataFolder.reset();
        dir.reset();
    }

    void layoutFollowsTheDesign() {
        start();
        QCOMPARE(window->windowTitle(), QString("Inkrun Script Builder"));
        QCOMPARE(window->centralWidget()->size(), QSize(641, 477));
        QCOMPARE(child<QWidget>("File1")->geometry(), QRect(56, 96, 193, 357));
        QCOMPARE(child<QWidget>("RichTextBox3")->geometry(), QRect(312, 96, 321, 353));
        QCOMPARE(child<QWidget>("cmdBuildSetup")->geometry(), QRect(264, 96, 41, 41));
        const std::pair<const char*, const char*> tips[] = {{"cmdBuildSetup", "Build Inkrun Script"},
                                                            {"cmdSaveSetup", "Save Script Setup"},
                                                            {"cmdClearSetup", "Clear Setup Script"},
                                                            {"cmdOpenDrawings", "Open Drawing Files"},
                                                            {"cmdOpenScript", "Open Script Setup Files"}};
        for (const auto& [name, tip] : tips) {
            auto* button = child<QToolButton>(name);
            QCOMPARE(button->toolTip(), QString(tip));
            QVERIFY(button->text().isEmpty() || button->toolButtonStyle() == Qt::ToolButtonIconOnly);
            QVERIFY(!button->icon().pixmap(32, 32).isNull());
            QVERIFY(!button->icon().pixmap(16, 16).isNull());
        }
        QCOMPARE(child<QLabel>("Label4")->text(), QString("Drawing Directory:"));
        QCOMPARE(child<QLabel>("Label5")->text(), QString("Script Settings Directory  "));
        QVERIFY(child<QRadioButton>("optSort(0)")->isChecked());
        QCOMPARE(child<QRadioButton>("optSort(1)")->text(), QString("asc"));
    }

    // The menu bar holds the description's menus, entries, separators and shortcuts, in order.
    void menusFollowTheDescription() {
        start();
        QStringList seen, described;
        for (QAction* top : window->menuBar()->actions()) {
            seen << top->text();
            for (QAction* entry : top->menu()->actions())
                seen << (entry->isSeparator() ? "-" : entry->text()) + " " + entry->shortcut().toString();
        }
        for (const inkrun::ui::Menu& menu : inkrun::ui::mainWindow().menus) {
            described << qtName(menu.caption);
            for (const inkrun::ui::MenuEntry& entry : menu.entries)
                described << qtName(entry.caption) + " " + qtName(entry.shortcut);
        }
        QCOMPARE(seen, described);
    }

    void startsInTheRememberedDirectoryWithTheListFocused() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("File1"));
        QCOMPARE(window->drawingDirectory(), dir->file("jobs"));
        const std::vector<std::string> listed = window->drawingListEntries();
        QCOMPARE(listed, (std::vector<std::string>{"A-101.dwg", "A-102.dwg", "b-201.DWG", "C-301.dwg", "D-401.dwg"}));
        QVERIFY(window->selectedDrawings().empty());
        QCOMPARE(window->setupPath(), dir->file("Setup1.txt"));
        QCOMPARE(window->setupText(), std::string("zoom\r\nextents"));
    }

    void keyboardSelectionReachesTheBuild() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* list = child<QListView>("File1");
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(window->selectedDrawings().size(), std::size_t(5));
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(window->selectedDrawings(), (std::vector<std::string>{"A-101.dwg", "A-102.dwg"}));
    }

    // As a list box's ListIndex: the list's last entry is the current one after a pick.
    void pickedDrawingsAreMarkedWithTheLastEntryCurrent() {
        start();
        dialogs->answer(std::vector<std::string>{dir->file("jobs"), "C-301.dwg", "A-102.dwg"});
        click("cmdOpenDrawings");
        QCOMPARE(window->selectedDrawings(), (std::vector<std::string>{"A-102.dwg", "C-301.dwg"}));
        QCOMPARE(child<QListView>("File1")->currentIndex().row(), 4);
    }

    void buildButtonAndMenuWriteTheSameScript() {
        start();
        selectRows({0, 2});
        child<QRadioButton>("optSort(1)")->setChecked(true);
        click("cmdBuildSetup");
        const std::string fromButton = script();
        std::filesystem::remove(dir->file("jobs/Inkrun.scr"));
        action("mnuTools_Build")->trigger();
        QCOMPARE(script(), fromButton);
        const std::string jobs = dir->file("jobs");
        QCOMPARE(fromButton, inkrun::test::expectedScript(jobs, {"A-101.dwg", "b-201.DWG"}, "zoom\r\nextents"));
        QCOMPARE(dialogs->messages.size(), std::size_t(2));
        QCOMPARE(dialogs->messages[0].text, dialogs->messages[1].text);
        QCOMPARE(dialogs->messages[0].text, "File saved as: Inkrun.scr\rFile located: " + jobs);
    }

    void buildWarningsAndErrorsAreShown() {
        start();
        window->setSetupText("");
        click("cmdBuildSetup");
        window->setSetupText("zoom");
        click("cmdBuildSetup");
        selectRows({1});
        window->setDrawingDirectory(dir->file("no such directory"));
        click("cmdBuildSetup");
        QCOMPARE(dialogs->messages.size(), std::size_t(3));
        QCOMPARE(dialogs->messages[0].title, std::string("No Information"));
        QCOMPARE(dialogs->messages[1].title, std::string("No Files"));
        QCOMPARE(dialogs->messages[2].title, std::string("Inkrun"));
        QCOMPARE(dialogs->messages[2].icon, MessageIcon::Critical);
        QVERIFY(dialogs->messages[2].text.starts_with("Could not write " + dir->file("no such directory") +
                                                      "/Inkrun.scr: "));
    }

    void clearButtonAndMenuAgree() {
        start();
        click("cmdClearSetup");
        QVERIFY(window->setupText().empty() && window->setupPath().empty());
        window->mnuTools_LoadDefault_Click();
        QCOMPARE(window->setupPath(), std::string("Default Script Loaded"));
        action("mnuTools_ClearSetup")->trigger();
        QVERIFY(window->setupText().empty() && window->setupPath().empty());
    }

    void dialogCommandsShowTheSameDialogFromButtonMenuAndShortcut() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (int i = 0; i < 7; ++i) dialogs->cancel();
        click("cmdOpenDrawings");
        action("mnuFile_OpenDrawings")->trigger();
        click("cmdOpenScript");
        action("mnuFile_OpenScripts")->trigger();
        click("cmdSaveSetup");
        action("mnuFile_Save")->trigger();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs->dialogs.size(), std::size_t(7));
        auto same = [&](std::size_t a, std::size_t b) {
            const auto& x = dialogs->dialogs[a];
            const auto& y = dialogs->dialogs[b];
            return x.kind == y.kind && x.options.title == y.options.title &&
                   x.options.initialDirectory == y.options.initialDirectory && x.options.fileName == y.options.fileName;
        };
        QVERIFY(same(0, 1) && same(2, 3) && same(4, 5) && same(5, 6));
        QCOMPARE(dialogs->dialogs[0].options.title, std::string("Drawing Files"));
        QCOMPARE(dialogs->dialogs[4].options.fileName, std::string("Setup1.txt"));
        QVERIFY(dialogs->messages.empty());  // cancelling says nothing
        QCOMPARE(window->setupPath(), dir->file("Setup1.txt"));
    }

    // The file types box shows each command's filter as the command names it, the same text the
    // Windows dialogs show.
    void fileDialogsShowTheFilterAsTheCommandNamesIt() {
        QWidget parent;
        inkrun::qt::QtUserDialogs real(&parent);
        inkrun::PlainWindowState state;
        QString shown;
        const auto readAndCancel = [&] {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                shown = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
                dialog->reject();
            });
        };
        const inkrun::ProgramSettings settings = inkrun::startupSettings(QDir::tempPath().toStdString());
        readAndCancel();
        inkrun::setup::openSetupFile(state, settings, real);
        QCOMPARE(shown, QString("Text Files"));
        readAndCancel();
        inkrun::drawings::openDrawingFiles(state, real, settings);
        QCOMPARE(shown, QString("DWG Drawing Files (*.dwg)"));
    }

    // Save As starts in the drawing directory and lists the settings directory first among its
    // places: one click there and a name fill a slot. Qt keeps the sidebar for the later dialogs of
    // every Qt program; the place is not left among them.
    void aSlotIsOneClickAwayInTheSetupDialogs() {
        QWidget parent;
        inkrun::qt::QtUserDialogs real(&parent);
        TempDir places;
        const std::string drawings = places.mkdir("drawings");
        const inkrun::ProgramSettings settings = inkrun::startupSettings(places.mkdir("settings"));
        const QUrl place = QUrl::fromLocalFile(qtName(settings.scriptSettingsDirectory));
        inkrun::PlainWindowState state;
        state.setDrawingDirectory(drawings);
        state.setSetupText("zoom");
        QString startedIn;
        QList<QUrl> offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            startedIn = dialog->directory().absolutePath();
            offered = dialog->sidebarUrls();
            auto* sidebar = dialog->findChild<QListView*>("sidebar");
            const QModelIndex first = sidebar->model()->index(0, 0);
            QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {}, sidebar->visualRect(first).center());
            (void)QTest::qWaitFor([&] { return dialog->directory().absolutePath() != startedIn; });
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText("Setup1.txt");
            QTest::keyClick(name, Qt::Key_Return);
        });
        QVERIFY(inkrun::setup::saveSetupAs(state, settings, real));
        QCOMPARE(startedIn, qtName(drawings));
        QVERIFY(!offered.isEmpty());
        QCOMPARE(offered.first(), place);
        QCOMPARE(places.read("settings/Setup1.txt"), std::string("zoom"));
        const QSettings qtSettings(QSettings::UserScope, "QtProject");
        QVERIFY(!qtSettings.value("FileDialog/shortcuts").toStringList().contains(place.toString()));
    }

    void messageBoxesShowTheirLinesTitleAndIcon() {
        QWidget parent;
        inkrun::qt::QtUserDialogs real(&parent);
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::Question;
        bool wide = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            wide = box->width() > box->fontMetrics().horizontalAdvance(box->windowTitle()) + 150;
            box->accept();
        });
        real.showMessage("File saved as: Inkrun.scr\rFile located: /jobs", "Inkrun", MessageIcon::None);
        QCOMPARE(text, QString("File saved as: Inkrun.scr\nFile located: /jobs"));
        QCOMPARE(title, QString("Inkrun"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(wide);  // room for the whole title beside the title bar's buttons
    }

    void setupEditorKeepsTheExactTextUntilEdited() {
        inkrun::qt::SetupEditor editor;
        const std::string mixed =
            "a\nb\rc\r\n\xC2\xA0"
            "d";  // lone LF, lone CR, CR LF, no-break space
        editor.setText(mixed);
        QCOMPARE(editor.text(), mixed);
        editor.show();
        editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor, "e");
        QCOMPARE(editor.text(), std::string("a\r\nb\r\nc\r\n\xC2\xA0"
                                            "de"));
        QTest::keyClick(&editor, Qt::Key_Return);
        QCOMPARE(editor.text(), std::string("a\r\nb\r\nc\r\n\xC2\xA0"
                                            "de\r\n"));
    }

    void tabLeavesTheSetupEditorWithoutTypingATab() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* editor = child<QWidget>("RichTextBox3");
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("cmdSaveSetup"));
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("cmdSaveSetup"));
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>("RichTextBox1"));
        QCOMPARE(window->setupText(), std::string("zoom\r\nextents"));  // nothing typed
        // The directory box: Tab moves on to the setup editor, the next stop.
        QTest::keyClick(child<QWidget>("RichTextBox1"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), editor);
    }

    void theDirectoryBoxTakesNoLineBreak() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* box = child<QPlainTextEdit>("RichTextBox1");
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(window->drawingDirectory(), dir->file("jobs"));
        QApplication::clipboard()->setText("/sub\r\n");
        box->paste();
        QCOMPARE(window->drawingDirectory(), dir->file("jobs") + "/sub");
        QCOMPARE(box->blockCount(), 1);
    }

    void aNoBreakSpaceInTheDirectoryComesBackAsIs() {
        start();
        const std::string odd = dir->mkdir("x\u00A0y");
        dir->write("x\u00A0y/a.dwg", "");
        window->setDrawingDirectory(odd);
        QCOMPARE(window->drawingDirectory(), odd);
        child<QPlainTextEdit>("RichTextBox1")->moveCursor(QTextCursor::End);
        QTest::keyClicks(child<QWidget>("RichTextBox1"), "/");  // edited text too
        QCOMPARE(window->drawingDirectory(), odd + "/");
        window->setDrawingDirectory(odd);
        inkrun::drawings::setDrawingListPath(*window, odd);
        selectRows({0});
        click("cmdBuildSetup");
        QVERIFY(std::filesystem::exists(odd + "/Inkrun.scr"));
        QVERIFY(!std::filesystem::exists(dir->file("x y")));
    }

    void enterPressesTheFocusedPictureButton() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* clear = child<QToolButton>("cmdClearSetup");
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Return);
        QVERIFY(window->setupText().empty() && window->setupPath().empty());
    }

    void theSortGroupIsOneTabStopAtTheSelectedOption() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* dsc = child<QRadioButton>("optSort(0)");
        auto* asc = child<QRadioButton>("optSort(1)");
        // Shift+Tab from the first stop wraps round to the group, at the selected button.
        child<QWidget>("File1")->setFocus();
        QTest::keyClick(child<QWidget>("File1"), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), dsc);
        QTest::keyClick(dsc, Qt::Key_Down);
        QVERIFY(asc->isChecked());
        QCOMPARE(QApplication::focusWidget(), asc);
        QVERIFY(!window->descendingOrder());
        child<QWidget>("File1")->setFocus();
        QTest::keyClick(child<QWidget>("File1"), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), asc);
        // Both captions sit inside the frame, below its title.
        auto* frame = child<QGroupBox>("Frame1");
        for (QWidget* option : {static_cast<QWidget*>(dsc), static_cast<QWidget*>(asc)}) {
            QVERIFY(option->geometry().top() >= frame->contentsRect().top());
            QVERIFY(frame->rect().contains(option->geometry()));
        }
        QVERIFY(!dsc->geometry().intersects(asc->geometry()));
        window->setDescendingOrder(true);
        QVERIFY(dsc->isChecked() && !asc->isChecked());
    }

    void labelsSitAtTheTopOfTheirPlaces() {
        start();
        for (const char* name : {"Label1", "Label2", "Label4", "Label5", "lblScriptDir"})
            QVERIFY2(child<QLabel>(name)->alignment() & Qt::AlignTop, name);
    }

    void theWindowIsFixedSizeWithoutMaximize() {
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window->minimumSize(), window->maximumSize());
    }

    void theSetupEditorsFontHasAFixedPitch() {
        start();
        QVERIFY(QFontInfo(child<QWidget>("RichTextBox3")->font()).fixedPitch());
    }

    void aRemovedSettingsDirectoryIsSaidAndNothingIsWrittenElsewhere() {
        dir = std::make_unique<TempDir>();
        const std::string gone = dir->mkdir("gone");
        std::filesystem::current_path(gone);
        std::filesystem::remove(gone);
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<frmMainInkrun>(dialogs.get());
        window->Form_Load();
        QCOMPARE(window->settings().scriptSettingsDirectory, gone);
        QCOMPARE(dialogs->messages.size(), std::size_t(1));
        QVERIFY(dialogs->messages[0].text.starts_with("The settings directory " + gone + " no longer exists"));
        QCOMPARE(window->setupPath(), std::string("Default Script Loaded"));
        // Saving into slot 1 fails on the removed directory, and says so, instead of writing beside it.
        window->setSetupPath(gone + "/Setup1.txt");
        dialogs->answer(gone + "/Setup1.txt");
        click("cmdSaveSetup");
        QCOMPARE(dialogs->dialogs.size(), std::size_t(1));
        QCOMPARE(dialogs->messages.size(), std::size_t(2));
        QCOMPARE(dialogs->messages[1].icon, MessageIcon::Critical);
        QVERIFY2(dialogs->messages[1].text.starts_with("Could not write " + gone + "/Setup1.txt: "),
                 dialogs->messages[1].text.c_str());
        QVERIFY(!std::filesystem::exists(gone));
        QVERIFY(!std::filesystem::exists("/Setup1.txt"));
        QVERIFY(!std::filesystem::exists(dir->file("Setup1.txt")));
    }

    // Exit and the close box: what was typed since the last load is kept, in the setup format.
    void closingKeepsWhatWasTypedSinceTheLastLoad() {
        for (const bool closeBox : {false, true}) {
            start();
            window->show();
            auto* editor = child<QPlainTextEdit>("RichTextBox3");
            editor->moveCursor(QTextCursor::End);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, "_plot ");
            editor->insertPlainText(QString::fromUtf8("\u20AC"));  // as a paste: keys type ASCII only
            if (closeBox) window->close();
            else action("mnuFile_Exit")->trigger();
            QCOMPARE(dir->read("Setup.unsaved.txt"), std::string("zoom\r\nextents\r\n_plot \x80"));
            cleanup();
        }
    }

    // Two runs in a row, each typing and closing: each keeps its own, and the next start tells of
    // it once, by its path. Loading and Clear keep an edit too.
    void everyRunKeepsItsTypingAndTheNextStartTellsOnce() {
        start();
        window->show();
        typeIntoSetup("_one");
        window->close();
        startAgain();
        QTRY_COMPARE(dialogs->messages.size(), std::size_t(1));
        QCOMPARE(dialogs->messages[0].title, std::string("Inkrun"));
        QCOMPARE(dialogs->messages[0].icon, MessageIcon::None);
        QCOMPARE(dialogs->messages[0].text, "The setup you typed and did not save was kept:\n" +
                                                dir->file("Setup.unsaved.txt") +
                                                "\n\nOpen it with File > Open Script Setup.");
        window->show();
        typeIntoSetup("_two");
        action("mnuTools_Setup1")->trigger();
        typeIntoSetup("_three");
        click("cmdClearSetup");
        window->close();
        const std::vector<std::string> names = kept();
        QCOMPARE(names.size(), std::size_t(3));
        QCOMPARE(dir->read(names[0]), std::string("zoom\r\nextents_one"));
        QCOMPARE(dir->read(names[1]), std::string("zoom\r\nextents_two"));
        QCOMPARE(dir->read(names[2]), std::string("zoom\r\nextents_three"));
        startAgain();
        QTRY_COMPARE(dialogs->messages.size(), std::size_t(1));
        QVERIFY(dialogs->messages[0].text.starts_with("The setups you typed and did not save were kept:\n" +
                                                      dir->file(names[1]) + "\n" + dir->file(names[2]) + "\n"));
        startAgain();
        QCoreApplication::processEvents();
        QVERIFY(dialogs->messages.empty());
    }

    // A setup file, whatever its line ends and encoding, is held with CR LF, and the window builds
    // from it the script inkrun-build writes.
    void aSetupFileBuildsTheScriptInkrunBuildWrites() {
        start();
        selectRows({0});
        dir->write("Setup2.txt",
                   "\xEF\xBB\xBF"
                   "caf\xC3\xA9\r\r\nzoom\nextents\r");
        action("mnuTools_Setup2")->trigger();
        QCOMPARE(window->setupText(), std::string("caf\xC3\xA9 zoom\r\nextents\r\n"));
        click("cmdBuildSetup");
        std::istringstream in;
        std::ostringstream out, err;
        QCOMPARE(inkrun::cli::runBuildCli({"--slot", "2", "-o", "-", "A-101.dwg"}, in, out, err, dir->path()), 0);
        QCOMPARE(script(), out.str());
    }

    void aSetupOfManyMegabytesLoadsWholeInPieces() {
        inkrun::qt::SetupEditor editor;
        editor.show();
        std::string big;
        for (int i = 0; big.size() < 3'000'000; ++i) big += "line " + std::to_string(i) + "\r\n";
        editor.setText(big);
        QCOMPARE(editor.blockCount(), static_cast<int>(std::count(big.begin(), big.end(), '\n')) + 1);
        QVERIFY(editor.text() == big);
        QTest::keyClicks(&editor, "x");  // edited: the text is rebuilt from the editor's lines
        QVERIFY(editor.text() == "x" + big);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
