#include "changes.h"

#include "core/foundation/path_join.h"
#include "core/repair/change_plan.h"
#include "core/repair/change_steps.h"
#include "core/repair/collection_area.h"
#include "core/repair/collection_lock.h"
#include "core/repair/leftovers.h"
#include "core/repair/plain_name.h"
#include "core/sources/path_rules.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <set>

namespace tokenade {
namespace {

bool isAbsolute(const std::string& folder)
{
    return !folder.empty() && folder[0] == '/';
}

std::optional<std::string> whyRefused(const Change& change, const CollectionArea& area, const std::string& collection)
{
    for (const std::string* folder : {&change.folder, &change.toFolder}) {
        if (!isAbsolute(*folder))
            return "the folder \"" + *folder + "\" is not an absolute path";
    }

    const size_t longest = longestNameIn(change.toFolder);
    if (const auto why = whyNotAPlainName(change.from, longest))
        return "the present name cannot be used: " + *why;
    if (const auto why = whyNotAPlainName(change.to, longest))
        return "the new name cannot be used: " + *why;
    if (change.folder == change.toFolder && change.from == change.to)
        return "the file already has that name";
    if (!area.admits(change))
        return "it changes a folder outside the collection " + collection;
    return std::nullopt;
}

// The start of names no file of the collection has, for the temporary
// names of one batch (isBatchTemporaryName): hidden, with the time, this
// process and the batch.
std::string temporaryPrefix()
{
    static std::atomic<unsigned> batches{0};
    return std::string(kBatchTemporaryStart) + std::to_string(::time(nullptr)) + "-" + std::to_string(::getpid()) +
           "-" + std::to_string(batches++) + "-";
}

bool needsTemporary(ChangeKind kind)
{
    return kind == ChangeKind::Rename || kind == ChangeKind::Copy || kind == ChangeKind::Move;
}

// The Folder changes that make the folders the files go to, parents first;
// `problem` says why a folder could not be looked at. The changes refused
// are passed over, so only folders inside the collection, and the set-aside
// folder with its missing parents, are made.
std::vector<JournalLine> missingFolders(Disk& disk, const std::vector<JournalLine>& lines, std::string& problem)
{
    std::vector<JournalLine> made;
    std::set<std::string> seen;
    for (const JournalLine& line : lines) {
        std::vector<std::string> chain;
        // A rename stays in its folder: there is nothing to make for it.
        const bool goesElsewhere = line.change.kind != ChangeKind::Rename && line.state == JournalState::Planned;
        for (std::string folder = line.change.toFolder; goesElsewhere && folder != "/" &&
                                                        seen.insert(folder).second;
             folder = parentOf(folder)) {
            int fd = -1;
            const int error = disk.openFolder(folder, fd);
            if (error == 0)
                disk.close(fd);
            if (error != 0 && error != ENOENT)
                problem = "cannot open the folder " + folder + ": " + reasonOf(error);
            if (error != ENOENT)
                break;
            chain.push_back(folder);
        }
        for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder) {
            Change change{ChangeKind::Folder, "", "", parentOf(*folder), nameOf(*folder), {}};
            made.push_back(JournalLine{JournalState::Planned, std::move(change), "", "", {}, {}});
        }
    }
    return made;
}

// The set-aside folder as the journal names it: the highest of the folders
// made for it, so that undo may remove them all.
std::string setAsideRoot(const std::string& setAsideFolder, const std::vector<JournalLine>& folders)
{
    std::string root = setAsideFolder;
    for (const JournalLine& line : folders) {
        const std::string made = joinPath(line.change.toFolder, line.change.to);
        if (!root.empty() && isWithin(root, made))
            root = made;
    }
    return root;
}

// Why the copies do not fit where they go, or "". A copy on the file system
// of its source, where that shares blocks, takes no room of its own.
std::string whyNoRoom(Disk& disk, const std::vector<JournalLine>& lines, uint64_t& bytes)
{
    std::map<std::string, std::vector<const Change*>> copies;
    for (const JournalLine& line : lines) {
        if (line.state == JournalState::Planned && line.change.kind == ChangeKind::Copy)
            copies[line.change.toFolder].push_back(&line.change);
    }
    bytes = 0;
    OpenFolders folders(disk);
    for (const auto& [folder, changes] : copies) {
        std::string existing = folder;
        int error = 0;
        int fd = folders.open(existing, error);
        while (error == ENOENT && existing != "/")
            fd = folders.open(existing = parentOf(existing), error);
        uint64_t free = 0;
        FileAt there;
        bool shares = false;
        if (error != 0 || (error = disk.freeSpace(fd, free)) != 0 || (error = disk.status(fd, there)) != 0 ||
            (error = disk.sharesBlocks(fd, shares)) != 0)
            return "cannot tell the free space in " + folder + ": " + reasonOf(error);
        uint64_t size = 0;
        for (const Change* change : changes) {
            bytes += static_cast<uint64_t>(change->identity.size);
            if (!shares || change->identity.device != there.identity.device)
                size += static_cast<uint64_t>(change->identity.size);
        }
        if (free < size)
            return "not enough space in " + folder + ": the copies take " + std::to_string(size) + " bytes and " +
                   std::to_string(free) + " are free";
    }
    return "";
}

ChangeResult resultOf(JournalState state)
{
    switch (state) {
    case JournalState::Made: return ChangeResult::Made;
    case JournalState::Refused: return ChangeResult::Refused;
    default: return ChangeResult::Skipped;
    }
}

}  // namespace

