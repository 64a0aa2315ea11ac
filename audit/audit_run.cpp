#include "audit_run.h"

#include "audit/audit_status.h"
#include "audit/name_merge.h"
#include "sources/extension_rewrite.h"
#include "sources/folder_scan.h"
#include "sources/roms_list.h"
#include "sources/shared_order.h"

namespace tokenade {
namespace {

void tell(const AuditProgress& progress, std::string_view text)
{
    if (progress.status)
        progress.status(text);
}

// The rewrite can move names out of order ("abc" and "abc (x)" swap once both
// end in ".zip"), and the merges compare whole names: sort again.
void rewriteForMerge(std::string_view extension, NameList& names)
{
    setExtension(extension, names);
    sortNames(names, SortBy::WholeName);
}

}  // namespace

std::optional<RomAuditResult> runRomAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    tell(progress, kStatusCachingRomDirs);
    const NameList found = cacheTokenadeRomDirs(inputs.tokenadeDirPath, progress.filesSeen);
    tell(progress, kStatusCachingRomsList);
    std::optional<NameList> expected = cacheRomsListFile(inputs.romsListPath);
    if (!expected)
        return std::nullopt;

    rewriteForMerge(kRomExtension, *expected);
    tell(progress, kStatusAuditingRoms);
    MergedNames merged = mergeNames(found, *expected);
    return RomAuditResult{std::move(merged.valid), std::move(merged.missing), std::move(merged.unknown)};
}

std::optional<VideoAuditResult> runVideoAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    tell(progress, kStatusCachingVideoDirs);
    const NameList videos = cacheTokenadeVideoDirs(inputs.tokenadeDirPath, progress.filesSeen);
    tell(progress, kStatusCachingRomsList);
    std::optional<NameList> supported = cacheRomsListFile(inputs.romsListPath);
    if (supported)
        rewriteForMerge(kVideoExtension, *supported);

    std::optional<NameList> available;
    if (inputs.availableRomVideosOnly) {
        tell(progress, kStatusCachingAvailableRoms);
        available = cacheTokenadeRomDirs(inputs.tokenadeDirPath, progress.filesSeen);
        rewriteForMerge(kVideoExtension, *available);
    }
    const std::optional<NameList>& expected = inputs.availableRomVideosOnly ? available : supported;
    if (!expected)
        return std::nullopt;

    tell(progress, kStatusAuditingVideos);
    const NameList* membership = inputs.availableRomVideosOnly && supported ? &*supported : nullptr;
    MergedNames merged = mergeNames(videos, *expected, membership);
    return VideoAuditResult{std::move(merged.valid), std::move(merged.missing), std::move(merged.extra),
                            std::move(merged.unknown)};
}

}  // namespace tokenade
