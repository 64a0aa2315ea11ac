#include "content_identifier.h"

#include "core/content/collection_identity.h"
#include "core/content/many_dats.h"
#include "core/session/audit_session.h"
#include "core/session/content_holdings.h"
#include "core/session/job_runner.h"
#include "core/session/set_needs_notes.h"
#include "gui/alert.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace {

constexpr int kFieldStillMilliseconds = 400;
constexpr int kProgressMilliseconds = 100;

struct Identified {
    std::shared_ptr<const tokenade::BasisAndArchives> found;
    std::shared_ptr<const tokenade::ContentHoldings> holdings;
};

}  // namespace

ContentIdentifier::ContentIdentifier(QLineEdit* datField, ReportView* romsView, QProgressBar* progress,
                                     QToolButton* stop, const ChangeServices& services)
    : datField_(datField)
    , romsView_(romsView)
    , progress_(progress)
    , stopButton_(stop)
    , services_(services)
{
    fieldStill_.setSingleShot(true);
    fieldStill_.setInterval(kFieldStillMilliseconds);
    ticker_.setInterval(kProgressMilliseconds);
    connect(&fieldStill_, &QTimer::timeout, this, [this] {
        if (services_.session.datPath() == datTaken_)
            return;  // an audit since took this DAT, or the field came back to it
        romsView_->showHoldings(nullptr);
        identify();
        emit identificationChanged();  // another DAT, or none: the offers by content of the last one go
    });
    connect(&ticker_, &QTimer::timeout, this, &ContentIdentifier::showProgress);
    connect(datField_, &QLineEdit::textChanged, this, [this] { fieldStill_.start(); });
    connect(stopButton_, &QToolButton::clicked, this, &ContentIdentifier::stop);
}

ContentIdentifier::~ContentIdentifier()
{
    if (running_)
        running_->request_stop();
}

// The job reads the disk for every archive of the collection, or takes them
// from the cache of contents: on a large collection it runs for a while.
void ContentIdentifier::identify()
{
    stop();
    datTaken_ = services_.session.datPath();
    const std::optional<tokenade::IdentifyInputs> wanted = services_.session.identificationWanted();
    if (!wanted) {
        if (!datTaken_.empty())
            checkDat(datTaken_);
        return;
    }
    counts_ = std::make_shared<Counts>();
    running_ = std::make_shared<std::stop_source>();
    const std::shared_ptr<const tokenade::AuditResult> result = services_.session.snapshot(tokenade::AuditKind::Roms);
    services_.jobs.start<Identified>(
        [inputs = *wanted, result, counts = counts_, own = running_](std::stop_token stop,
                                                                     const JobRunner::Reporter&) {
            // Either the runner or Stop ends it.
            const std::stop_callback forward(stop, [own] { own->request_stop(); });
            const tokenade::ContentProgress progress{&counts->found, &counts->read, own->get_token()};
            auto found = std::make_shared<tokenade::BasisAndArchives>(tokenade::readAndIdentify(inputs, progress));
            auto holdings = std::make_shared<tokenade::ContentHoldings>(tokenade::unknownHoldings(result, *found));
            tokenade::addSetStates(*holdings, *found, inputs);
            tokenade::addNeedsNotes(*holdings, *found);
            return Identified{std::move(found), std::move(holdings)};
        },
        {}, [this, result, inputs = *wanted, own = running_](Identified identified) {
            const std::shared_ptr<const tokenade::BasisAndArchives>& found = identified.found;
            if (own != running_)
                return;  // stopped, or replaced by a newer identification
            stop();
            if (found->read.datProblem) {
                datUnusable(inputs.datPaths.front(), *found->read.datProblem);
                return;
            }
            if (found->identified.archives.stopped)
                return;
            if (!services_.session.identified(result, inputs, found))
                return;
            romsView_->showHoldings(std::move(identified.holdings));
            emit identificationChanged();
        });
    progress_->setRange(0, 0);  // busy until the folders are walked and the count is known
    progress_->show();
    stopButton_->show();
    ticker_.start();
}

// With nothing to identify yet, the DAT is read alone, so that one that
// cannot be used says so as it is chosen; a good one's index is cached for
// the identification that follows the audit.
void ContentIdentifier::checkDat(const std::string& datPath)
{
    services_.jobs.start<std::optional<tokenade::DatProblem>>(
        [datPath](std::stop_token, const JobRunner::Reporter&) {
            tokenade::ManyDatsRead read = tokenade::readManyDats(std::span(&datPath, 1));
            if (read.dat)
                return std::optional<tokenade::DatProblem>();
            return std::optional(read.problems.empty() ? tokenade::DatProblem{datPath, 0, 0, "holds no DAT"}
                                                       : std::move(read.problems.front()));
        },
        {}, [this, datPath](std::optional<tokenade::DatProblem> problem) {
            if (problem && services_.session.datPath() == datPath)
                datUnusable(datPath, *problem);
        });
}

void ContentIdentifier::datUnusable(const std::string& datPath, const tokenade::DatProblem& problem)
{
    services_.session.datUnusable(datPath, problem.message());
    emit identificationChanged();  // the notice says that identification is off
    // A path half typed names no file yet: the notice says so without stopping the typing.
    if (datField_->hasFocus() && !QFileInfo::exists(fromLocalPath(datPath)))
        return;
    services_.alert.show(QStringLiteral("The DAT cannot be used"), toQString(problem.message()), QStringLiteral("OK"));
}

void ContentIdentifier::stop()
{
    if (running_)
        running_->request_stop();
    running_.reset();
    counts_.reset();
    ticker_.stop();
    progress_->hide();
    stopButton_->hide();
}

void ContentIdentifier::showProgress()
{
    if (!counts_)
        return;
    const size_t found = counts_->found.load();
    if (found == 0)
        return;
    progress_->setRange(0, static_cast<int>(std::min<size_t>(found, INT_MAX)));
    progress_->setValue(static_cast<int>(std::min(counts_->read.load(), found)));
}
