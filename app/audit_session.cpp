#include "audit_session.h"

namespace tokenade {
namespace {

// Moves a new result into the one the session keeps, list by list, so that
// the kept lists stay where they are.
void adopt(AuditResult& kept, AuditResult&& fresh)
{
    for (size_t i = 0; i < kept.categories.size() && i < fresh.categories.size(); ++i)
        kept.categories[i].entries = std::move(fresh.categories[i].entries);
    kept.availableOnly = fresh.availableOnly;
    kept.folders = std::move(fresh.folders);
    kept.warnings = std::move(fresh.warnings);
    kept.storage = std::move(fresh.storage);
}

}  // namespace

AuditSession::AuditSession()
{
    roms_.result = AuditResult::empty(AuditKind::Roms);
    videos_.result = AuditResult::empty(AuditKind::Videos);
}

void AuditSession::setPaths(std::string directory, std::string listPath)
{
    directory_ = std::move(directory);
    listPath_ = std::move(listPath);
}

AuditInputs AuditSession::startAudit(AuditKind kind)
{
    ++state(kind).running;
    return AuditInputs{directory_, listPath_, kind == AuditKind::Videos && availableOnly_};
}

AuditSession::Finish AuditSession::finishAudit(AuditKind kind, AuditOutcome&& outcome)
{
    KindState& kept = state(kind);
    --kept.running;
    if (outcome.stopped)
        return Finish::Stopped;
    if (!outcome.result)
        return Finish::ListUnusable;
    adopt(kept.result, std::move(*outcome.result));
    kept.madeFrom = outcome.inputs;
    return Finish::Adopted;
}

bool AuditSession::isSegmentEnabled(const CategoryFacts& facts) const
{
    return facts.id != CategoryId::Extra || availableOnly_;
}

}  // namespace tokenade
