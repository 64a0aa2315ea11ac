#include "renames.h"

#include "core/foundation/atomic_write.h"
#include "core/foundation/folder_reader.h"
#include "core/foundation/rename_no_replace.h"
#include "core/repair/journal_files.h"
#include "core/repair/plain_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace tokenade {
namespace {

// The folder of the renames at hand, opened once for as many renames in a
// row as it holds, and never through a link.
class FolderAtHand {
public:
    FolderAtHand() = default;
    ~FolderAtHand() { close(); }
    FolderAtHand(const FolderAtHand&) = delete;
    FolderAtHand& operator=(const FolderAtHand&) = delete;

    // The descriptor of `folder`, or -1 with `problem` telling why.
    int open(const std::string& folder, std::string& problem)
    {
        if (folder != path_ || fd_ < 0) {
            close();
            path_ = folder;
            fd_ = openFolder(folder, false);
            error_ = fd_ < 0 ? errno : 0;
        }
        if (fd_ < 0)
            problem = isLink(folder) ? "the folder is a symbolic link" : std::strerror(error_);
        return fd_;
    }

private:
    // Refused links fail with ENOTDIR or ELOOP, which say nothing of a link.
    static bool isLink(const std::string& folder)
    {
        struct stat info {};
        return ::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};

std::optional<std::string> whyRefused(const Rename& rename)
{
    if (rename.folder.empty() || rename.folder[0] != '/')
        return "the folder \"" + rename.folder + "\" is not an absolute path";
    const size_t longest = longestNameIn(rename.folder);
    if (const auto why = whyNotAPlainName(rename.from, longest))
        return "the present name cannot be used: " + *why;
    if (const auto why = whyNotAPlainName(rename.to, longest))
        return "the new name cannot be used: " + *why;
    if (rename.from == rename.to)
        return "the file already has that name";
    return std::nullopt;
}

// Empty when renamed, else why not.
std::string renameOne(FolderAtHand& folders, const Rename& rename)
{
    std::string problem;
    const int fd = folders.open(rename.folder, problem);
    if (fd < 0)
        return problem;
    const FileAt present = fileAt(fd, rename.from);
    if (present.error == ENOENT)
        return "the file is no longer there";
    if (present.error != 0)
        return std::strerror(present.error);
    if (!present.regular)
        return "the name is no longer that of a regular file";
    if (!present.identity.sameFile(rename.identity))
        return "another file has that name now";
    if (present.identity != rename.identity)
        return "the file changed since the renames were planned";
    const int error = renameNoReplace(fd, rename.from, rename.to);
    return error == 0 ? std::string() : std::strerror(error);
}

bool isFile(const FileAt& found, const FileIdentity& identity)
{
    return found.error == 0 && found.regular && found.identity.sameFile(identity);
}

Rename reversed(const Rename& rename)
{
    return Rename{rename.folder, rename.to, rename.from, rename.identity};
}

// Undoes one line that was made, or may have been (planned), updating its
// state; nothing when there was no rename to undo.
std::optional<RenameOutcome> undoOne(FolderAtHand& folders, JournalLine& line)
{
    const Rename& rename = line.rename;
    RenameOutcome outcome{reversed(rename), RenameResult::Skipped, ""};
    const int fd = folders.open(rename.folder, outcome.reason);
    if (fd < 0)
        return outcome;
    const FileAt renamed = fileAt(fd, rename.to);
    const FileAt original = fileAt(fd, rename.from);
    const bool wasMade = line.state == JournalState::Made;

    if (isFile(renamed, rename.identity)) {
        const int error = renameNoReplace(fd, rename.to, rename.from);
        outcome.result = error == 0 ? RenameResult::Made : RenameResult::Skipped;
        outcome.reason = error == 0 ? "" : std::strerror(error);
        line.state = error == 0 ? JournalState::Undone : JournalState::Made;
        line.note = error == 0 ? "" : "not undone: " + outcome.reason;
        return outcome;
    }
    if (isFile(original, rename.identity)) {
        // Back under its old name: undone before, or, for a batch cut short,
        // never renamed at all.
        line.state = wasMade ? JournalState::Undone : JournalState::Skipped;
        line.note = wasMade ? "" : "not renamed: the batch was cut short";
        if (!wasMade)
            return std::nullopt;
        outcome.result = RenameResult::DoneBefore;
        return outcome;
    }
    outcome.reason = renamed.error == ENOENT ? "the file is no longer there"
                     : renamed.error != 0    ? std::strerror(renamed.error)
                                             : "another file has that name now";
    if (wasMade)
        line.note = "not undone: " + outcome.reason;
    return outcome;
}

}  // namespace

RenameBatch applyRenames(const std::vector<Rename>& plan, const std::string& journalFolder)
{
    std::vector<JournalLine> lines;
    lines.reserve(plan.size());
    for (const Rename& rename : plan) {
        const auto why = whyRefused(rename);
        lines.push_back(JournalLine{why ? JournalState::Refused : JournalState::Planned, rename, why.value_or("")});
    }

    RenameBatch batch;
    const NewJournal journal = createJournal(journalFolder, journalText(lines));
    if (!journal.problem.empty()) {
        batch.notStarted = journal.problem + "; nothing was renamed";
        return batch;
    }
    batch.journalPath = journal.path;

    FolderAtHand folders;
    for (JournalLine& line : lines) {
        if (line.state != JournalState::Planned)
            continue;
        line.note = renameOne(folders, line.rename);
        line.state = line.note.empty() ? JournalState::Made : JournalState::Skipped;
    }

    for (const JournalLine& line : lines) {
        const RenameResult result = line.state == JournalState::Made      ? RenameResult::Made
                                    : line.state == JournalState::Refused ? RenameResult::Refused
                                                                          : RenameResult::Skipped;
        batch.outcomes.push_back(RenameOutcome{line.rename, result, line.note});
    }
    if (const auto failure = writeFileAtomically(batch.journalPath, journalText(lines), kJournalMode))
        batch.notRecorded = "cannot record the renames in the journal " + failure->path + ": " + failure->reason;
    return batch;
}

RenameBatch undoRenames(const std::string& journalPath)
{
    RenameBatch batch;
    JournalRead journal = readJournal(journalPath);
    if (!journal.problem.empty()) {
        batch.notStarted = journal.problem + "; nothing was undone";
        return batch;
    }
    batch.journalPath = journalPath;

    // Last first: when a batch freed a name and then gave it to another file
    // (x to y, then z to x), x must go back to z before y can become x again.
    std::vector<std::optional<RenameOutcome>> outcomes(journal.lines.size());
    const std::vector<JournalLine> before = journal.lines;
    FolderAtHand folders;
    for (size_t i = journal.lines.size(); i-- > 0;) {
        JournalLine& line = journal.lines[i];
        if (line.state == JournalState::Undone)
            outcomes[i] = RenameOutcome{reversed(line.rename), RenameResult::DoneBefore, ""};
        else if (line.state == JournalState::Made || line.state == JournalState::Planned)
            outcomes[i] = undoOne(folders, line);
    }
    for (auto& outcome : outcomes) {
        if (outcome)
            batch.outcomes.push_back(std::move(*outcome));
    }
    if (journal.lines == before)
        return batch;
    if (const auto failure = writeFileAtomically(journalPath, journalText(journal.lines), kJournalMode))
        batch.notRecorded = "cannot record the undo in the journal " + failure->path + ": " + failure->reason;
    return batch;
}

}  // namespace tokenade
