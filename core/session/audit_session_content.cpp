// AuditSession: the DAT chosen, and what identifying the ROM result's
// archives against it found.
#include "audit_session.h"

#include "core/session/content_holdings.h"

namespace tokenade {

std::optional<IdentifyInputs> AuditSession::identificationWanted() const
{
    if (datPath_.empty() || !isAudited(AuditKind::Roms) || !changesRefused(AuditKind::Roms).empty())
        return std::nullopt;
    const AuditInputs& from = *madeFrom(AuditKind::Roms);
    return IdentifyInputs{from.tokenadeDirPath, false, {datPath_}, from.romsListPath, {}};
}

bool AuditSession::identified(const std::shared_ptr<const AuditResult>& of, const IdentifyInputs& inputs,
                              std::shared_ptr<const BasisAndArchives> found)
{
    if (of != snapshot(AuditKind::Roms))
        return false;
    identifiedOf_ = of;
    // The window names one DAT, or one folder of them.
    const std::string dat = inputs.datPaths.empty() ? "" : inputs.datPaths.front();
    identifiedDat_ = dat;
    identified_ = std::move(found);
    contentWarnings_ = contentWarnings(*of, *identified_);
    if (identified_->read.basis && unusableDat_ == dat)
        unusableDat_.clear();  // mended since
    return true;
}

void AuditSession::datUnusable(std::string datPath, std::string why)
{
    unusableDat_ = std::move(datPath);
    whyDatUnusable_ = std::move(why);
}

void AuditSession::addContentNotices(std::vector<Notice>& notices) const
{
    if (!datPath_.empty() && datPath_ == unusableDat_) {
        notices.push_back({"Identification by content is off: the DAT cannot be used (" + whyDatUnusable_ +
                               "). Choose another DAT, or mend this one and choose it again.",
                           {}, {}});
        return;
    }
    if (!identification())
        return;
    for (const AuditWarning& warning : contentWarnings_)
        notices.push_back({warning.message, warning.examples, {}});
}

std::shared_ptr<const BasisAndArchives> AuditSession::identification() const
{
    // A newer result, or another DAT, was not identified: its offers would be of other files.
    if (!identified_ || identifiedOf_ != snapshot(AuditKind::Roms) || identifiedDat_ != datPath_ ||
        !identified_->read.basis)
        return nullptr;
    return identified_;
}

}  // namespace tokenade
