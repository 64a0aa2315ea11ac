#include "qv_app_delegate.h"

#include "core/results/report_files.h"
#include "core/session/shown_text.h"
#include "core/session/file_location.h"
#include "gui/alert.h"
#include "gui/browser.h"
#include "gui/changes/window_changes.h"
#include "gui/file_chooser.h"
#include "gui/notice_area.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QUrl>

#include <map>

using tokenade::AuditKind;
using tokenade::ResultCategory;

namespace {

// Reports of both kinds usually go to one folder: the last one is offered again.
std::optional<QString> chooseReportFolder(FileChooser& chooser, const std::string& lastFolder)
{
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.canMakeFolders = true;
    options.startFolder = fromLocalPath(lastFolder);
    options.title = QStringLiteral("Save results");
    options.prompt = QStringLiteral("Select");
    return chooser.choose(options);
}

const ResultCategory* categoryAtSegment(const tokenade::AuditResult& result, int segment)
{
    for (const ResultCategory& category : result.categories) {
        if (category.facts->segment == segment)
            return &category;
    }
    return nullptr;
}

// A file that could not be written is named; the others were written all the same.
void reportFailedWrites(Alert& alert, const std::vector<tokenade::WriteError>& failures)
{
    if (failures.empty())
        return;
    QString details;
    for (const auto& failure : failures)
        details += fromLocalPath(failure.path) + QStringLiteral(": ") + toQString(failure.reason) + "\n";
    alert.show(QStringLiteral("Some reports were not saved"),
               QStringLiteral("These files could not be written:\n") + details.trimmed(), QStringLiteral("OK"));
}

}  // namespace

const ResultCategory* QVAppDelegate::selectedCategory(AuditKind kind) const
{
    return categoryAtSegment(session_.result(kind), tab(kind).resultControl->selectedSegment());
}

// The selected segment's category, in its view, narrowed by the filter; no
// selection changes nothing. Before the first audit, and for extra videos
// that were not looked for, the view says so instead of showing counts that
// were never made.
void QVAppDelegate::showSelectedCategory(AuditKind kind)
{
    const ResultCategory* category = selectedCategory(kind);
    if (!category)
        return;
    if (const auto message = session_.viewMessage(kind, *category->facts)) {
        tabs_[kind].filter.forget();
        tab(kind).resultView->showText(toQString(*message));
    } else {
        // The view shows plain line breaks; the report files keep CR LF.
        const std::string header =
            tokenade::shownHeader(*category->facts, category->entries.size());
        tab(kind).resultView->showReport(toQString(header), session_.snapshot(kind), category->facts->id);
        applyFilter(kind);
    }
    changes_->showCommands();  // a new list drops the selection without a word
}

void QVAppDelegate::showSegmentLabels(AuditKind kind)
{
    for (const tokenade::CategoryFacts& facts : tokenade::categoriesOf(kind))
        tab(kind).resultControl->setSegmentLabel(facts.segment, toQString(session_.segmentLabel(kind, facts)));
}

// Found files only: a missing name has no folder. Each folder is read once
// for all the names selected in it; the paths keep the selection's order.
void QVAppDelegate::copyFullPaths(AuditKind kind)
{
    std::vector<std::string_view> names;
    std::map<std::string, std::vector<size_t>> placesIn;  // folder -> places in `names`
    for (const tokenade::ResultEntry* entry : tab(kind).resultView->selectedNames()) {
        const std::string folder = session_.folderPathOf(kind, *entry);
        if (folder.empty())
            continue;
        placesIn[folder].push_back(names.size());
        names.push_back(entry->name());
    }
    QStringList paths(static_cast<qsizetype>(names.size()));
    for (const auto& [folder, places] : placesIn) {
        std::vector<std::string_view> inFolder;
        for (size_t place : places)
            inFolder.push_back(names[place]);
        const std::vector<std::string> found = tokenade::pathsOnDisk(folder, inFolder);
        for (size_t i = 0; i < places.size(); ++i)
            paths[static_cast<qsizetype>(places[i])] = fromLocalPath(found[i]);
    }
    if (!paths.isEmpty())
        QApplication::clipboard()->setText(paths.join(QLatin1Char('\n')));
}

void QVAppDelegate::openContainingFolder(AuditKind kind)
{
    const tokenade::ResultEntry* entry = tab(kind).resultView->currentName();
    const std::string folder = entry ? session_.folderPathOf(kind, *entry) : std::string();
    if (!folder.empty())
        openFolder(folder);
}

// A desktop without a file manager that answers says nothing by itself:
// the path is shown instead, to be copied.
void QVAppDelegate::openFolder(const std::string& folder)
{
    const QString path = fromLocalPath(folder);
    if (!seams_.browser.openUrl(QUrl::fromLocalFile(path)))
        seams_.alert.show(QStringLiteral("Cannot open the folder"),
                          QStringLiteral("No file manager opened it. The folder is:\n\n") + path, QStringLiteral("OK"));
}

void QVAppDelegate::didClickRomsResultControl()
{
    tabs_[AuditKind::Roms].system.reset();
    showSelectedCategory(AuditKind::Roms);
}

void QVAppDelegate::didClickVideosResultControl()
{
    showSelectedCategory(AuditKind::Videos);
}

void QVAppDelegate::didClickCheckAvailableRomVideosOnly()
{
    session_.setAvailableOnly(checkAvailableRomVideosOnly()->checkState() == Qt::Checked);
    // The counts stay those of the last audit, marked as made the other way.
    showCommands();
    showSegmentLabels(AuditKind::Videos);
    showNotices(AuditKind::Videos);
    SegmentedControl* control = videosResultControl();
    const int selected = control->selectedSegment();
    if (selected >= 0 && !control->isEnabledForSegment(selected)) {
        control->setSelectedSegment(0);
        didClickVideosResultControl();
    }
}

void QVAppDelegate::saveRomsResult()
{
    saveResult(AuditKind::Roms);
}

void QVAppDelegate::saveVideosResult()
{
    saveResult(AuditKind::Videos);
}

void QVAppDelegate::saveResult(AuditKind kind)
{
    if (!session_.canSave(kind))
        return;
    const auto folder = chooseReportFolder(seams_.chooser, session_.reportFolder());
    if (!folder)
        return;
    const auto failures = tokenade::saveReportFiles(toLocalPath(*folder), session_.result(kind));
    session_.reportsSaved(kind, session_.result(kind).categories.size() - failures.size(), toLocalPath(*folder));
    showNotices(kind);
    reportFailedWrites(seams_.alert, failures);
}

void QVAppDelegate::showNotices(AuditKind kind)
{
    tab(kind).noticeArea->showNotices(session_.notices(kind));
}

void QVAppDelegate::noticeLinkActivated(AuditKind kind)
{
    for (const auto& notice : session_.notices(kind)) {
        if (!notice.folderToOpen.empty())
            openFolder(notice.folderToOpen);
    }
}
