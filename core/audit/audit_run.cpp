#include "audit_run.h"

#include "core/audit/audit_status.h"
#include "core/audit/cut_lines.h"
#include "core/audit/input_warnings.h"
#include "core/audit/name_merge.h"
#include "core/audit/near_miss_finder.h"
#include "core/foundation/folder_walk.h"
#include "core/sources/extension_rewrite.h"
#include "core/sources/folder_scan.h"

#include <future>

namespace tokenade {
namespace {

void tell(const AuditProgress& progress, std::string_view text)
{
    if (progress.status)
        progress.status(text);
}

// The supported list as the merges take it: the lines rewritten to
// `extension` and sorted. The rewrite can move names out of their order as
// lines ("abc" and "abc (x)" swap once both end in ".zip"), so the sort comes
// after it.
struct ExpectedList {
    RomsListRead read;
    KeyedNames names;
};

// The list is read while the folders are walked, so it is read on a thread of its own.
std::future<ExpectedList> readListForMerge(const std::string& listPath, std::string_view extension)
{
    return std::async(std::launch::async, [listPath, extension] {
        ExpectedList expected{cacheRomsListFile(listPath), {}};
        if (expected.read.list) {
            expected.names = setExtension(extension, expected.read.list->lines);
            expected.names.sort();
        }
        return expected;
    });
}

ScanControl scanControl(const AuditProgress& progress)
{
    return ScanControl{progress.filesSeen, progress.stop};
}

// Moves the merged names into the categories of `result`, with the
// bytes they view; the lists that held them are left empty.
void takeNames(AuditResult& result, MergedNames&& merged, std::vector<std::string> folders,
               std::vector<KeyedNames*> sources)
{
    for (ResultCategory& category : result.categories) {
        switch (category.facts->id) {
        case CategoryId::Valid: category.entries = std::move(merged.valid); break;
        case CategoryId::Missing: category.entries = std::move(merged.missing); break;
        case CategoryId::Extra: category.entries = std::move(merged.extra); break;
        case CategoryId::Unknown: category.entries = std::move(merged.unknown); break;
        }
    }
    result.folders = std::move(folders);
    for (KeyedNames* names : sources) {
        for (NameArena& arena : names->takeArenas())
            result.storage.push_back(std::move(arena));
    }
}

void addWarning(AuditResult& result, std::optional<AuditWarning> warning)
{
    if (warning)
        result.warnings.push_back(std::move(*warning));
}

void addListWarnings(AuditResult& result, const ExpectedList& list)
{
    if (!list.read.list)
        return;
    for (AuditWarning& warning : listWarnings(*list.read.list, list.names))
        result.warnings.push_back(std::move(warning));
}

// The names of one folder set, walked while the list is read on a thread of
// its own, with the status texts in their order.
struct ScannedAndListed {
    FoundNames found;
    ExpectedList list;
};

ScannedAndListed scanWhileReadingList(const AuditInputs& inputs, std::string_view scanStatus,
                                      FoundNames (*scan)(const std::string&, const ScanControl&),
                                      std::string_view extension, const AuditProgress& progress)
{
    auto list = readListForMerge(inputs.romsListPath, extension);
    tell(progress, scanStatus);
    FoundNames found = scan(inputs.tokenadeDirPath, scanControl(progress));
    tell(progress, kStatusCachingRomsList);
    return {std::move(found), list.get()};
}

AuditOutcome stopped(const AuditInputs& inputs)
{
    AuditOutcome outcome{inputs, std::nullopt, {}, true};
    return outcome;
}

AuditOutcome unusableList(const AuditInputs& inputs, ListProblem problem)
{
    return AuditOutcome{inputs, std::nullopt, std::move(problem), false};
}

}  // namespace

AuditOutcome runRomAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    auto [found, expected] =
        scanWhileReadingList(inputs, kStatusCachingRomDirs, cacheTokenadeRomDirs, kRomExtension, progress);
    if (progress.stop.stop_requested())
        return stopped(inputs);
    if (!expected.read.list)
        return unusableList(inputs, std::move(expected.read.problem));

