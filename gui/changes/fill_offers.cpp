#include "fill_offers.h"

#include "core/audit/name_differences.h"
#include "core/foundation/byte_size.h"
#include "core/foundation/path_join.h"
#include "core/repair/content_offers.h"
#include "core/repair/fill_plan.h"
#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "gui/alert.h"
#include "gui/changes/batch_runner.h"
#include "gui/changes/fill_view.h"
#include "gui/file_chooser.h"
#include "gui/preferences.h"
#include "gui/qt_strings.h"
#include "gui/window_elements.h"

#include <QLabel>
#include <QToolButton>

using tokenade::AuditKind;
using tokenade::ChangePlan;
using tokenade::OfferedChange;

namespace {

const QString kSourceFolderKey = QStringLiteral("FillSourceFolder");

QString differenceWords(uint8_t differences)
{
    QStringList words;
    for (std::string_view word : tokenade::differenceNames(tokenade::Differences{differences}))
        words << toQString(word);
    return words.join(QStringLiteral(", "));
}

QString filesWord(size_t count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

// The source's archives are identified against the collection's DAT and
// list, then the fill takes them by name first and by content second.
ChangePlan planFillByContent(const tokenade::AuditResult& result, const tokenade::FillRequest& request,
                             const tokenade::BasisAndArchives& content, std::stop_token stop)
{
    const tokenade::ContentBasis& basis = *content.read.basis;
    const tokenade::IdentifyInputs inputs{request.source, true, {}, {}, {}};
    const tokenade::IdentifiedArchives source = tokenade::identifyArchives(basis, inputs, {nullptr, nullptr, stop});
    if (source.archives.stopped)
        return tokenade::planFill(result, request, stop);
    const tokenade::ContentFindings findings{basis, content.identified, &source};
    return tokenade::planFill(result, request, stop, &findings);
}

}  // namespace

FillOffers::FillOffers(AuditKind kind, const TabChangeElements& tab, QLabel* status, const ChangeServices& services,
                       BatchRunner& batches)
    : kind_(kind)
    , button_(tab.fillButton)
    , view_(tab.fillView)
    , status_(status)
    , services_(services)
    , batches_(batches)
{
    connect(button_, &QToolButton::clicked, this, &FillOffers::chooseSource);
    connect(view_, &FillView::rowTicked, this, &FillOffers::tick);
    connect(view_, &FillView::copyClicked, this, &FillOffers::copy);
    connect(view_, &FillView::targetChosen, this, [this](const QString& folder) {
        const std::string chosen = toLocalPath(folder);
        if (services_.session.canFill(kind_))
            services_.session.fillTargets().choose(kind_, services_.session.madeFrom(kind_)->tokenadeDirPath, chosen);
        planInto(chosen);
    });
    connect(view_, &FillView::cancelClicked, &batches_, &BatchRunner::stop);
    // Whatever the batch, the files it offers may have changed.
    connect(&batches_, &BatchRunner::batchEnded, this, [this](AuditKind kind) {
        if (kind == kind_)
            view_->hide();
    });
}

void FillOffers::showCommands()
{
    button_->setEnabled(services_.session.canFill(kind_));
    button_->setToolTip(toQString(services_.session.whyNoChanges(kind_)));
}

void FillOffers::resultAdopted()
{
    view_->hide();
}

// The folder is searched on a job: a download folder may hold thousands of files.
void FillOffers::chooseSource()
{
    if (!services_.session.canFill(kind_))
        return;
    ChooserOptions options;
    options.canChooseDirectories = true;
    options.title = QStringLiteral("Fill the missing files from a folder");
    options.prompt = QStringLiteral("Look Here");
    options.startFolder = services_.preferences.stringForKey(kSourceFolderKey).value_or(QString());
    const std::optional<QString> source = services_.chooser.choose(options);
    if (!source)
        return;
    services_.preferences.setString(kSourceFolderKey, *source);  // downloads tend to land in one place
    source_ = toLocalPath(*source);
    planInto(services_.session.fillTargets().chosen(kind_, services_.session.madeFrom(kind_)->tokenadeDirPath,
                                                    tokenade::FillTargets::foldersOf(services_.session.result(kind_))));
}

// Choosing another folder plans the fill again into it.
void FillOffers::planInto(const std::string& folder)
{
    if (!services_.session.canFill(kind_))
        return;
    target_ = folder;
    const tokenade::FillRequest request{services_.session.madeFrom(kind_)->tokenadeDirPath, source_, target_, false};
    status_->setText(toQString("Looking for the missing files in " + request.source + "…"));
    status_->show();
    // By content too, once the ROM result is identified against a DAT.
    std::shared_ptr<const tokenade::BasisAndArchives> content;
    if (kind_ == AuditKind::Roms)
        content = services_.session.identification();
    services_.jobs.start<ChangePlan>(
        [result = services_.session.snapshot(kind_), request, content](std::stop_token stop,
                                                                       const JobRunner::Reporter&) {
            if (!content || !tokenade::whyFillRefused(*result, request).empty())
                return tokenade::planFill(*result, request, stop);
            return planFillByContent(*result, request, *content, stop);
        },
        {}, [this](ChangePlan plan) { didPlan(std::move(plan)); });
}

void FillOffers::didPlan(ChangePlan plan)
{
    if (!services_.session.isAnyRunning())
        status_->hide();
    if (!plan.problem.empty()) {
        services_.alert.show(QStringLiteral("Cannot fill from this folder"), toQString(plan.problem),
                             QStringLiteral("OK"));
        return;
    }
    if (plan.items.empty()) {
        services_.alert.show(QStringLiteral("No missing files there"),
                             QStringLiteral("None of the files in the folder is one the collection misses."),
                             QStringLiteral("OK"));
        return;
    }
    services_.session.offerFill(kind_, std::move(plan));
    const tokenade::ChangeChoice& fill = services_.session.fillOffers(kind_);
    std::vector<FillView::Row> rows;
    for (size_t i = 0; i < fill.plan().items.size(); ++i) {
        const OfferedChange& item = fill.plan().items[i];
        QString differences = differenceWords(item.differences);
        for (const std::string& why : {item.reason, item.caution, item.refusal}) {
            if (!why.empty())
                differences += (differences.isEmpty() ? QString() : QStringLiteral(", ")) + toQString(why);
        }
        // The reasons run long: they come last, where the table has room.
        rows.push_back({{toQString(item.expected), toQString(item.shownSource), fromLocalPath(item.change.toFolder),
                         differences},
                        fill.ticks()[i], item.refusal.empty()});
    }
    view_->showOffers(filesWord(rows.size()) + QStringLiteral(" of the missing ones found. Copy gives the ticked "
                                                              "ones their expected names in the target folder."),
                      rows);
    QStringList folders;
    for (const std::string& folder : tokenade::FillTargets::foldersOf(services_.session.result(kind_)))
        folders << fromLocalPath(folder);
    view_->showTargets(folders, fromLocalPath(target_));
    showSummary();
    view_->showKeepingSize(services_.preferences, QStringLiteral("FillSize"));
}

void FillOffers::showSummary()
{
    const tokenade::ChangeChoice& fill = services_.session.fillOffers(kind_);
    view_->showSummary(toQString(tokenade::fillSummary(fill)),
                       fill.tickedCount() != 0 && tokenade::hasRoomFor(fill) && services_.session.canChange());
}

void FillOffers::tick(int item, bool ticked)
{
    services_.session.tickFill(kind_, static_cast<size_t>(item), ticked);
    showSummary();
}

void FillOffers::copy()
{
    const tokenade::ChangeChoice& fill = services_.session.fillOffers(kind_);
    if (!services_.session.canChange() || fill.tickedCount() == 0 || !tokenade::hasRoomFor(fill))
        return;
    QStringList lines;
    for (size_t i = 0; i < fill.plan().items.size(); ++i) {
        const OfferedChange& item = fill.plan().items[i];
        if (fill.ticks()[i])
            lines << toQString(item.shownSource) + QStringLiteral(" \u2192 ") +
                         fromLocalPath(tokenade::joinPath(item.change.toFolder, item.change.to));
    }
    const QString question = QStringLiteral("Copy %1 (%2)?")
                                 .arg(filesWord(fill.tickedCount()), toQString(tokenade::byteSize(fill.bytesToCopy())));
    if (!services_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Copy")))
        return;
    view_->showCopying(true);
    batches_.run(kind_, tokenade::BatchKind::Fill, fill.changes(),
                 [view = view_](const QString& text) { view->showProgress(text); });
}
