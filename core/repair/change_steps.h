#pragma once

#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/repair/journal_format.h"
#include "core/repair/open_folders.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace tokenade {

// What the steps of one batch share: the disk, the folders open so far, the
// journal the records go to, and the progress. Lives for one batch; the
// journal may be absent for a version 1 journal being undone (rewritten
// whole at the end instead).
struct StepContext {
    Disk& disk;
    OpenFolders& folders;
    JournalFile* journal;
    const ChangeOptions& options;
    ChangeProgress progress;
    std::string stopped;  // set by a step whose journal record failed: the batch stops
    // Per file (device, inode) this batch linked, its ctime after the link,
    // nothing where it could not be looked at: a link changes the ctime of
    // its file, which is then no sign that someone else wrote it before a
    // later change of the same file.
    std::map<std::pair<uint64_t, uint64_t>, std::optional<std::pair<int64_t, int64_t>>> linkedTimes = {};
};

// The record that announces a placeholder before it is made: `line`, of
// `step`, goes into `state` (placing, or returning while undoing).
struct Announce {
    size_t step;
    JournalLine* line;
    JournalState state;
};

// How a step ended: "" made, else why not. `stopsBatch`: no further step
// may run (the disk is full, the journal cannot be written).
struct StepResult {
    std::string failure;
    bool stopsBatch = false;

    static StepResult made() { return {}; }
    static StepResult failed(std::string why, bool stops = false) { return {std::move(why), stops}; }
};

// Appends `line`'s record for `step`, flushed to the disk when it says that
// a change was made; a failure stops the batch.
StepResult record(StepContext& context, size_t step, const JournalLine& line);

// The descriptor of `folder`, or -1 with `result` saying why.
int openFolderFor(StepContext& context, const std::string& folder, StepResult& result);

// Renames `from` (in `fromFd`) to `to` (in `toFd`), never replacing: the
// no-replace rename, else (EINVAL, ENOSYS) a hard link and an unlink of the
// old name, else (no links either) a rename over an empty placeholder made
// exclusively under `to`, announced first through `announce` when given. A
// case-only rename, or one that the file system refuses because it folds
// case, goes through `temporary` (in `toFd`). 0 or the errno; EIO with
// `context.stopped` set when the announcement could not be recorded.
int renameSafely(StepContext& context, int fromFd, const std::string& from, int toFd, const std::string& to,
                 const std::string& temporary, const Announce* announce = nullptr);

// Copies the regular file `from` in `fromFd`, which must still be
// `identity` (size and mtime too), into a new file `temporary` in `toFd`:
// a reflink where it can, else its bytes; flushed; and checked that the
// source did not change meanwhile. On success `made` is the copy (with its
// mtime); on
// failure nothing is left under `temporary` (but for a failed removal).
StepResult copyToTemporary(StepContext& context, int fromFd, const std::string& from, const FileIdentity& identity,
                           int toFd, const std::string& temporary, FileIdentity& made);

// Removes `name` in `fd` when it is still `file` (sameCopy); 0
// when removed or already gone, else the errno (EEXIST: another file).
int removeIfStill(StepContext& context, int fd, const std::string& name, const FileIdentity& file);

// Applies one change of a batch, recording its progress under `step`.
StepResult makeChange(StepContext& context, size_t step, JournalLine& line);

// The words for an errno, ours for the few that say too little here.
std::string reasonOf(int error);

}  // namespace tokenade