    tell(progress, kStatusAuditingRoms);
    MergedNames merged = mergeUsingUpFound(found.names, expected.names);
    AuditResult result = AuditResult::empty(AuditKind::Roms);
    if (inputs.nearMisses)
        result.nearMisses = findNearMisses(merged, &*expected.read.list, kRomExtension, sortThreads());
    result.cutLines = cutLinesOf(merged.missing, *expected.read.list, kRomExtension);
    addWarning(result, missingFoldersWarning(inputs.tokenadeDirPath, folderNames(kRomFolders), found.folderErrors,
                                             WarningKind::NoRomFolders, "every game shows as missing"));
    addWarning(result, unreadableFoldersWarning(found.unreadable));
    addWarning(result, leftoversWarning(std::move(found.leftovers)));
    addListWarnings(result, expected);
    takeNames(result, std::move(merged), std::move(found.folders), {&found.names, &expected.names});
    return AuditOutcome{inputs, std::move(result), {}, false};
}

AuditOutcome runVideoAudit(const AuditInputs& inputs, const AuditProgress& progress)
{
    // The archives' names stand for the videos they should have. They are
    // gathered while the video folders are walked, and sorted once, after
    // their extension is rewritten (the rewrite can change their order).
    std::future<FoundNames> gathering;
    if (inputs.availableRomVideosOnly) {
        gathering = std::async(std::launch::async, [&] {
            return gatherFilenamesFromDirs(inputs.tokenadeDirPath, folderNames(kRomFolders), kRomExtension,
                                           scanControl(progress));
        });
    }
    auto [videos, supported] =
        scanWhileReadingList(inputs, kStatusCachingVideoDirs, cacheTokenadeVideoDirs, kVideoExtension, progress);

    FoundNames archives;
    KeyedNames available;
    if (inputs.availableRomVideosOnly) {
        tell(progress, kStatusCachingAvailableRoms);
        archives = gathering.get();
        available = setExtension(kVideoExtension, std::move(archives.names));
        available.sort(sortThreads());
    }
    if (progress.stop.stop_requested())
        return stopped(inputs);
    if (!inputs.availableRomVideosOnly && !supported.read.list)
        return unusableList(inputs, std::move(supported.read.problem));

    tell(progress, kStatusAuditingVideos);
    KeyedNames& expected = inputs.availableRomVideosOnly ? available : supported.names;
    const KeyedNames* membership = inputs.availableRomVideosOnly && supported.read.list ? &supported.names : nullptr;
    MergedNames merged = mergeUsingUpFound(videos.names, expected, membership);
    AuditResult result = AuditResult::empty(AuditKind::Videos);
    // The missing videos are named by the list's lines only when the list is what is expected.
    const RomsList* lines = inputs.availableRomVideosOnly ? nullptr : &*supported.read.list;
    if (inputs.nearMisses)
        result.nearMisses = findNearMisses(merged, lines, kVideoExtension, sortThreads());
    if (lines)
        result.cutLines = cutLinesOf(merged.missing, *lines, kVideoExtension);
    auto noVideoFolders = missingFoldersWarning(inputs.tokenadeDirPath, folderNames(kVideoFolders),
                                                videos.folderErrors, WarningKind::NoVideoFolders,
                                                "every video shows as missing");
    // Without a video folder the rom folders are not worth a word of their own.
    if (inputs.availableRomVideosOnly && !noVideoFolders)
        addWarning(result, missingFoldersWarning(inputs.tokenadeDirPath, folderNames(kRomFolders),
                                                 archives.folderErrors, WarningKind::NoRomFolders,
                                                 "no video is expected"));
    addWarning(result, std::move(noVideoFolders));
    std::vector<std::string> unreadable = std::move(videos.unreadable);
    unreadable.insert(unreadable.end(), archives.unreadable.begin(), archives.unreadable.end());
    addWarning(result, unreadableFoldersWarning(std::move(unreadable)));
    addWarning(result, leftoversWarning(std::move(videos.leftovers)));
    addListWarnings(result, supported);
    takeNames(result, std::move(merged), std::move(videos.folders),
              {&videos.names, &available, &supported.names});
    result.availableOnly = inputs.availableRomVideosOnly;
    return AuditOutcome{inputs, std::move(result), {}, false};
}

}  // namespace tokenade
