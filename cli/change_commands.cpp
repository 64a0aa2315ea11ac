#include "change_commands.h"

#include "cli/identify_command.h"
#include "cli/near_miss_output.h"
#include "cli/terminal_text.h"
#include "core/audit/name_differences.h"
#include "core/repair/change_plan.h"
#include "core/repair/changes.h"
#include "core/repair/collection_area.h"
#include "core/repair/content_offers.h"
#include "core/repair/fill_plan.h"
#include "core/repair/journal_files.h"
#include "core/repair/rename_offers.h"
#include "core/repair/set_aside_plan.h"
#include "core/sources/path_rules.h"

#include <cstdio>
#include <set>

namespace tokenade::cli {
namespace {

void print(const std::string& text)
{
    printOut(text);
}

std::string described(const Change& change)
{
    if (change.kind == ChangeKind::Folder)
        return "folder " + shown(joinPath(change.toFolder, change.to));
    if (change.folder == change.toFolder)
        return change.folder + ": " + shown(change.from) + " -> " + shown(change.to);
    return shown(joinPath(change.folder, change.from)) + " -> " + shown(joinPath(change.toFolder, change.to));
}

std::string offerLine(const OfferedChange& item)
{
    const Change& change = item.change;
    std::string line = shown(item.shownSource) + " -> ";
    line += item.kind == OfferKind::Fill || item.kind == OfferKind::SetAside ? shown(joinPath(change.toFolder, change.to))
                                                                               : shown(change.to);
    std::string notes;
    for (std::string_view word : differenceNames(Differences{item.differences}))
        notes += (notes.empty() ? "" : ", ") + std::string(word);
    if (item.kind == OfferKind::Follower)
        notes += std::string(notes.empty() ? "" : ", ") + "follows its " + (change.to.ends_with(".zip") ? "video" : "archive");
    if (item.kind == OfferKind::CutName)
        notes += std::string(notes.empty() ? "" : ", ") + "cut name";
    if (!item.reason.empty())
        notes += (notes.empty() ? "" : ", ") + item.reason;
    if (change.kind != ChangeKind::Rename)
        notes += std::string(notes.empty() ? "" : ", ") + std::to_string(change.identity.size) + " bytes";
    if (!item.caution.empty())
        notes += (notes.empty() ? "" : ", ") + item.caution;
    return line + (notes.empty() ? "" : "  [" + notes + "]");
}

// The plan's ticks as the command line chooses: the plan's own, the cut
// names with --cut-names, for set-aside the files named or --all.
std::vector<bool> ticksFor(const CliOptions& options, const ChangePlan& plan)
{
    std::vector<bool> ticks = plan.defaultTicks();
    const std::set<std::string> names(options.names.begin(), options.names.end());
    for (size_t i = 0; i < plan.items.size(); ++i) {
        const OfferedChange& item = plan.items[i];
        if (item.kind == OfferKind::CutName && options.cutNames)
            ticks[i] = true;
        if (item.kind == OfferKind::Follower && item.follows >= 0)
            ticks[i] = ticks[static_cast<size_t>(item.follows)];
        if (item.kind == OfferKind::SetAside && (options.all || !names.empty()))
            ticks[i] = options.all || names.count(item.shownSource) || names.count(item.change.from);
        ticks[i] = ticks[i] && item.refusal.empty();
    }
    return ticks;
}

void printPlan(const CliOptions& options, const ChangePlan& plan, const std::vector<bool>& ticks)
{
    size_t chosen = 0;
    for (bool tick : ticks)
        chosen += tick;
    const bool one = chosen == 1;
    const char* what = options.command == Command::Fill       ? (one ? " copy" : " copies")
                       : options.command == Command::SetAside ? (one ? " move" : " moves")
                                                              : (one ? " rename" : " renames");
    print(std::to_string(chosen) + what + (options.apply ? " to make:\n" : " would be made:\n"));
    for (size_t i = 0; i < plan.items.size(); ++i) {
        if (ticks[i])
            print("  " + offerLine(plan.items[i]) + "\n");
    }
    for (size_t i = 0; i < plan.items.size(); ++i) {
        const OfferedChange& item = plan.items[i];
        if (!ticks[i] && item.refusal.empty())
            print("  offered, not chosen: " + offerLine(item) + "\n");
        else if (!item.refusal.empty())
            print("  not " + std::string(options.command == Command::Rename ? "renamed" : "made") + ": " +
                  offerLine(item) + ": " + item.refusal + "\n");
    }
    uint64_t moved = 0;
    for (size_t i = 0; i < plan.items.size(); ++i)
        moved += ticks[i] && plan.items[i].change.kind == ChangeKind::Move ? plan.items[i].change.identity.size : 0;
    if (options.command == Command::Fill)
        print(std::to_string(plan.bytesToCopy(ticks)) + " bytes to copy, " + std::to_string(plan.freeSpace) +
              " bytes free there\n");
    if (options.command == Command::SetAside)
        print(std::to_string(moved) + " bytes to move\n");
}

// One line an outcome; returns how many failed.
size_t printOutcomes(const ChangeBatch& batch, std::string_view madeWord, std::string_view failedWord,
                     const char* what = "batch")
{
    size_t failed = 0;
    for (const ChangeOutcome& outcome : batch.outcomes) {
        switch (outcome.result) {
        case ChangeResult::Made: print("  " + std::string(madeWord) + ": " + described(outcome.change) + "\n"); break;
        case ChangeResult::DoneBefore: print("  done before: " + described(outcome.change) + "\n"); break;
        case ChangeResult::Skipped:
        case ChangeResult::Refused:
            ++failed;
            print("  " + std::string(failedWord) + ": " + described(outcome.change) + ": " + outcome.reason + "\n");
            break;
        }
    }
    if (!batch.stopped.empty())
        printErr("tokenade-audit: the " + std::string(what) + " stopped: " + batch.stopped + "\n");
    if (!batch.notRecorded.empty())
        printErr("tokenade-audit: the journal was not updated: " + batch.notRecorded + "\n");
    return failed + (batch.stopped.empty() ? 0 : 1);
}

// One rule for --to: a folder below DIR when relative, else the path as it is.
std::string targetOf(const CliOptions& options)
{
    if (options.toFolder.empty() || options.toFolder[0] == '/')
        return options.toFolder;
    return joinPath(options.directory, options.toFolder);
}

// A fill's target as the plan takes it: relative to DIR.
std::string fillTargetOf(const CliOptions& options)
{
    const std::string target = targetOf(options);
    const auto directory = resolvedPath(options.directory);
    const auto real = resolvedPath(target);
    if (target.empty() || !directory || !real || !isWithin(*real, *directory) || *real == *directory)
        return options.toFolder;  // the plan says why it is not of the set
    return real->substr(directory->size() + 1);
}

// The names given to set-aside that match no file offered, or "".
std::string unmatchedNames(const CliOptions& options, const ChangePlan& plan)
{
    std::set<std::string> offered;
    for (const OfferedChange& item : plan.items) {
        offered.insert(item.shownSource);
        offered.insert(item.change.from);
    }
    std::string unmatched;
    for (const std::string& name : options.names) {
        if (!offered.count(name))
            unmatched += (unmatched.empty() ? "" : ", ") + shown(name);
    }
    return unmatched;
}

// Why the files named to set-aside that listed sets need stay, one line
// each, or "": a name alone never moves what other sets cannot run without.
std::string neededNamed(const CliOptions& options, const ChangePlan& plan)
{
    const std::set<std::string> names(options.names.begin(), options.names.end());
    std::string why;
    for (const OfferedChange& item : plan.items) {
        const bool named = names.count(item.shownSource) || names.count(item.change.from);
        if (named && item.kind == OfferKind::SetAside && item.refusal.starts_with("needed by"))
            why += "tokenade-audit: " + shown(item.shownSource) + " stays: it is " + item.refusal +
                   " (--force sets it aside all the same)\n";
    }
    return why;
}

ChangePlan planFor(const CliOptions& options, const AuditResult& result, const CollectionContent* content)
{
    switch (options.command) {
    case Command::Fill: {
        const FillRequest request{options.directory, options.source, fillTargetOf(options), options.link};
        if (!content || !whyFillRefused(result, request).empty())
            return planFill(result, request);
        const IdentifiedArchives source = identifySource(options, content->basis);
        const ContentFindings findings{content->basis, content->collection, &source};
        return planFill(result, request, {}, &findings);
    }
    case Command::SetAside: {
        SetAsideRequest request{options.directory, options.category, targetOf(options)};
        if (options.force)
            request.neededButForced.insert(options.names.begin(), options.names.end());
        if (!content)
            return planSetAside(result, request);
        const ContentFindings findings{content->basis, content->collection};
        return planSetAside(result, request, &findings);
    }
    default: {
        // The other kind's files, for the videos that follow their archives and back.
        const FoundNames other = options.audit == AuditKind::Roms ? cacheTokenadeVideoDirs(options.directory)
                                                                  : cacheTokenadeRomDirs(options.directory);
        if (!content)
            return planRenameOffers(result, options.directory, &other);
        const ContentFindings findings{content->basis, content->collection};
        return planRenameOffers(result, options.directory, &other, &findings);
    }
    }
}

}  // namespace

int changeFiles(const CliOptions& options, const AuditResult& result, const CollectionContent* content)
{
    if (const std::string why = whyNotACollection(options.directory, options.audit); !why.empty()) {
        printErr("tokenade-audit: " + why + "\n");
        return kExitUsage;
    }
    const ChangePlan plan = planFor(options, result, content);
    if (!plan.problem.empty()) {
        printErr("tokenade-audit: " + plan.problem + "\n");
        return kExitUsage;
    }
    if (const std::string unmatched = unmatchedNames(options, plan); !unmatched.empty()) {
        printErr(std::string("tokenade-audit: no ") + (options.category == CategoryId::Extra ? "extra" : "unknown") +
                 " file is named " + unmatched + " (name them as the dry run lists them)\n");
        return kExitUsage;
    }
    if (const std::string needed = neededNamed(options, plan); !needed.empty()) {
        printErr(needed);
        return kExitUsage;
    }
    const std::vector<bool> ticks = ticksFor(options, plan);
    printPlan(options, plan, ticks);
    // A refused change is one not made: --apply then ends in failure too.
    bool someRefused = false;
    for (const OfferedChange& item : plan.items)
        someRefused = someRefused || (!item.refusal.empty() && item.tickedByDefault);
    const std::vector<Change> changes = plan.chosen(ticks);
    if (!options.apply)
        return kExitAudited;
    if (changes.empty())
        return someRefused ? kExitWriteFailed : kExitAudited;

    const auto collection = resolvedPath(options.directory);
    ChangeOptions changing{renameJournalFolder(), collection.value_or(options.directory), nullptr, {}, {}};
    // The default folder lies inside the collection; one named may lie elsewhere.
    if (options.command == Command::SetAside && !options.toFolder.empty())
        changing.setAsideFolder = resolvedPath(targetOf(options)).value_or("");
    const ChangeBatch batch = applyChanges(changes, changing);
    if (!batch.notStarted.empty()) {
        printErr("tokenade-audit: " + batch.notStarted + "\n");
        return kExitWriteFailed;
    }
    const bool renames = options.command == Command::Rename;
    print(renames ? "Renamed:\n" : options.command == Command::Fill ? "Copied:\n" : "Set aside:\n");
    const size_t failed = printOutcomes(batch, renames ? "renamed" : "made", renames ? "not renamed" : "not made");
    print("journal: " + batch.journalPath + "\n");
    return failed == 0 && !someRefused ? kExitAudited : kExitWriteFailed;
}

int undoChangesOf(const std::string& journal, const std::string& directory)
{
    const std::string folder = renameJournalFolder();
    std::optional<BatchSummary> newest;
    if (journal.empty())
        newest = newestBatch(folder, directory);
    if (journal.empty() && !newest) {
        printErr("tokenade-audit: no journal in " + folder + " has changes to undo" +
                 (directory.empty() ? "" : " on " + directory) + "\n");
        return kExitWriteFailed;
    }
    const std::string path = newest ? newest->journalPath : journal;
    const ChangeBatch batch = undoChanges(path, ChangeOptions{folder, "", nullptr, {}, {}});
    if (!batch.notStarted.empty()) {
        printErr("tokenade-audit: " + batch.notStarted + "\n");
        return kExitWriteFailed;
    }
    // Without --dir the newest batch of any collection is undone: say which.
    print("Undoing " + path + (newest ? " (made on " + newest->collection + ")" : "") + ":\n");
    return printOutcomes(batch, "undone", "not undone", "undo") == 0 ? kExitAudited : kExitWriteFailed;
}

}  // namespace tokenade::cli
