#include "fill_plan.h"

#include "core/audit/name_differences.h"
#include "core/audit/near_key.h"
#include "core/audit/near_key_hash.h"
#include "core/foundation/folder_walk.h"
#include "core/foundation/unicode_key.h"
#include "core/repair/content_offers.h"
#include "core/repair/open_folders.h"
#include "core/repair/plain_name.h"
#include "core/repair/plan_lookups.h"
#include "core/repair/set_fills.h"
#include "core/repair/spaced_names.h"
#include "core/sources/folder_scan.h"
#include "core/sources/path_rules.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>

namespace tokenade {
namespace {

struct SourceFile {
    std::string parent;  // below the source folder
    std::string name;
    uint64_t nearHash = 0;
};

// Why the source cannot be filled from, or "".
std::string whySourceRefused(const std::string& source, const std::string& directory,
                             const std::vector<std::string>& folderSet)
{
    if (isWithin(source, directory))
        return "the source folder " + source + " is inside the Tokenade directory: it would fill the collection from "
               "itself";
    if (isWithin(directory, source))
        return "the source folder " + source + " holds the Tokenade directory: it would fill the collection from itself";
    for (const std::string& folder : folderSet) {
        const auto real = resolvedPath(joinPath(directory, folder));
        if (real && (isWithin(source, *real) || isWithin(*real, source)))
            return "the source folder " + source + " is the collection's folder " + folder + ": it would fill the "
                   "collection from itself";
    }
    return "";
}

std::vector<SourceFile> filesBelow(const std::string& source, std::string_view extension, std::stop_token stop,
                                   std::vector<FolderFailure>& failures)
{
    const unsigned threads = walkThreads();
    std::vector<std::vector<SourceFile>> found(threads);
    failures = walkFoldersInParallel(
        {source}, threads,
        [&](unsigned thread, const WalkEntry& entry) {
            if (entry.type == EntryType::Regular && hasExtension(entry.name, extension))
                found[thread].push_back({std::string(entry.parent), std::string(entry.name),
                                         nearKeyHash(entry.name, extension)});
        },
        stop);
    std::vector<SourceFile> files;
    for (auto& part : found)
        files.insert(files.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    // The same folder always gives the same plan, whatever order the threads took.
    std::sort(files.begin(), files.end(),
              [](const SourceFile& a, const SourceFile& b) { return std::tie(a.parent, a.name) < std::tie(b.parent, b.name); });
    return files;
}

// Missing names by near-key hash, those a near miss mends left out: a near
// miss that content belies (`belied`, per pair) mends nothing.
std::multimap<uint64_t, const ResultEntry*> missingByHash(const AuditResult& result, std::string_view extension,
                                                          const std::vector<std::string>& belied)
{
    std::set<const ResultEntry*> mended;
    for (size_t i = 0; i < result.nearMisses.pairs.size(); ++i) {
        if (belied[i].empty())
            mended.insert(result.nearMisses.pairs[i].expected);
    }
    std::multimap<uint64_t, const ResultEntry*> missing;
    for (const ResultEntry& entry : result.list(CategoryId::Missing)) {
        if (!mended.count(&entry))
            missing.emplace(nearKeyHash(entry.name(), extension), &entry);
    }
    return missing;
}

struct Match {
    const SourceFile* file = nullptr;
    bool exact = false;
};

// A name offer whose archive's content is another game, or part of one, is
// listed but never made: by name first, but never a decoy.
void judgeByContent(const SourceByContent& source, uint32_t line, OfferedChange& item, size_t index, ReadArchives& read)
{
    if (std::string why = source.whyDecoy(line, item.shownSource); !why.empty()) {
        item.refusal = std::move(why);
        item.tickedByDefault = false;
    }
    if (const FoundArchive* archive = source.archiveAt(item.shownSource))
        read.emplace_back(index, archive);
}

uint64_t freeSpaceAt(std::string folder)
{
    struct statvfs space {};
    while (::statvfs(folder.c_str(), &space) != 0 && folder != "/")
        folder = parentOf(folder);
    return static_cast<uint64_t>(space.f_bavail) * space.f_frsize;
}

// The file system that holds `folder`, or would once it is made; 0 when unknown.
dev_t deviceAt(std::string folder)
{
    struct stat status {};
    while (::stat(folder.c_str(), &status) != 0) {
        if (folder == "/")
            return 0;
        folder = parentOf(folder);
    }
    return status.st_dev;
}

// A hard link cannot join two file systems: known now by the devices,
// instead of from each link failing when the batch is made.
void refuseLinksAcrossFileSystems(std::vector<OfferedChange>& items, const std::string& target)
{
    const dev_t targetDevice = deviceAt(target);
    for (OfferedChange& item : items) {
        if (item.change.kind != ChangeKind::Link || !item.refusal.empty() || targetDevice == 0)
            continue;
        const dev_t sourceDevice = deviceAt(item.change.folder);
        if (sourceDevice != 0 && sourceDevice != targetDevice)
            item.refusal = "a hard link cannot reach another file system; copy it instead (without --link)";
    }
}

// The real paths of a fill, or why it cannot be made at all.
struct FillPaths {
    std::string problem;
    std::string source;
    std::string target;
};

FillPaths resolveFill(const AuditResult& result, const FillRequest& request)
{
    const bool roms = result.kind == AuditKind::Roms;
    const std::vector<std::string> folderSet = folderNames(roms ? kRomFolders : kVideoFolders);
    const std::string target = request.targetFolder.empty() ? folderSet.front() : request.targetFolder;
    const std::string top = target.substr(0, target.find('/'));
    const bool plainBelow = target.find("/./") == std::string::npos && target.find("/../") == std::string::npos &&
                            !target.ends_with("/..") && !target.ends_with("/.");
    if (std::find(folderSet.begin(), folderSet.end(), top) == folderSet.end() || !plainBelow)
        return {"\"" + target + "\" is not one of the folders " + std::string(roms ? kRomFolders : kVideoFolders) +
                    " nor a folder below one",
                {}, {}};
    const auto directory = resolvedPath(request.directory);
    const auto source = resolvedPath(request.source);
    const auto targetPath = directory ? resolvedPath(joinPath(*directory, target)) : std::nullopt;
    if (!directory || !source || !targetPath)
        return {"cannot resolve the paths of " + request.directory + " and " + request.source, {}, {}};
    std::vector<std::string> bothSets = folderSet;
    for (const std::string& folder : folderNames(roms ? kVideoFolders : kRomFolders))
        bothSets.push_back(folder);
    return {whySourceRefused(*source, *directory, bothSets), *source, *targetPath};
}

}  // namespace

std::string whyFillRefused(const AuditResult& result, const FillRequest& request)
{
    return resolveFill(result, request).problem;
}

ChangePlan planFill(const AuditResult& result, const FillRequest& request, std::stop_token stop,
                    const ContentFindings* content)
{
    ChangePlan plan;
    const bool roms = result.kind == AuditKind::Roms;
    const std::string_view extension = roms ? kRomExtension : kVideoExtension;
    const FillPaths paths = resolveFill(result, request);
    if (plan.problem = paths.problem; !plan.problem.empty())
        return plan;

    std::vector<FolderFailure> failures;
    const std::vector<SourceFile> files = filesBelow(paths.source, extension, stop, failures);
    for (const FolderFailure& failure : failures) {
        if (failure.relative.empty()) {
            plan.problem = "cannot read the source folder " + paths.source + ": " + std::strerror(failure.error);
            return plan;
        }
    }
    std::vector<std::string> belied(result.nearMisses.pairs.size());
    if (content && roms)
        belied = beliedNearMisses(*content, result);
    const auto missing = missingByHash(result, extension, belied);

    // Per missing name, its match; per near key, how many names and files share it.
    std::map<const ResultEntry*, Match> matches;
    std::map<std::string, std::pair<size_t, size_t>> sharing;
    std::set<const ResultEntry*> counted;
    for (const SourceFile& file : files) {
        const auto [begin, end] = missing.equal_range(file.nearHash);
        if (begin == end)
            continue;
        const std::string fileKey = unicodeKey(file.name);
        const std::string fileNear = nearKey(file.name, extension);
        bool sharesNearKey = false;
        for (auto at = begin; at != end; ++at) {
            const ResultEntry* name = at->second;
            if (nearKey(name->name(), extension) != fileNear)
                continue;  // only the hashes collide
            sharesNearKey = true;
            if (counted.insert(name).second)
                ++sharing[fileNear].first;
            Match& match = matches[name];
            const bool exact = unicodeKey(name->name()) == fileKey;
            const bool better = exact && (!match.exact || (file.name == name->name() && match.file->name != name->name()));
            if (!match.file || better)
                match = Match{&file, exact};
        }
        if (sharesNearKey)
            ++sharing[fileNear].second;
    }

    std::optional<SourceByContent> bySource;
    std::vector<bool> mended;
    if (content && content->source && roms) {
        bySource.emplace(*content, fillForms(*content));
        mended = linesMendedByContent(*content, result, belied);
    }
    ReadArchives read;  // what content was judged on
    for (const auto& [name, match] : matches) {
        const auto& [names, sources] = sharing[nearKey(name->name(), extension)];
        if (!match.exact && (names != 1 || sources != 1))
            continue;
        const uint32_t line = bySource ? content->basis.lines->lineNamed(name->name()) : kNoLine;
        if (line != kNoLine && mended[line])
            continue;  // an archive of the collection holds it: left to the rename by content
        const SourceFile& file = *match.file;
        const std::string folder = file.parent.empty() ? paths.source : joinPath(paths.source, file.parent);
        OfferedChange item;
        item.kind = OfferKind::Fill;
        item.expected = std::string(name->name());
        item.differences = differencesBetween(item.expected, file.name, extension).bits;
        item.shownSource = joinPath(file.parent, file.name);
        item.change = Change{request.link ? ChangeKind::Link : ChangeKind::Copy, folder, file.name, paths.target,
                             item.expected, FileIdentity{}};
        if (const auto why = whyNotAPlainName(item.expected, NAME_MAX))
            item.refusal = "the expected name cannot be a file name: " + *why;
        item.caution = spacedNameCaution(result, item.expected);
        item.tickedByDefault = item.caution.empty();
        if (line != kNoLine)
            judgeByContent(*bySource, line, item, plan.items.size(), read);
        plan.items.push_back(std::move(item));
    }
    if (bySource) {
        const auto byContent = addContentFills(plan, result, *bySource, mended, belied, paths.source, paths.target,
                                               request.link ? ChangeKind::Link : ChangeKind::Copy);
        read.insert(read.end(), byContent.begin(), byContent.end());
        const auto needed = addSetNeedFills(plan, *bySource, paths.source, paths.target,
                                            request.link ? ChangeKind::Link : ChangeKind::Copy);
        read.insert(read.end(), needed.begin(), needed.end());
    }
    takeIdentities(plan.items);
    refuseChangedSinceRead(plan.items, read);
    refuseLinksAcrossFileSystems(plan.items, paths.target);
    // In the order of the missing names, as the audit lists them; a name's
    // offer by name before its offer by content.
    std::stable_sort(plan.items.begin(), plan.items.end(),
                     [](const OfferedChange& a, const OfferedChange& b) { return a.expected < b.expected; });
    plan.freeSpace = freeSpaceAt(paths.target);
    return plan;
}

}  // namespace tokenade
