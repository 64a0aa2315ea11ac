#include "systems_panel.h"

#include "core/session/audit_session.h"
#include "core/session/job_runner.h"
#include "gui/systems/system_bars_view.h"

using tokenade::AuditKind;
using tokenade::SystemsTable;

SystemsPanel::SystemsPanel(SystemBarsView* view, const ChangeServices& services, ShowScope show)
    : view_(view)
    , services_(services)
    , showScope_(std::move(show))
    , export_(view, services)
{
    connect(view_, &SystemBarsView::partActivated, this, &SystemsPanel::partActivated);
}

SystemsPanel::~SystemsPanel() = default;

void SystemsPanel::resultAdopted()
{
    ++asked_;
    if (!services_.session.isAudited(AuditKind::Roms))
        return;
    show(std::make_shared<const SystemsTable>(tokenade::systemsByFolder(services_.session.snapshot(AuditKind::Roms))));
}

void SystemsPanel::identificationChanged()
{
    const std::shared_ptr<const tokenade::BasisAndArchives> content = services_.session.identification();
    if (!content || !content->read.basis)
        return resultAdopted();  // dropped with its DAT: back to the folders
    const uint64_t asked = ++asked_;
    services_.jobs.start<std::shared_ptr<const SystemsTable>>(
        [result = services_.session.snapshot(AuditKind::Roms), content](std::stop_token, const JobRunner::Reporter&) {
            return std::make_shared<const SystemsTable>(tokenade::systemsByDat(result, content));
        },
        {}, [this, asked](std::shared_ptr<const SystemsTable> table) {
            if (asked == asked_)
                show(std::move(table));
        });
}

void SystemsPanel::show(std::shared_ptr<const SystemsTable> table)
{
    table_ = std::move(table);
    view_->showTable(table_->summary);
}

void SystemsPanel::partActivated(size_t row, tokenade::SystemCount count)
{
    // The table shown is the one clicked: its result is the one the positions are of.
    if (!table_)
        return;
    if (const std::optional<tokenade::SystemScope> scope = tokenade::scopeOf(*table_, row, count))
        showScope_(*scope);
}
