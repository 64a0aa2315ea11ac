#include "near_miss_offers.h"

#include "core/audit/name_differences.h"
#include "core/foundation/path_join.h"
#include "core/repair/content_offers.h"
#include "core/repair/rename_offers.h"
#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "core/session/shown_text.h"
#include "core/sources/folder_scan.h"
#include "gui/alert.h"
#include "gui/changes/batch_runner.h"
#include "gui/changes/near_misses_view.h"
#include "gui/qt_strings.h"
#include "gui/window_elements.h"

#include <QPushButton>
#include <QToolButton>

#include <set>

using tokenade::AuditKind;
using tokenade::NearMisses;
using tokenade::OfferKind;
using tokenade::OfferedChange;

namespace {

// The folder of an offer's file, relative to the Tokenade directory.
QString folderOf(const OfferedChange& item)
{
    const std::string& shown = item.shownSource;
    const size_t cut = shown.size() > item.change.from.size() ? shown.size() - item.change.from.size() - 1 : 0;
    return toQString(std::string_view(shown).substr(0, cut));
}

// The words of the row's last column: how the name differs, or why it is offered.
QString noteOf(const OfferedChange& item)
{
    QStringList words;
    for (std::string_view word : tokenade::differenceNames(tokenade::Differences{item.differences}))
        words << toQString(word);
    if (item.kind == OfferKind::CutName)
        words << QStringLiteral("cut name: the list line has a period");
    if (item.kind == OfferKind::Follower)
        words << (item.change.to.ends_with(".zip") ? QStringLiteral("follows its video")
                                                   : QStringLiteral("follows its archive"));
    if (!item.reason.empty())
        words << toQString(item.reason);
    if (!item.caution.empty())
        words << toQString(item.caution);
    if (!item.refusal.empty())
        words << QStringLiteral("not renamed: ") + toQString(item.refusal);
    return words.join(QStringLiteral(", "));
}

// The names listed but never renamed, a paragraph each, with why. A cut
// name or a second spelling that is offered as a rename is a row instead.
QStringList notRenamed(const tokenade::AuditResult& result, const tokenade::ChangePlan& offers)
{
    std::set<std::string> offered;
    for (const OfferedChange& item : offers.items)
        offered.insert(item.shownSource);
    const NearMisses& near = result.nearMisses;
    QStringList paragraphs;
    for (const auto& group : near.ambiguous) {
        QStringList names;
        for (const tokenade::ResultEntry* entry : group)
            names << quotedName(entry->name());
        paragraphs << QStringLiteral("Too alike to pair, never renamed: ") + names.join(QStringLiteral(", "));
    }
    for (const auto& copy : near.copies) {
        if (offered.count(tokenade::joinPath(result.folderOf(*copy.file), copy.file->name())))
            continue;  // renamed by content to the game it holds
        paragraphs << quotedName(copy.file->name()) + QStringLiteral(" in ") + toQString(result.folderOf(*copy.file)) +
                          QStringLiteral(" is a second spelling of ") + quotedName(copy.copyOf->name()) +
                          QStringLiteral(", which is there: never renamed.");
    }
    for (const auto& cut : near.cut) {
        if (offered.count(tokenade::joinPath(result.folderOf(*cut.found), cut.found->name())))
            continue;
        paragraphs << QStringLiteral("The list line ") + quotedName(cut.line) + QStringLiteral(" expects ") +
                          quotedName(cut.expected) + QStringLiteral(" because of its period, and ") +
                          quotedName(cut.found->name()) + QStringLiteral(" is there: mend the line or the name yourself.");
    }
    return paragraphs;
}

}  // namespace

NearMissOffers::NearMissOffers(AuditKind kind, const TabChangeElements& tab, const ChangeServices& services,
                               BatchRunner& batches)
    : kind_(kind)
    , button_(tab.nearMissesButton)
    , view_(tab.nearMissesView)
    , services_(services)
    , batches_(batches)
{
    connect(button_, &QToolButton::clicked, this, &NearMissOffers::show);
    connect(view_, &NearMissesView::rowTicked, this, &NearMissOffers::tick);
    connect(view_, &NearMissesView::renameClicked, this, &NearMissOffers::rename);
}

void NearMissOffers::showCommands()
{
    button_->setText(toQString(services_.session.nearMissLabel(kind_)));
    button_->setEnabled(services_.session.canShowNearMisses(kind_));
    button_->setToolTip(toQString(services_.session.whyNoChanges(kind_)));
    view_->setRenameEnabled(services_.session.canRename(kind_));
    view_->renameButton()->setToolTip(toQString(services_.session.whyNoChanges(kind_)));
}

void NearMissOffers::resultAdopted()
{
    plan();
    // Its rows and ticks must be the offers that Rename would act on.
    if (view_->isVisible())
        fillView();
}

