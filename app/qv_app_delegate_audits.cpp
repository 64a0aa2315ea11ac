#include "qv_app_delegate.h"

#include "app/main_thread_mailbox.h"
#include "app/qt_strings.h"
#include "audit/audit_status.h"
#include "platform/alert.h"
#include "platform/busy_indicator.h"
#include "platform/segmented_control.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include "platform/report_view.h"

using tokenade::AuditInputs;
using tokenade::AuditProgress;

namespace {

const QColor kRunningBackground = QColor::fromRgbF(0.9f, 0.9f, 0.9f, 1.0f);
const QColor kIdleBackground = Qt::white;

void setEnclosingBackground(QWidget* view, const QColor& colour)
{
    QWidget* enclosing = view->parentWidget();
    QPalette palette = enclosing->palette();
    palette.setColor(QPalette::Window, colour);
    enclosing->setAutoFillBackground(true);
    enclosing->setPalette(palette);
}

std::string pathOf(const QLineEdit* field)
{
    return QFile::encodeName(field->text()).toStdString();
}

}  // namespace

AuditInputs QVAppDelegate::auditInputs() const
{
    return AuditInputs{pathOf(tokenadeDirPathTextField()), pathOf(romsListPathTextField()),
                       checkAvailableRomVideosOnly()->isChecked()};
}

AuditProgress QVAppDelegate::progressTo(QVAppDelegate* controller, MainThreadMailbox& mailbox)
{
    AuditProgress progress;
    progress.status = [controller, &mailbox](std::string_view text) {
        mailbox.post([controller, status = toQString(text)] {
            controller->setStatus(status);
        });
    };
    return progress;
}

void QVAppDelegate::setStatus(const QString& text)
{
    progressLabel()->setText(text);
}

void QVAppDelegate::startAudit(ReportView* view, QAction* command)
{
    view->hide();
    setEnclosingBackground(view, kRunningBackground);
    progressIndicator()->startAnimation();
    progressLabel()->show();
    if (command)
        command->setEnabled(false);  // one audit of a kind at a time
    ++runningAudits_;
}

void QVAppDelegate::finishAudit(ReportView* view, SegmentedControl* control, QAction* command)
{
    // The status line belongs to every running audit: it goes with the last one.
    if (--runningAudits_ == 0) {
        progressLabel()->hide();
        progressIndicator()->stopAnimation();
    }
    setEnclosingBackground(view, kIdleBackground);
    control->setEnabled(true);
    if (command)
        command->setEnabled(true);
}

// The end of a job: the alert first when the list was unusable, then the
// finishing step with the whole result, both queued on the main thread.
template <typename Result>
void QVAppDelegate::handBack(QVAppDelegate* controller, MainThreadMailbox& mailbox, std::optional<Result> result,
                             void (QVAppDelegate::*finish)(std::optional<Result>))
{
    if (!result)
        mailbox.post([controller] { controller->showInvalidRomsListAlert(); });
    mailbox.post([controller, finish, result = std::move(result)]() mutable {
        (controller->*finish)(std::move(result));
    });
}

void QVAppDelegate::auditRoms()
{
    startAudit(romsResultView(), auditRomsCommand_);
    startDetachedThread([controller = this, inputs = auditInputs(), mailbox = mailbox_] {
        auditRomsInBackground(controller, inputs, *mailbox);
    });
}

void QVAppDelegate::auditRomsInBackground(QVAppDelegate* controller, const AuditInputs& inputs,
                                          MainThreadMailbox& mailbox)
{
    handBack(controller, mailbox, tokenade::runRomAudit(inputs, progressTo(controller, mailbox)),
             &QVAppDelegate::didFinishAuditRoms);
}

void QVAppDelegate::didFinishAuditRoms(std::optional<tokenade::RomAuditResult> result)
{
    // An unusable list leaves the previous result in place, to be shown again.
    if (result) {
        _validRoms = std::move(result->valid);
        _unknownRoms = std::move(result->unknown);
        _missingRoms = std::move(result->missing);
    }
    finishAudit(romsResultView(), romsResultControl(), auditRomsCommand_);
    didClickRomsResultControl();
    romsResultView()->show();
    emit romsAuditFinished();
}

void QVAppDelegate::auditVideos()
{
    startAudit(videosResultView(), auditVideosCommand_);
    startDetachedThread([controller = this, inputs = auditInputs(), mailbox = mailbox_] {
        auditVideosInBackground(controller, inputs, *mailbox);
    });
}

void QVAppDelegate::auditVideosInBackground(QVAppDelegate* controller, const AuditInputs& inputs,
                                            MainThreadMailbox& mailbox)
{
    handBack(controller, mailbox, tokenade::runVideoAudit(inputs, progressTo(controller, mailbox)),
             &QVAppDelegate::didFinishAuditVideos);
}

void QVAppDelegate::didFinishAuditVideos(std::optional<tokenade::VideoAuditResult> result)
{
    if (result) {
        _validVideos = std::move(result->valid);
        _unknownVideos = std::move(result->unknown);
        _missingVideos = std::move(result->missing);
        _extraVideos = std::move(result->extra);
    }
    finishAudit(videosResultView(), videosResultControl(), auditVideosCommand_);
    didClickVideosResultControl();
    videosResultView()->show();
    emit videosAuditFinished();
}

void QVAppDelegate::showInvalidRomsListAlert()
{
    seams_.alert.show(toQString(tokenade::kInvalidListTitle), toQString(tokenade::kInvalidListMessage),
                      QStringLiteral("OK"));
}
