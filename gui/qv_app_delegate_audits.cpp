#include "qv_app_delegate.h"

#include "core/audit/audit_status.h"
#include "gui/alert.h"
#include "gui/busy_indicator.h"
#include "gui/changes/window_changes.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"
#include "gui/segmented_control.h"
#include "gui/systems/systems_panel.h"

#include <QAction>
#include <QCheckBox>
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
    session_.setDatPath(toLocalPath(datPathTextField()->text()));
    session_.setAvailableOnly(checkAvailableRomVideosOnly()->isChecked());
}

void QVAppDelegate::setStatus(std::string_view text)
{
    progressLabel()->setText(toQString(text));
}

void QVAppDelegate::startAudit(AuditKind kind)
{
    ReportView* view = tab(kind).resultView;
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
        tabs_[kind].filter.forget();  // it filtered the result that went
        tabs_[kind].system.reset();
        changes_->resultAdopted(kind);
        if (kind == Roms)
            systems_->resultAdopted();
    }
    // The status line belongs to every running audit: it goes with the last one.
    if (!session_.isAnyRunning()) {
        progressLabel()->hide();
        progressIndicator()->stopAnimation();
    }
    setEnclosingBackground(tab(kind).resultView, kIdleBackground);
    showCommands();
    showSegmentLabels(kind);
    showSelectedCategory(kind);
    showNotices(kind);
    tab(kind).resultView->show();
}

// An audit's start step, then its job with the inputs as they are now; its
// status texts and its finishing step come back to the main thread.
void QVAppDelegate::audit(AuditKind kind)
{
    const bool roms = kind == AuditKind::Roms;
    const auto background = roms ? &QVAppDelegate::auditRomsInBackground : &QVAppDelegate::auditVideosInBackground;
    const auto finish = roms ? &QVAppDelegate::didFinishAuditRoms : &QVAppDelegate::didFinishAuditVideos;
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

// After a batch of changes the files are no longer what the results say: the
// kinds the session names are audited again, and the tabs show its notice.
void QVAppDelegate::auditAgain(const std::vector<AuditKind>& kinds)
{
    for (AuditKind kind : kinds)
        audit(kind);
    for (AuditKind kind : tokenade::kAuditKinds)
        showNotices(kind);
    showCommands();
}

void QVAppDelegate::auditRoms()
{
    audit(AuditKind::Roms);
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
    audit(AuditKind::Videos);
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

// The alert's words stay as they have always been, but the path and the
// reason lead: "not found" is what the user has to mend, where the old
// words also speak of a list too big.
void QVAppDelegate::showInvalidRomsListAlert(const tokenade::ListProblem& problem)
{
    const QString where = problem.path.empty() ? toQString(problem.reason)
                                               : fromLocalPath(problem.path) + QStringLiteral(": ") +
                                                     toQString(problem.reason);
    seams_.alert.show(QStringLiteral("Error"), where + QStringLiteral("\n\n") + toQString(tokenade::kInvalidListMessage),
                      QStringLiteral("OK"));
}

void QVAppDelegate::showCommands()
{
    for (AuditKind kind : tokenade::kAuditKinds) {
        const TabElements& elements = tab(kind);
        elements.audit->setEnabled(session_.canAudit(kind));
        elements.save->setEnabled(session_.canSave(kind));
        elements.resultControl->setEnabled(session_.canPickCategory(kind));
        elements.filterField->setEnabled(session_.canPickCategory(kind));
        for (const tokenade::CategoryFacts& facts : tokenade::categoriesOf(kind))
            elements.resultControl->setEnabled(session_.isSegmentEnabled(facts), facts.segment);
    }
    changes_->showCommands();
}
