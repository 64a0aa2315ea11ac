#include "batch_notice.h"

#include "core/foundation/grouped_count.h"
#include "core/repair/changes.h"
#include "core/repair/journal_files.h"
#include "core/sources/path_rules.h"

#include <cctype>
#include <ctime>

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
    const char* staysOne;   // what a batch stopped short leaves of the one file it changed
    const char* staysMany;  // of several: "N " goes before it
};

Words wordsFor(BatchKind kind)
{
    switch (kind) {
    case BatchKind::Renames:
        return {"Renamed ", " could not be renamed:", "the renamed one keeps its name (Undo renames it back)",
                "renamed keep their names (Undo renames them back)"};
    case BatchKind::Fill:
        return {"Copied ", " could not be copied:", "the copied one stays (Undo removes it)",
                "copied stay (Undo removes them)"};
    case BatchKind::SetAside:
        return {"Set aside ", " could not be set aside:", "the one set aside stays there (Undo moves it back)",
                "set aside stay there (Undo moves them back)"};
    case BatchKind::Undo: break;
    }
    return {"", " could not be put back:", "the one put back stays", "put back stay"};
}

std::string counted(size_t count, const char* one, const char* many)
{
    return groupedCount(count) + " " + (count == 1 ? one : many);
}

// What an undo did, per kind of change: "Removed 6 copies, moved 2 files back".
std::string undoneText(const ChangeBatch& batch)
{
    size_t copies = 0, links = 0, moved = 0, renamed = 0;
    for (const ChangeOutcome& outcome : batch.outcomes) {
        if (outcome.result != ChangeResult::Made)
            continue;
        switch (outcome.change.kind) {
        case ChangeKind::Copy: ++copies; break;
        case ChangeKind::Link: ++links; break;
        case ChangeKind::Move: ++moved; break;
        case ChangeKind::Rename: ++renamed; break;
        case ChangeKind::Folder: break;
        }
    }
    std::string text;
    const auto add = [&](size_t count, const std::string& what) {
        if (count != 0)
            text += (text.empty() ? "" : ", ") + what;
    };
    add(copies, "removed " + counted(copies, "copy", "copies"));
    add(links, "removed " + counted(links, "link", "links"));
    add(moved, "moved " + counted(moved, "file", "files") + " back");
    add(renamed, "renamed " + counted(renamed, "file", "files") + " back");
    if (text.empty())
        text = "undid nothing";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// "Cancelled after 1 of 6 files; the copied one stays (Undo removes it)."
std::string stoppedText(const Words& words, const ChangeBatch& batch, size_t made, size_t all, bool cancelled)
{
    std::string text = cancelled ? "Cancelled" : "Stopped (" + batch.stopped + ")";
    if (made == 0)
        return text + " before the first of " + files(all) + "; nothing was changed.";
    text += " after " + groupedCount(made) + " of " + files(all) + "; ";
    return text + (made == 1 ? std::string(words.staysOne) : "the " + groupedCount(made) + " " + words.staysMany) + ".";
}

}  // namespace

bool wasNotReached(const ChangeBatch& batch, const ChangeOutcome& outcome)
{
    return !batch.stopped.empty() && outcome.result == ChangeResult::Skipped &&
           outcome.reason == "not reached: " + batch.stopped;
}

AuditSession::Notice batchNotice(BatchKind kind, const ChangeBatch& batch, bool cancelled)
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
    size_t all = 0;
    for (const ChangeOutcome& outcome : batch.outcomes) {
        // A folder made for the files is no file of the user's; a folder that
        // could not be made leaves its files skipped, and they are named.
        if (outcome.change.kind == ChangeKind::Folder)
            continue;
        ++all;
        if (outcome.result == ChangeResult::Made)
            ++made;
        else if (outcome.result == ChangeResult::DoneBefore)
            ++before;
        else if (!wasNotReached(batch, outcome))
            notice.examples.push_back(quoted(outcome.change.from) + ": " + outcome.reason);
    }
    notice.text = !batch.stopped.empty() ? stoppedText(words, batch, made, all, cancelled)
                                         : (undo ? undoneText(batch) : words.done + files(made)) + journal + ".";
    if (before != 0)
        notice.text += " " + files(before) + (before == 1 ? " was" : " were") + " back already.";
    if (!notice.examples.empty())
        notice.text +=
            " " + files(notice.examples.size()) + words.failed;
    if (!batch.notRecorded.empty())
        notice.examples.push_back("The journal was not updated: " + batch.notRecorded);
    return notice;
}

std::string undoCommandText(const BatchSummary& batch, int64_t now)
{
    const bool fill = batch.kind == ChangeKind::Copy || batch.kind == ChangeKind::Link;
    const char* what = fill ? "Fill" : batch.kind == ChangeKind::Move ? "Set Aside" : "Renames";
    const size_t count = batch.changes.size();
    const std::string changed = fill ? counted(count, "game", "games") : files(count);
    tm made{};
    tm today{};
    const time_t madeAt = static_cast<time_t>(batch.madeAt);
    const time_t nowAt = static_cast<time_t>(now);
    ::localtime_r(&madeAt, &made);
    ::localtime_r(&nowAt, &today);
    tm yesterday = today;
    --yesterday.tm_mday;
    ::mktime(&yesterday);  // brings the day before the 1st into the month before
    char when[32];
    const auto sameDay = [&](const tm& day) { return day.tm_year == made.tm_year && day.tm_yday == made.tm_yday; };
    std::strftime(when, sizeof when, sameDay(today) ? "today %H:%M" : sameDay(yesterday) ? "yesterday %H:%M" : "%Y-%m-%d %H:%M",
                  &made);
    return "Undo " + std::string(what) + " of " + changed + " (" + when + ")";
}

}  // namespace tokenade
