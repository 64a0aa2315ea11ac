#include "qv_app_delegate.h"

#include "app/main_thread_mailbox.h"
#include "platform/file_chooser.h"
#include "sources/list_discovery.h"

#include <QFile>
#include <QLineEdit>

void QVAppDelegate::selectTokenadeDirectory()
{
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.title = QStringLiteral("Tokenade directory");
    options.prompt = QStringLiteral("Select");
    const auto chosen = seams_.chooser.choose(options);
    if (!chosen)
        return;
    tokenadeDirPathTextField()->setText(*chosen);
    startDetachedThread([controller = this, directory = QFile::encodeName(*chosen).toStdString(),
                         mailbox = mailbox_] { findRomListFile(controller, directory, *mailbox); });
}

void QVAppDelegate::selectRomsListFile()
{
    ChooserOptions options;
    options.canChooseFiles = true;
    options.allowedFileTypes = {QStringLiteral("txt")};
    options.title = QStringLiteral("Supported roms list");
    options.prompt = QStringLiteral("Select");
    if (const auto chosen = seams_.chooser.choose(options))
        romsListPathTextField()->setText(*chosen);
}

// Whatever sets the list path field last wins: a path chosen by hand after
// this call has been handled stays, one chosen before it is replaced.
void QVAppDelegate::findRomListFile(QVAppDelegate* controller, const std::string& directory,
                                    MainThreadMailbox& mailbox)
{
    const std::optional<std::string> found = tokenade::findSupportedList(directory);
    mailbox.post([controller, found] {
        if (found)
            controller->romsListPathTextField()->setText(QFile::decodeName(found->c_str()));
        emit controller->romListDiscoveryFinished();
    });
}
