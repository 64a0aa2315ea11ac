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

}  // namespace

AuditSession::Notice batchNotice(BatchKind kind, const ChangeBatch& batch)
{
    const bool undo = kind == BatchKind::Undo;
    const std::string done = undo ? "Put back " : "Renamed ";
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
        if (outcome.result == ChangeResult::Made)
            ++made;
        else if (outcome.result == ChangeResult::DoneBefore)
            ++before;
        else
            notice.examples.push_back(quoted(outcome.change.from) + ": " + outcome.reason);
    }
    notice.text = done + files(made) + journal + ".";
    if (before != 0)
        notice.text += " " + files(before) + (before == 1 ? " was" : " were") + " back already.";
    if (!notice.examples.empty())
        notice.text +=
            " " + files(notice.examples.size()) + (undo ? " could not be put back:" : " could not be renamed:");
    if (!batch.stopped.empty())
        notice.examples.push_back("Stopped before the end: " + batch.stopped);
    if (!batch.notRecorded.empty())
        notice.examples.push_back("The journal was not updated: " + batch.notRecorded);
    return notice;
}

}  // namespace tokenade