bool ChangeBatch::complete() const
{
    if (!notStarted.empty() || !stopped.empty())
        return false;
    for (const ChangeOutcome& outcome : outcomes) {
        if (outcome.result != ChangeResult::Made && outcome.result != ChangeResult::DoneBefore)
            return false;
    }
    return true;
}

ChangeBatch applyChanges(const std::vector<Change>& changes, const ChangeOptions& options)
{
    Disk& disk = options.disk ? *options.disk : systemDisk();
    ChangeBatch batch;
    LockAttempt lock = lockCollection(disk, options.journalFolder, options.collection);
    if (!lock.lock) {
        batch.notStarted = lock.problem + "; nothing was changed";
        batch.heldBy = lock.heldBy;
        return batch;
    }

    removeLeftovers(disk, options.journalFolder, options.collection);
    const CollectionArea area(resolvedPath(options.collection).value_or(options.collection), options.setAsideFolder);
    std::vector<JournalLine> lines;
    for (const Change& change : changes) {
        const auto why = whyRefused(change, area, options.collection);
        lines.push_back(JournalLine{why ? JournalState::Refused : JournalState::Planned, change, why.value_or(""), "",
                                    {}, {}});
    }
    std::string why;
    std::vector<JournalLine> folders = missingFolders(disk, lines, why);
    const std::string setAside = setAsideRoot(options.setAsideFolder, folders);
    lines.insert(lines.begin(), folders.begin(), folders.end());
    ChangeProgress progress;
    if (why.empty())
        why = whyNoRoom(disk, lines, progress.bytes);
    if (!why.empty()) {
        batch.notStarted = why + "; nothing was changed";
        return batch;
    }
    const std::string temporary = temporaryPrefix();
    std::string text = journalHeader(options.collection, setAside);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (needsTemporary(lines[i].change.kind) && lines[i].state == JournalState::Planned)
            lines[i].temporary = temporary + std::to_string(i + 1) + std::string(kBatchTemporaryEnd);
        text += journalRecord(i + 1, lines[i]);
        progress.files += lines[i].state == JournalState::Planned;
    }
    NewJournal journal = createJournal(disk, options.journalFolder, text);
    if (!journal.file) {
        batch.notStarted = journal.problem + "; nothing was changed";
        return batch;
    }
    batch.journalPath = journal.file->path();

    OpenFolders open(disk);
    StepContext context{disk, open, &*journal.file, options, progress, ""};
    for (size_t i = 0; i < lines.size() && batch.stopped.empty(); ++i) {
        if (lines[i].state != JournalState::Planned)
            continue;
        if (options.stop.stop_requested()) {
            batch.stopped = "stopped on request";
            break;
        }
        const StepResult result = makeChange(context, i + 1, lines[i]);
        if (result.stopsBatch)
            batch.stopped = result.failure;
        ++context.progress.filesDone;
        if (options.progress)
            options.progress(context.progress);
    }
    // Flushed whatever stopped the batch; the first reason stands.
    const std::string unsynced = journal.file->sync();
    if (batch.stopped.empty())
        batch.stopped = unsynced;

    for (const JournalLine& line : lines) {
        const bool reached = line.state != JournalState::Planned;
        batch.outcomes.push_back(ChangeOutcome{line.change, resultOf(line.state),
                                               reached ? line.note : "not reached: " + batch.stopped});
    }
    return batch;
}

}  // namespace tokenade
