#include "qv_app_delegate.h"

#include "app/qt_strings.h"
#include "platform/alert.h"
#include "platform/file_chooser.h"
#include "platform/segmented_control.h"
#include "results/categories.h"
#include "results/report_files.h"
#include "results/report_text.h"

#include <QCheckBox>
#include <QFile>
#include "platform/report_view.h"

using tokenade::Category;
using tokenade::NameList;

namespace {

// The view shows the report text with plain line breaks; the report files keep CR LF.
void showReport(ReportView* view, const Category& category, const NameList& names)
{
    view->setPlainText(toQString(tokenade::reportText(category.windowHeader, names, "\n")));
}

std::optional<QString> chooseReportFolder(FileChooser& chooser)
{
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.title = QStringLiteral("Save results");
    options.prompt = QStringLiteral("Select");
    return chooser.choose(options);
}

}  // namespace

void QVAppDelegate::didClickRomsResultControl()
{
    const NameList* lists[] = {&_validRoms, &_missingRoms, &_unknownRoms};
    const int segment = romsResultControl()->selectedSegment();
    if (segment >= 0 && segment < static_cast<int>(tokenade::kRomCategories.size()))
        showReport(romsResultView(), tokenade::kRomCategories[segment], *lists[segment]);
}

void QVAppDelegate::didClickVideosResultControl()
{
    const NameList* lists[] = {&_validVideos, &_missingVideos, &_extraVideos, &_unknownVideos};
    const int segment = videosResultControl()->selectedSegment();
    if (segment >= 0 && segment < static_cast<int>(tokenade::kVideoCategories.size()))
        showReport(videosResultView(), tokenade::kVideoCategories[segment], *lists[segment]);
}

void QVAppDelegate::didClickCheckAvailableRomVideosOnly()
{
    SegmentedControl* control = videosResultControl();
    if (checkAvailableRomVideosOnly()->checkState() == Qt::Checked) {
        control->setEnabled(true, tokenade::kExtraVideosSegment);
        return;
    }
    control->setEnabled(false, tokenade::kExtraVideosSegment);
    if (control->selectedSegment() == tokenade::kExtraVideosSegment) {
        control->setSelectedSegment(0);
        didClickVideosResultControl();
    }
}

void QVAppDelegate::saveRomsResult()
{
    const auto folder = chooseReportFolder(seams_.chooser);
    if (!folder)
        return;
    const NameList* lists[] = {&_validRoms, &_missingRoms, &_unknownRoms};
    reportFailedWrites(
        tokenade::saveReportFiles(QFile::encodeName(*folder).toStdString(), tokenade::kRomCategories, lists));
}

void QVAppDelegate::saveVideosResult()
{
    const auto folder = chooseReportFolder(seams_.chooser);
    if (!folder)
        return;
    const NameList* lists[] = {&_validVideos, &_missingVideos, &_extraVideos, &_unknownVideos};
    reportFailedWrites(
        tokenade::saveReportFiles(QFile::encodeName(*folder).toStdString(), tokenade::kVideoCategories, lists));
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
