#pragma once

#include "core/repair/disk.h"
#include "core/repair/journal_format.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace tokenade {

// Journals name the user's files and folders: only the user may read them,
// from their creation through every rewrite.
inline constexpr mode_t kJournalMode = 0600;

// Where the journals of this user are kept:
// $XDG_STATE_HOME/tokenade-auditor/renames when XDG_STATE_HOME is an absolute
// path, else $HOME/.local/state/tokenade-auditor/renames (the home folder
// taken from the user database when HOME is not absolute). Empty when there
// is no home folder either. Does not create the folder.
std::string renameJournalFolder();

// The same from the given values of XDG_STATE_HOME and HOME (null: unset).
std::string renameJournalFolderFor(const char* stateHome, const char* home);

// A journal open for its records to be appended, through `disk`, which must
// outlive it; `length` is the size of the file. Closed when the object goes.
class JournalFile {
public:
    JournalFile(Disk& disk, std::string path, int fd, uint64_t length)
        : disk_(&disk), path_(std::move(path)), fd_(fd), length_(length)
    {
    }
    JournalFile(JournalFile&& other) noexcept;
    JournalFile& operator=(JournalFile&& other) noexcept;
    ~JournalFile();

    const std::string& path() const { return path_; }
    // Appends `record` in one write (again for what a short write left);
    // "" or why it could not be. After a failure the journal is cut back to
    // its last whole record and takes no more, so that no record runs into a
    // torn one. Does not flush it to the disk.
    std::string append(std::string_view record);
    // Flushes what was appended; "" or why not.
    std::string sync();
    // The same for the records' bytes only (fdatasync), for after each record.
    std::string syncData();

private:
    Disk* disk_;
    std::string path_;
    int fd_ = -1;
    uint64_t length_ = 0;
    bool failed_ = false;  // an append failed: no more are made
};

// A new journal file in `journalFolder` (created with its parents when
// missing), named after the current time in UTC and this process, such as
// "2026-12-06T12-31-03.123Z-4242.renames", so that the names sort by time;
// within one process each journal gets a later name than the one before.
// `text` is written and flushed under a hidden name (".NAME.part"), then the
// file takes its name and the folder is flushed, so that no journal is ever
// seen cut short at its start. An existing file is never replaced. On failure
// `problem` says why and no file is left behind (unless the failure was in
// removing it).
struct NewJournal {
    std::optional<JournalFile> file;
    std::string problem;
};

NewJournal createJournal(Disk& disk, const std::string& journalFolder, std::string_view text);

// The same, closed again, for whoever only needs the path.
struct JournalPath {
    std::string path;
    std::string problem;
};
JournalPath createJournal(const std::string& journalFolder, std::string_view text);

// Opens the journal at `path` to append the records of its undoing, first
// cutting it to its first `length` bytes (JournalRead::length), so that a
// record torn by a batch that was killed is not continued by the next.
std::optional<JournalFile> openJournal(Disk& disk, const std::string& path, uint64_t length, std::string& problem);

// The most a journal may hold: a batch of a million changes fits in it.
inline constexpr uint64_t kLongestJournal = uint64_t{1} << 30;

// Reads and parses the journal at `path` (relative to the working folder
// when not absolute; "" is no path); `problem` names the file and why it
// cannot be used: it is not a regular file (a FIFO, a device), is longer than
// kLongestJournal, cannot be read, or is not a journal (parseJournal).
JournalRead readJournal(const std::string& path, Disk& disk = systemDisk());

// The paths of the journals in `journalFolder`, newest first by the time in
// their names; none when the folder cannot be read.
std::vector<std::string> journalsNewestFirst(const std::string& journalFolder);

// The newest journal in `journalFolder` that holds changes not yet undone
// (hasChangesToUndo), by the time in its name; nothing when there is none.
// Files that are not readable journals are passed over.
std::optional<std::string> latestJournal(const std::string& journalFolder);

// What the window and the command line say of a batch before undoing it:
// "Undo Fill of 6 games (today 14:02)", and the list of its changes.
struct BatchSummary {
    std::string journalPath;
    std::string collection;      // as the journal names it
    std::string setAsideFolder;  // "" when it set nothing aside outside the collection
    ChangeKind kind = ChangeKind::Rename;  // of its changes: Rename, Copy, Link or Move
    std::vector<Change> changes;           // those left to undo, folders made left out, in the order made
    int64_t madeAt = 0;                    // when it began, in seconds since the epoch (UTC)
    bool touchesRoms = false;              // it changed files in a rom folder
    bool touchesVideos = false;            // in a video folder
};

// The newest batch in `journalFolder` with changes left to undo that was
// made on `collection` (compared as real paths), or on any collection when
// `collection` is ""; nothing when there is none. Reads every journal newer
// than the one it finds, passes over those that cannot be read.
std::optional<BatchSummary> newestBatch(const std::string& journalFolder, const std::string& collection = "");

}  // namespace tokenade
