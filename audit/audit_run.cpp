#include "audit_run.h"

#include "audit/audit_status.h"
#include "audit/name_merge.h"
#include "platform/foundation/folder_walk.h"
#include "sources/extension_rewrite.h"
#include "sources/folder_scan.h"
#include "sources/roms_list.h"

#include <future>

namespace tokenade {
namespace {

void tell(const AuditProgress& progress, std::string_view text)
{
    if (progress.status)
        progress.status(text);
}

// The lines of the list, rewritten to `extension` and sorted by whole name.
// The rewrite can move names out of their order as lines ("abc" and
// "abc (x)" swap once both end in ".zip") and the merges compare whole
// names, so the sort comes after the rewrite. The list is read while the
// folders are walked, so it runs on a thread of its own.
std::future<std::optional<KeyedNames>> readListForMerge(const std::string& listPath, std::string_view extension)
{
    return std::async(std::launch::async, [listPath, extension] {
        std::optional<NameList> lines = readRomsListLines(listPath);
        if (!lines)
            return std::optional<KeyedNames>();
        setExtension(extension, *lines);
        KeyedNames keyed(std::move(*lines), SortBy::WholeName);
        keyed.sort();
        return std::optional<KeyedNames>(std::move(keyed));
    });
}

// The names of one folder set, sorted for the merge, and the rewritten list
// (nothing when it is unusable), with the status texts in their order.
struct NamesAndList {
    KeyedNames names;
    std::optional<KeyedNames> list;
};

NamesAndList scanWhileReadingList(const AuditInputs& inputs, std::string_view scanStatus, std::string_view folderSet,
                                  std::string_view extension, const AuditProgress& progress)
{
    auto list = readListForMerge(inputs.romsListPath, extension);
    tell(progress, scanStatus);
    KeyedNames names = scanFolders(inputs.tokenadeDirPath, folderNames(folderSet), extension, progress.filesSeen);
    names.sort(walkThreads());
    tell(progress, kStatusCachingRomsList);
    return {std::move(names), list.get()};
}

}  // namespace

std::optional<RomAuditResult> runRomAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    auto [found, expected] = scanWhileReadingList(inputs, kStatusCachingRomDirs, kRomFolders, kRomExtension, progress);
    if (!expected)
        return std::nullopt;

    tell(progress, kStatusAuditingRoms);
    MergedNames merged = mergeNames(found, *expected);
    return RomAuditResult{std::move(merged.valid), std::move(merged.missing), std::move(merged.unknown)};
}

std::optional<VideoAuditResult> runVideoAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    auto [videos, supported] =
        scanWhileReadingList(inputs, kStatusCachingVideoDirs, kVideoFolders, kVideoExtension, progress);

    std::optional<KeyedNames> available;
    if (inputs.availableRomVideosOnly) {
        tell(progress, kStatusCachingAvailableRoms);
        std::vector<std::string> archives =
            scanFolders(inputs.tokenadeDirPath, folderNames(kRomFolders), kRomExtension, progress.filesSeen)
                .takeNames();
        setExtension(kVideoExtension, archives);
        available.emplace(std::move(archives), SortBy::WholeName);
        available->sort(walkThreads());
    }
    std::optional<KeyedNames>& expected = inputs.availableRomVideosOnly ? available : supported;
    if (!expected)
        return std::nullopt;

    tell(progress, kStatusAuditingVideos);
    const KeyedNames* membership = inputs.availableRomVideosOnly && supported ? &*supported : nullptr;
    MergedNames merged = mergeNames(videos, *expected, membership);
    return VideoAuditResult{std::move(merged.valid), std::move(merged.missing), std::move(merged.extra),
                            std::move(merged.unknown)};
}

}  // namespace tokenade
