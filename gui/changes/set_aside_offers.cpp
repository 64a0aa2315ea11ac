#include "set_aside_offers.h"

#include "core/foundation/path_join.h"
#include "core/repair/set_aside_plan.h"
#include "core/session/audit_session.h"
#include "gui/alert.h"
#include "gui/changes/batch_runner.h"
#include "gui/qt_strings.h"
#include "gui/report_view.h"

#include <QAction>

#include <optional>
#include <set>

using tokenade::AuditKind;

SetAsideOffers::SetAsideOffers(AuditKind kind, ReportView* view, const ChangeServices& services,
                               BatchRunner& batches)
    : kind_(kind)
    , view_(view)
    , services_(services)
    , batches_(batches)
{
    connect(view_->setAsideAction(), &QAction::triggered, this, &SetAsideOffers::setAside);
    connect(view_, &ReportView::namesSelected, this, &SetAsideOffers::showCommands);
}

void SetAsideOffers::showCommands()
{
    const std::optional<tokenade::CategoryId> shown = view_->shownCategory();
    view_->setAsideAction()->setEnabled(
        shown && services_.session.canSetAside(kind_, *shown, view_->selectedNames().size()));
    view_->setAsideAction()->setToolTip(toQString(services_.session.whyNoChanges(kind_)));
}

// Only the selected names go, asked once.
void SetAsideOffers::setAside()
{
    const std::optional<tokenade::CategoryId> shown = view_->shownCategory();
    const std::vector<const tokenade::ResultEntry*> selected = view_->selectedNames();
    if (!shown || !services_.session.canSetAside(kind_, *shown, selected.size()))
        return;
    const tokenade::AuditResult& result = services_.session.result(kind_);
    const std::string directory = services_.session.madeFrom(kind_)->tokenadeDirPath;
    // With a DAT of arcade sets, an archive that listed sets need is refused.
    const std::shared_ptr<const tokenade::BasisAndArchives> found =
        kind_ == AuditKind::Roms ? services_.session.identification() : nullptr;
    std::optional<tokenade::ContentFindings> findings;
    if (found && found->read.basis)
        findings.emplace(tokenade::ContentFindings{*found->read.basis, found->identified});
    tokenade::ChangePlan plan = tokenade::planSetAside(result, {directory, *shown, {}}, findings ? &*findings : nullptr);
    if (!plan.problem.empty()) {
        services_.alert.show(QStringLiteral("Cannot set these files aside"), toQString(plan.problem),
                             QStringLiteral("OK"));
        return;
    }
    std::set<std::string> names;
    for (const tokenade::ResultEntry* entry : selected)
        names.insert(tokenade::joinPath(result.folderOf(*entry), entry->name()));
    tokenade::ChangeChoice choice(std::move(plan));
    choice.tickOnly(names);
    QStringList lines;
    QStringList kept;  // selected, never tickable: "roms/pgm.zip stays: needed by 3 listed sets"
    for (size_t i = 0; i < choice.plan().items.size(); ++i) {
        const tokenade::OfferedChange& item = choice.plan().items[i];
        if (choice.ticks()[i])
            lines << toQString(item.shownSource);
        else if (!item.refusal.empty() && names.count(item.shownSource))
            kept << toQString(item.shownSource + " stays: " + item.refusal);
    }
    if (choice.tickedCount() == 0) {
        if (!kept.isEmpty())
            services_.alert.show(QStringLiteral("Cannot set these files aside"), kept.join(QStringLiteral("\n")),
                                 QStringLiteral("OK"));
        return;
    }
    if (!kept.isEmpty())
        lines << QString() << kept;
    const QString where = fromLocalPath(tokenade::defaultSetAsideFolder(directory));
    const QString question = QStringLiteral("Set aside %1 into %2?")
                                 .arg(choice.tickedCount() == 1 ? QStringLiteral("1 file")
                                                                : QStringLiteral("%1 files").arg(choice.tickedCount()),
                                      where);
    if (services_.alert.ask(question, lines.join(QStringLiteral("\n")), QStringLiteral("Set Aside")))
        batches_.run(kind_, tokenade::BatchKind::SetAside, choice.changes());
}
