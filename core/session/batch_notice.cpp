#include "batch_notice.h"

#include "core/foundation/grouped_count.h"
#include "core/repair/changes.h"
#include "core/sources/path_rules.h"

#include <cctype>

namespace tokenade {
namespace {

std::string files(size_t count)
{
    return groupedCount(count) + (count == 1 ? " file" : " files");
}

std::string quoted(std::string_view name)
{
    return "\u201C" + std::string(name) + "\u201D";
}

struct Words {
    const char* done;
    const char* failed;
};

Words wordsFor(BatchKind kind)
{
    switch (kind) {
    case BatchKind::Renames: return {"Renamed ", " could not be renamed:"};
    case BatchKind::Fill: return {"Copied ", " could not be copied:"};
    case BatchKind::SetAside: return {"Set aside ", " could not be set aside:"};
    case BatchKind::Undo: break;
    }
    return {"Put back ", " could not be put back:"};
}

}  // namespace

AuditSession::Notice batchNotice(BatchKind kind, const ChangeBatch& batch)
{
    const bool undo = kind == BatchKind::Undo;
    const Words words = wordsFor(kind);
    // The journal a user would look for to undo the undo by hand, or to read.
    const std::string journal =
        undo && !batch.journalPath.empty() ? " (journal " + std::string(lastPathComponent(batch.journalPath)) + ")"
                                           : std::string();
    AuditSession::Notice notice;
    if (!batch.notStarted.empty()) {
        // It says what stood in the way and that nothing changed.
        notice.text = batch.notStarted + ".";
        notice.text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(notice.text[0])));
        return notice;
    }
    size_t made = 0;
    size_t before = 0;
    for (const ChangeOutcome& outcome : batch.outcomes) {
        // A folder made for the files is no file of the user's; a folder that
        // could not be made leaves its files skipped, and they are named.
        if (outcome.change.kind == ChangeKind::Folder)
            continue;
        if (outcome.result == ChangeResult::Made)
            ++made;
        else if (outcome.result == ChangeResult::DoneBefore)
            ++before;
        else
            notice.examples.push_back(quoted(outcome.change.from) + ": " + outcome.reason);
    }
    notice.text = words.done + files(made) + journal + ".";
    if (before != 0)
        notice.text += " " + files(before) + (before == 1 ? " was" : " were") + " back already.";
    if (!notice.examples.empty())
        notice.text +=
            " " + files(notice.examples.size()) + words.failed;
    if (!batch.stopped.empty())
        notice.examples.push_back("Stopped before the end: " + batch.stopped);
    if (!batch.notRecorded.empty())
        notice.examples.push_back("The journal was not updated: " + batch.notRecorded);
    return notice;
}

}  // namespace tokenade
