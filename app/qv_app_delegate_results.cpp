#include "qv_app_delegate.h"

#include "app/qt_strings.h"
#include "platform/alert.h"
#include "platform/file_chooser.h"
#include "platform/report_view.h"
#include "platform/segmented_control.h"
#include "results/report_files.h"
#include "results/report_text.h"

#include <QCheckBox>
#include <QFile>

using tokenade::AuditKind;
using tokenade::CategoryId;
using tokenade::ResultCategory;

namespace {

std::optional<QString> chooseReportFolder(FileChooser& chooser)
{
    ChooserOptions options;
    options.canChooseDirectories = true;
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

}  // namespace

ReportView* QVAppDelegate::resultView(AuditKind kind) const
{
    return kind == AuditKind::Roms ? romsResultView() : videosResultView();
}

SegmentedControl* QVAppDelegate::resultControl(AuditKind kind) const
{
    return kind == AuditKind::Roms ? romsResultControl() : videosResultControl();
}

// The selected segment's category, in its view; no selection changes nothing.
void QVAppDelegate::showSelectedCategory(AuditKind kind)
{
    const ResultCategory* category =
        categoryAtSegment(session_.result(kind), resultControl(kind)->selectedSegment());
    if (!category)
        return;
    // The view shows plain line breaks; the report files keep CR LF.
    const std::string header = tokenade::reportHeader(category->facts->windowHeader, category->entries.size(), "\n");
    resultView(kind)->showReport(toQString(header), &category->entries);
}

void QVAppDelegate::didClickRomsResultControl()
{
    showSelectedCategory(AuditKind::Roms);
}

void QVAppDelegate::didClickVideosResultControl()
{
    showSelectedCategory(AuditKind::Videos);
}

void QVAppDelegate::didClickCheckAvailableRomVideosOnly()
{
    session_.setAvailableOnly(checkAvailableRomVideosOnly()->checkState() == Qt::Checked);
    showCommands();
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
    const auto folder = chooseReportFolder(seams_.chooser);
    if (!folder)
        return;
    reportFailedWrites(tokenade::saveReportFiles(QFile::encodeName(*folder).toStdString(), session_.result(kind)));
}

void QVAppDelegate::reportFailedWrites(const std::vector<tokenade::WriteError>& failures)
{
    if (failures.empty())
        return;
    QString details;
    for (const auto& failure : failures)
        details += QFile::decodeName(failure.path.c_str()) + QStringLiteral(": ") + toQString(failure.reason) + "\n";
    seams_.alert.show(QStringLiteral("Some reports were not saved"),
                      QStringLiteral("These files could not be written:\n") + details.trimmed(), QStringLiteral("OK"));
}