void NearMissOffers::show()
{
    fillView();
    view_->showKeepingSize(services_.preferences, QStringLiteral("NearMissesSize"));
}

// The offers are planned once per result, from the files as they are then,
// in a job: for a ROM audit the videos of the session's last video audit
// follow their archives, and the reverse, and the other kind's folders are
// read for it when that kind was not audited here.
void NearMissOffers::plan()
{
    const tokenade::AuditSession& session = services_.session;
    const std::shared_ptr<const tokenade::AuditResult> result = session.snapshot(kind_);
    // Renames by content, once the ROM result is identified against a DAT.
    std::shared_ptr<const tokenade::BasisAndArchives> content;
    if (kind_ == AuditKind::Roms)
        content = session.identification();
    if (!session.madeFrom(kind_) || (result->nearMisses.pairs.empty() && result->nearMisses.cut.empty() && !content)) {
        didPlan(result, {});  // none by content either, for another DAT or none
        return;
    }
    const AuditKind other = kind_ == AuditKind::Roms ? AuditKind::Videos : AuditKind::Roms;
    const std::string directory = session.madeFrom(kind_)->tokenadeDirPath;
    std::shared_ptr<const tokenade::AuditResult> otherResult;
    if (session.isAudited(other) && session.madeFrom(other)->tokenadeDirPath == directory)
        otherResult = session.snapshot(other);
    services_.jobs.start<tokenade::ChangePlan>(
        [result, otherResult, content, directory, kind = kind_](std::stop_token stop, const JobRunner::Reporter&) {
            // A walk stopped short hands back nothing: its callback is dropped with it.
            const tokenade::ScanControl control{nullptr, stop};
            const tokenade::FoundNames otherFiles =
                otherResult               ? tokenade::foundNamesOf(*otherResult)
                : kind == AuditKind::Roms ? tokenade::cacheTokenadeVideoDirs(directory, control)
                                          : tokenade::cacheTokenadeRomDirs(directory, control);
            if (!content)
                return tokenade::planRenameOffers(*result, directory, &otherFiles);
            const tokenade::ContentFindings findings{*content->read.basis, content->identified};
            return tokenade::planRenameOffers(*result, directory, &otherFiles, &findings);
        },
        {}, [this, result](tokenade::ChangePlan plan) { didPlan(result, std::move(plan)); });
}

// A plan for a result that a newer one has replaced meanwhile is dropped:
// the newer result plans its own.
void NearMissOffers::didPlan(const std::shared_ptr<const tokenade::AuditResult>& planned, tokenade::ChangePlan plan)
{
    if (services_.session.snapshot(kind_) != planned)
        return;
    services_.session.offerRenames(kind_, std::move(plan));
    showCommands();
    if (view_->isVisible())
        fillView();
}

void NearMissOffers::fillView()
{
    const tokenade::ChangeChoice& offers = services_.session.renameOffers(kind_);
    std::vector<NearMissesView::Row> rows;
    for (size_t i = 0; i < offers.plan().items.size(); ++i) {
        const OfferedChange& item = offers.plan().items[i];
        rows.push_back({{toQString(item.change.to), toQString(item.change.from), folderOf(item), noteOf(item)},
                        offers.ticks()[i],
                        item.kind != OfferKind::Follower && item.refusal.empty()});
    }
    const QStringList others = notRenamed(services_.session.result(kind_), offers.plan());
    const QString title = toQString(tokenade::nearMissHeading(kind_, offers.plan(), static_cast<size_t>(others.size()))) +
                          QStringLiteral(" Rename gives the ticked files the names their games expect.");
    view_->showNearMisses(title, rows, others);
    view_->setRenameEnabled(services_.session.canRename(kind_));
}

void NearMissOffers::tick(int item, bool ticked)
{
    services_.session.tickRename(kind_, static_cast<size_t>(item), ticked);
    // Its followers' ticks, without remaking the rows while one of them reports a click.
    view_->showTicks(services_.session.renameOffers(kind_).ticks());
    showCommands();
}

// Every rename is shown before any is made, and asked once.
void NearMissOffers::rename()
{
    if (!services_.session.canRename(kind_))
        return;
    const tokenade::ChangeChoice& offers = services_.session.renameOffers(kind_);
    QStringList lines;
    for (size_t i = 0; i < offers.plan().items.size(); ++i) {
        const OfferedChange& item = offers.plan().items[i];
        if (offers.ticks()[i])
            lines << fromLocalPath(item.change.folder) + QStringLiteral(": ") + quotedName(item.change.from) +
                         QStringLiteral(" \u2192 ") + quotedName(item.change.to);
    }
    const size_t count = offers.tickedCount();
    const QString question =
        count == 1 ? QStringLiteral("Rename 1 file?") : QStringLiteral("Rename %1 files?").arg(count);
    if (services_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Rename")))
        batches_.run(kind_, tokenade::BatchKind::Renames, offers.changes());
}
