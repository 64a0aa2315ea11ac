#include "leftovers.h"

#include "core/repair/change_plan.h"
#include "core/repair/collection_area.h"
#include "core/repair/journal_files.h"
#include "core/repair/open_folders.h"

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace tokenade {
namespace {

constexpr std::string_view kPartialJournal = ".renames.part";

// ".2026-12-06T12-31-03.123Z-4242.renames.part": whether process 4242 is gone.
bool writerIsGone(const std::string& name)
{
    const size_t dash = name.rfind('-');
    int process = 0;
    if (dash == std::string::npos || std::sscanf(name.c_str() + dash + 1, "%d", &process) != 1)
        return false;
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

void removePartialJournals(Disk& disk, const std::string& journalFolder)
{
    OpenFolders folders(disk);
    int error = 0;
    const int folder = folders.open(journalFolder, error);
    std::error_code walk;
    for (std::filesystem::directory_iterator entry(journalFolder, walk), end; error == 0 && !walk && entry != end;
         entry.increment(walk)) {
        const std::string name = entry->path().filename().string();
        if (name.front() == '.' && name.ends_with(kPartialJournal) && writerIsGone(name))
            disk.unlink(folder, name);
    }
}

// A regular file under `name` in `folder`: removed.
void removeCopy(Disk& disk, OpenFolders& folders, const std::string& folder, const std::string& name)
{
    int error = 0;
    const int fd = folders.open(folder, error);
    FileAt found;
    if (fd >= 0 && disk.statusIn(fd, name, found) == 0 && found.regular)
        disk.unlink(fd, name);
}

}  // namespace

void removeLeftovers(Disk& disk, const std::string& journalFolder, const std::string& collection)
{
    removePartialJournals(disk, journalFolder);
    const std::string real = resolvedPath(collection).value_or(collection);
    OpenFolders folders(disk);
    for (const std::string& path : journalsNewestFirst(journalFolder)) {
        const JournalRead journal = readJournal(path, disk);
        if (journal.collection != real)
            continue;
        const CollectionArea area(journal.collection, journal.setAsideFolder);
        for (const JournalLine& line : journal.lines) {
            const Change& change = line.change;
            // A rename's temporary name may hold the user's file itself, halfway through a case-only rename.
            if (line.temporary.empty() || (change.kind != ChangeKind::Copy && change.kind != ChangeKind::Move) ||
                !area.admits(change))
                continue;
            removeCopy(disk, folders, change.toFolder, line.temporary);
            if (change.kind == ChangeKind::Move)  // undo's copy back of a move across file systems
                removeCopy(disk, folders, change.folder, line.temporary);
        }
    }
}

}  // namespace tokenade
