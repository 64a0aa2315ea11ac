#include "qv_app_delegate.h"

#include "gui/alert.h"
#include "gui/browser.h"
#include "gui/changes/window_changes.h"
#include "gui/homepage.h"
#include "gui/preferences.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/systems/systems_panel.h"
#include "gui/window_size.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QLineEdit>

#include <utility>

using tokenade::AuditKind;

namespace {

const QString kTokenadeDirPathKey = QStringLiteral("TokenadeDirPath");
const QString kTokenadeRomsListPathKey = QStringLiteral("TokenadeRomsListPath");
const QString kDatPathKey = QStringLiteral("DatPath");
// Beside the two paths: the window's size and place, where reports were
// saved last and where each collection's fills went.
const QString kWindowGeometryKey = QStringLiteral("WindowGeometry");
const QString kAvailableOnlyKey = QStringLiteral("OnlyVideosOfPresentRoms");
const QString kReportFolderKey = QStringLiteral("ReportFolder");
const QString kFillTargetsKey = QStringLiteral("FillTargets");
constexpr qreal kResultFontPoints = 13.0;
// Result lines the window shows when it first opens, screen permitting.
constexpr int kOpeningResultLines = 25;

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
{
    filterSlices_.setInterval(0);
    connect(&filterSlices_, &QTimer::timeout, this, &QVAppDelegate::continueFiltering);
}

QVAppDelegate::~QVAppDelegate()
{
    // The jobs' callbacks lead here: none may run once the controller is gone.
    seams_.jobs.stopAll();
    window_ = {};
    for (AuditKind kind : tokenade::kAuditKinds)
        tabs_[kind].elements = {};
}

void QVAppDelegate::attach(const WindowElements& elements)
{
    window_ = elements;
    for (AuditKind kind : tokenade::kAuditKinds)
        tabs_[kind].elements = std::exchange(window_.tabs[kind], {});
    window_.changes = {};
    window_.systemBars = nullptr;
    changes_ = std::make_unique<WindowChanges>(
        elements, ChangeServices{session_, seams_.jobs, seams_.chooser, seams_.alert, seams_.preferences},
        BatchRunner::Hooks{[this] { showCommands(); },
                           [this](const std::vector<AuditKind>& kinds) { auditAgain(kinds); }});
    systems_ = std::make_unique<SystemsPanel>(
        elements.systemBars,
        ChangeServices{session_, seams_.jobs, seams_.chooser, seams_.alert, seams_.preferences},
        [this](const tokenade::SystemScope& scope) { showSystem(scope); });
    QObject::connect(&changes_->identifier(), &ContentIdentifier::identificationChanged, this,
                     [this] { systems_->identificationChanged(); });
}

void QVAppDelegate::applicationDidFinishLaunching()
{
    romsResultView()->setFont(boldSystemFont(kResultFontPoints));
    videosResultView()->setFont(boldSystemFont(kResultFontPoints));
    loadUserDefaults();
    changes_->findUndoable();
    takePathsFromFields();
    session_.confirmDirectory(toLocalPath(tokenadeDirPathTextField()->text()));
    showCommands();
    for (AuditKind kind : tokenade::kAuditKinds) {
        showSegmentLabels(kind);
        showSelectedCategory(kind);
        showNotices(kind);
    }
}

// Closing the window, the Quit command and a termination signal all end here;
// it runs once, however many of them come. The paths are saved first; then
// running jobs are asked to stop, and waited for only briefly.
void QVAppDelegate::applicationWillTerminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    saveUserDefaults();
    seams_.jobs.stopAll();
}

void QVAppDelegate::loadUserDefaults()
{
    if (const auto path = seams_.preferences.stringForKey(kTokenadeDirPathKey))
        tokenadeDirPathTextField()->setText(*path);
    if (const auto path = seams_.preferences.stringForKey(kTokenadeRomsListPathKey))
        romsListPathTextField()->setText(*path);
    if (const auto path = seams_.preferences.stringForKey(kDatPathKey))
        datPathTextField()->setText(*path);
    if (const auto on = seams_.preferences.stringForKey(kAvailableOnlyKey))
        checkAvailableRomVideosOnly()->setChecked(*on == QStringLiteral("1"));
    if (const auto folder = seams_.preferences.stringForKey(kReportFolderKey))
        session_.setReportFolder(toLocalPath(*folder));
    if (const auto targets = seams_.preferences.stringForKey(kFillTargetsKey))
        session_.fillTargets().fromText(toLocalPath(*targets));
    // The result font is set by now, so the first size fits its lines.
    const auto place = seams_.preferences.stringForKey(kWindowGeometryKey);
    if (!place || !restoreWindowPlace(*window_.window, *place))
        window_.window->resize(openingSize(*window_.window, *romsResultView(), kOpeningResultLines));
}

void QVAppDelegate::saveUserDefaults()
{
    seams_.preferences.setString(kTokenadeDirPathKey, tokenadeDirPathTextField()->text());
    seams_.preferences.setString(kTokenadeRomsListPathKey, romsListPathTextField()->text());
    seams_.preferences.setString(kDatPathKey, datPathTextField()->text());
    seams_.preferences.setString(kWindowGeometryKey, windowPlace(*window_.window));
    const bool availableOnly = checkAvailableRomVideosOnly()->isChecked();
    seams_.preferences.setString(kAvailableOnlyKey, availableOnly ? QStringLiteral("1") : QStringLiteral("0"));
    seams_.preferences.setString(kReportFolderKey, fromLocalPath(session_.reportFolder()));
    seams_.preferences.setString(kFillTargetsKey, fromLocalPath(session_.fillTargets().toText()));
    seams_.preferences.synchronize();  // a store that cannot be written costs only the paths
}

void QVAppDelegate::openHomepage()
{
    seams_.browser.openUrl(QUrl(toQString(kHomepage)));
}

void QVAppDelegate::showAbout()
{
    const QString homepage = toQString(kHomepage).toHtmlEscaped();
    seams_.alert.showAbout(QStringLiteral("About Tokenade Auditor"),
                           QStringLiteral("<p><b>Tokenade Auditor</b> %1</p><p>Checks a Tokenade collection by file "
                                          "name only.</p><p>Built with Qt %2.</p><p><a href=\"%3\">%3</a></p>")
                               .arg(toQString(kVersion), toQString(qVersion()), homepage));
}
