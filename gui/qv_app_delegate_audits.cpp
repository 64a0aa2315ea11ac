#include "qv_app_delegate.h"

#include "core/audit/audit_status.h"
#include "gui/alert.h"
#include "gui/busy_indicator.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

using tokenade::AuditInputs;
using tokenade::AuditKind;
using tokenade::AuditOutcome;

namespace {

const QColor kRunningBackground = QColor::fromRgbF(0.9f, 0.9f, 0.9f, 1.0f);
const QColor kIdleBackground = Qt::white;

// The view's text takes colours that read on the background, whatever the
// desktop's palette: a dark one would leave light text on the light grey.
void setEnclosingBackground(ReportView* view, const QColor& colour)
{
    QWidget* enclosing = view->parentWidget();
    QPalette palette = enclosing->palette();
    palette.setColor(QPalette::Window, colour);
    enclosing->setAutoFillBackground(true);
    enclosing->setPalette(palette);
    view->setBackground(colour);
}

tokenade::AuditProgress progressOf(std::stop_token stop, const JobRunner::Reporter& report)
{
    tokenade::AuditProgress progress;
    progress.status = report;
    progress.stop = stop;
    return progress;
}

}  // namespace

void QVAppDelegate::takePathsFromFields()
{
    session_.setPaths(toLocalPath(tokenadeDirPathTextField()->text()), toLocalPath(romsListPathTextField()->text()));
    session_.setAvailableOnly(checkAvailableRomVideosOnly()->isChecked());
}

void QVAppDelegate::setStatus(std::string_view text)
{
    progressLabel()->setText(toQString(text));
}

void QVAppDelegate::startAudit(AuditKind kind)
{
    ReportView* view = resultView(kind);
    view->hide();
    setEnclosingBackground(view, kRunningBackground);
    progressIndicator()->startAnimation();
    progressLabel()->show();
    showCommands();
}

void QVAppDelegate::finishAudit(AuditKind kind, AuditOutcome&& outcome)
{
    // An unusable list leaves the previous result in place, to be shown again.
    const tokenade::ListProblem problem = outcome.listProblem;
    const auto finish = session_.finishAudit(kind, std::move(outcome));
    if (finish == tokenade::AuditSession::Finish::ListUnusable)
        showInvalidRomsListAlert(problem);
    if (finish == tokenade::AuditSession::Finish::Adopted) {
        nameFilter(kind).forget();  // its lists were refilled in place
        if (NearMissesView* view = nearMissesView(kind); view && view->isVisible())
            fillNearMissesView(kind);
    }
    // The status line belongs to every running audit: it goes with the last one.
    if (!session_.isAnyRunning()) {
        progressLabel()->hide();
        progressIndicator()->stopAnimation();
    }
    setEnclosingBackground(resultView(kind), kIdleBackground);
    showCommands();
    showSegmentLabels(kind);
    showSelectedCategory(kind);
    showNotices(kind);
    resultView(kind)->show();
}

// An audit's start step, then its job with the inputs as they are now; its
// status texts and its finishing step come back to the main thread.
void QVAppDelegate::startAuditJob(AuditKind kind, AuditOutcome (*background)(const AuditInputs&, std::stop_token,
                                                                              const JobRunner::Reporter&),
                                  void (QVAppDelegate::*finish)(AuditOutcome))
{
    takePathsFromFields();
    const AuditInputs inputs = session_.startAudit(kind);
    startAudit(kind);
    seams_.jobs.start<AuditOutcome>(
        [inputs, background](std::stop_token stop, const JobRunner::Reporter& report) {
            return background(inputs, stop, report);
        },
        [this](std::string_view text) { setStatus(text); },
        [this, finish](AuditOutcome outcome) { (this->*finish)(std::move(outcome)); });
}

void QVAppDelegate::auditRoms()
{
    startAuditJob(AuditKind::Roms, &QVAppDelegate::auditRomsInBackground, &QVAppDelegate::didFinishAuditRoms);
}

AuditOutcome QVAppDelegate::auditRomsInBackground(const AuditInputs& inputs, std::stop_token stop,
                                                  const JobRunner::Reporter& report)
{
    return tokenade::runRomAudit(inputs, progressOf(stop, report));
}

void QVAppDelegate::didFinishAuditRoms(AuditOutcome outcome)
{
    finishAudit(AuditKind::Roms, std::move(outcome));
}

void QVAppDelegate::auditVideos()
{
    startAuditJob(AuditKind::Videos, &QVAppDelegate::auditVideosInBackground, &QVAppDelegate::didFinishAuditVideos);
}

AuditOutcome QVAppDelegate::auditVideosInBackground(const AuditInputs& inputs, std::stop_token stop,
                                                    const JobRunner::Reporter& report)
{
    return tokenade::runVideoAudit(inputs, progressOf(stop, report));
}

void QVAppDelegate::didFinishAuditVideos(AuditOutcome outcome)
{
    finishAudit(AuditKind::Videos, std::move(outcome));
}

// The alert's words stay as they have always been; the path and the reason
// follow, so that the user knows what to mend.
void QVAppDelegate::showInvalidRomsListAlert(const tokenade::ListProblem& problem)
{
    const QString where = problem.path.empty() ? toQString(problem.reason)
                                               : fromLocalPath(problem.path) + QStringLiteral(": ") +
                                                     toQString(problem.reason);
    seams_.alert.show(QStringLiteral("Error"), toQString(tokenade::kInvalidListMessage) + QStringLiteral("\n\n") + where,
                      QStringLiteral("OK"));
}

void QVAppDelegate::setCommands(const std::vector<std::pair<QAction*, AuditKind>>& audits,
                                const std::vector<std::pair<QAction*, AuditKind>>& saves)
{
    for (const auto& [command, kind] : audits)
        auditCommands_.emplace_back(command, kind);
    for (const auto& [command, kind] : saves)
        saveCommands_.emplace_back(command, kind);
}

void QVAppDelegate::showCommands()
{
    for (const auto& [command, kind] : auditCommands_) {
        if (command)
            command->setEnabled(session_.canAudit(kind));
    }
    for (const auto& [command, kind] : saveCommands_) {
        if (command)
            command->setEnabled(session_.canSave(kind));
    }
    for (AuditKind kind : {AuditKind::Roms, AuditKind::Videos}) {
        SegmentedControl* control = resultControl(kind);
        control->setEnabled(session_.canPickCategory(kind));
        if (QLineEdit* field = filterField(kind))
            field->setEnabled(session_.canPickCategory(kind));
        for (const tokenade::CategoryFacts& facts : tokenade::categoriesOf(kind))
            control->setEnabled(session_.isSegmentEnabled(facts), facts.segment);
    }
    showNearMissCommands();
}
