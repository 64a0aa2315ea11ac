#include "qv_app_delegate.h"

#include "core/sources/list_discovery.h"
#include "gui/changes/window_changes.h"
#include "gui/file_chooser.h"
#include "gui/qt_strings.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

using tokenade::AuditKind;

namespace {

// A file to choose, of one of `types` (extensions without the period),
// starting where the file that `field` names lies: the folder of the last
// one chosen, rather than wherever the program was started.
ChooserOptions fileOptions(const QString& title, const QStringList& types, const QLineEdit* field)
{
    ChooserOptions options;
    options.canChooseFiles = true;
    options.allowedFileTypes = types;
    options.title = title;
    options.prompt = QStringLiteral("Select");
    if (!field->text().isEmpty())
        options.startFolder = QFileInfo(field->text()).absolutePath();
    return options;
}

}  // namespace

void QVAppDelegate::selectTokenadeDirectory()
{
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.title = QStringLiteral("Tokenade directory");
    options.prompt = QStringLiteral("Select");
    if (const auto chosen = seams_.chooser.choose(options))
        useTokenadeDirectory(*chosen);
}

// A directory chosen or dropped on the window: its list is looked for even
// when it is the one confirmed before, as the user asked for it again.
void QVAppDelegate::useTokenadeDirectory(const QString& directory)
{
    tokenadeDirPathTextField()->setText(directory);
    session_.confirmDirectory(toLocalPath(directory));
    startDiscovery(directory);
}

// A directory typed into its field counts once it is confirmed: Return, or
// leaving the field with another directory than before.
void QVAppDelegate::directoryFieldConfirmed()
{
    const QString directory = tokenadeDirPathTextField()->text();
    if (session_.confirmDirectory(toLocalPath(directory)))
        startDiscovery(directory);
}

void QVAppDelegate::pathFieldsChanged()
{
    takePathsFromFields();
    for (AuditKind kind : tokenade::kAuditKinds) {
        showSegmentLabels(kind);
        showNotices(kind);
        if (!session_.isAudited(kind))
            showSelectedCategory(kind);  // it says which paths are still to be chosen
    }
    changes_->showCommands();  // a result of other paths offers no change to the files the fields name
}

void QVAppDelegate::startDiscovery(const QString& directory)
{
    session_.startDiscovery();
    seams_.jobs.start<std::optional<std::string>>(
        [directory = toLocalPath(directory)](std::stop_token stop, const JobRunner::Reporter&) {
            return findRomListFile(directory, stop);
        },
        {}, [this, directory = toLocalPath(directory)](std::optional<std::string> found) {
            didFindRomListFile(directory, found);
        });
}

void QVAppDelegate::selectRomsListFile()
{
    const QStringList types{QStringLiteral("txt")};
    if (const auto chosen = seams_.chooser.choose(
            fileOptions(QStringLiteral("Supported roms list"), types, romsListPathTextField())))
        useRomsListFile(*chosen);
}

void QVAppDelegate::useRomsListFile(const QString& path)
{
    romsListPathTextField()->setText(path);
}

void QVAppDelegate::selectDatFile()
{
    const QStringList types{QStringLiteral("dat"), QStringLiteral("xml"), QStringLiteral("zip")};
    ChooserOptions options = fileOptions(QStringLiteral("DAT"), types, datPathTextField());
    options.canChooseDirectories = true;  // a folder of DATs, one per system
    options.folderPrompt = QStringLiteral("Use This Folder");
    if (QFileInfo(datPathTextField()->text()).isDir())
        options.startFolder = datPathTextField()->text();
    if (const auto chosen = seams_.chooser.choose(options))
        useDatFile(*chosen);
}

void QVAppDelegate::useDatFile(const QString& path)
{
    datPathTextField()->setText(path);
}

std::optional<std::string> QVAppDelegate::findRomListFile(const std::string& directory, std::stop_token stop)
{
    return tokenade::findSupportedList(directory, stop);
}

// Whatever sets the list path field last wins: a path chosen by hand after
// this step has run stays, one chosen before it is replaced. A slow search
// of a directory the user has since left says nothing.
void QVAppDelegate::didFindRomListFile(const std::string& directory, const std::optional<std::string>& found)
{
    session_.finishDiscovery();
    if (found && session_.wantsListFoundIn(directory))
        romsListPathTextField()->setText(fromLocalPath(*found));
}
