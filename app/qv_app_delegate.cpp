#include "qv_app_delegate.h"

#include "app/homepage.h"
#include "app/main_thread_mailbox.h"
#include "platform/browser.h"
#include "platform/preferences.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include "platform/report_view.h"

namespace {

const QString kTokenadeDirPathKey = QStringLiteral("TokenadeDirPath");
const QString kTokenadeRomsListPathKey = QStringLiteral("TokenadeRomsListPath");
constexpr qreal kResultFontPoints = 13.0;

QFont boldSystemFont(qreal points)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}

}  // namespace

QVAppDelegate::QVAppDelegate(const PlatformSeams& seams, QObject* parent)
    : QObject(parent)
    , seams_(seams)
    , mailbox_(std::make_shared<MainThreadMailbox>(this))
{
}

QVAppDelegate::~QVAppDelegate()
{
    // Threads still running keep their own copy of the mailbox; from here on
    // whatever they post is dropped.
    mailbox_->close();
    setTokenadeDirPathTextField(nullptr);
    setRomsListPathTextField(nullptr);
    setRomsResultView(nullptr);
    setRomsResultControl(nullptr);
    setProgressIndicator(nullptr);
    setProgressLabel(nullptr);
    setCheckAvailableRomVideosOnly(nullptr);
    setVideosResultControl(nullptr);
    setVideosResultView(nullptr);
    setTabView(nullptr);
}

void QVAppDelegate::setAuditCommands(QAction* auditRoms, QAction* auditVideos)
{
    auditRomsCommand_ = auditRoms;
    auditVideosCommand_ = auditVideos;
}

void QVAppDelegate::applicationDidFinishLaunching()
{
    _missingRoms.clear();
    _validRoms.clear();
    _unknownRoms.clear();
    _missingVideos.clear();
    _validVideos.clear();
    _unknownVideos.clear();
    _extraVideos.clear();
    romsResultView()->setFont(boldSystemFont(kResultFontPoints));
    videosResultView()->setFont(boldSystemFont(kResultFontPoints));
    loadUserDefaults();
}

// Closing the window, the Quit command and a termination signal all end here;
// it runs once, however many of them come.
void QVAppDelegate::applicationWillTerminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    saveUserDefaults();
}

void QVAppDelegate::loadUserDefaults()
{
    if (const auto path = seams_.preferences.stringForKey(kTokenadeDirPathKey))
        tokenadeDirPathTextField()->setText(*path);
    if (const auto path = seams_.preferences.stringForKey(kTokenadeRomsListPathKey))
        romsListPathTextField()->setText(*path);
}

void QVAppDelegate::saveUserDefaults()
{
    seams_.preferences.setString(kTokenadeDirPathKey, tokenadeDirPathTextField()->text());
    seams_.preferences.setString(kTokenadeRomsListPathKey, romsListPathTextField()->text());
    seams_.preferences.synchronize();  // a store that cannot be written costs only the paths
}

void QVAppDelegate::openHomepage()
{
    seams_.browser.openUrl(QUrl(QString::fromUtf8(kHomepage)));
}
