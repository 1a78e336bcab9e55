#include "frontends/qt/qt_user_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QMessageBox>
#include <QUrl>

#include "frontends/qt/qt_text.h"
#include "model/file_pick.h"
#include "platform/file_lookup.h"

namespace inkrun::qt {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Prepares the dialog the way every file command wants it. A file name that is only a wildcard
// ("*.txt") is the filter again, so it is not typed into the name field.
void prepare(QFileDialog& dialog, const FileDialogOptions& options) {
    // A command that names no title gets the toolkit's own ("Save As").
    if (!options.title.empty()) dialog.setWindowTitle(toQt(options.title));
    // Qt reads the pattern from the parentheses; the combo box shows the command's text as it
    // stands, without them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(toQt(options.filterName + " (" + options.filterPattern + ")"));
    const QString initial = toQt(options.initialDirectory);
    if (!initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.isDir()) dialog.setDirectory(initial);
        else if (info.dir().exists()) {
            dialog.setDirectory(info.dir());
            dialog.selectFile(info.fileName());
        }
    }
    if (!options.fileName.empty() && options.fileName.find('*') == std::string::npos)
        dialog.selectFile(toQt(options.fileName));
}

// The command's places at the top of the sidebar, above the person's own, while the dialog is
// shown. Only Qt's own dialog has a sidebar to take them: the desktop's (GTK's, the portal's)
// take none, so a dialog with places is Qt's own. Qt keeps the sidebar for every later file dialog
// of every Qt program of the user, so the places are taken out again before the dialog goes;
// one the person had among theirs already stays.
class OfferedPlaces {
public:
    OfferedPlaces(QFileDialog& dialog, const std::vector<std::string>& places) : dialog_(dialog) {
        if (places.empty()) return;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const QList<QUrl> own = dialog.sidebarUrls();
        QList<QUrl> shown;
        for (const std::string& place : places) {
            const QUrl url = QUrl::fromLocalFile(toQt(place));
            if (!own.contains(url)) added_ << url;
            shown << url;
        }
        for (const QUrl& url : own)
            if (!shown.contains(url)) shown << url;
        dialog.setSidebarUrls(shown);
    }
    ~OfferedPlaces() {
        if (added_.isEmpty()) return;
        QList<QUrl> kept = dialog_.sidebarUrls();
        for (const QUrl& url : added_) kept.removeAll(url);
        dialog_.setSidebarUrls(kept);
    }
    OfferedPlaces(const OfferedPlaces&) = delete;
    OfferedPlaces& operator=(const OfferedPlaces&) = delete;

private:
    QFileDialog& dialog_;
    QList<QUrl> added_;
};

}  // namespace

void QtUserDialogs::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    QString shown = toQt(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(icon), toQt(title), shown, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    // A window manager shortens a title that does not fit the title bar ("I\u2026"): the box is
    // made wide enough for its whole title beside the title bar's buttons.
    const int titleWidth = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 3 / 2 + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
    box.exec();
}

std::optional<std::vector<std::string>> QtUserDialogs::askOpenFiles(const FileDialogOptions& options) {
    QFileDialog dialog(parent_);
    const OfferedPlaces places(dialog, options.places);
    prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.allowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& file : dialog.selectedFiles()) paths.push_back(fromQt(QDir::toNativeSeparators(file)));
    if (paths.empty()) return std::nullopt;
    return pickAnswer(paths, platform::kPathSeparator);
}

std::optional<std::string> QtUserDialogs::askOpenFile(const FileDialogOptions& options) {
    QFileDialog dialog(parent_);
    const OfferedPlaces places(dialog, options.places);
    prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return fromQt(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

std::optional<std::string> QtUserDialogs::askSaveFile(const FileDialogOptions& options) {
    QFileDialog dialog(parent_);
    const OfferedPlaces places(dialog, options.places);
    prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    // A name typed without an extension gets the filter's, as users of text files expect.
    const auto dot = options.filterPattern.rfind('.');
    if (dot != std::string::npos) dialog.setDefaultSuffix(toQt(options.filterPattern.substr(dot + 1)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return fromQt(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

}  // namespace inkrun::qt
