#include "rename_commands.h"

#include "cli/near_miss_output.h"
#include "core/repair/journal_files.h"
#include "core/repair/rename_plan.h"
#include "core/repair/renames.h"
#include "core/sources/path_rules.h"

#include <cstdio>

namespace tokenade::cli {
namespace {

std::string described(const Rename& rename)
{
    return rename.folder + ": " + shown(rename.from) + " -> " + shown(rename.to);
}

void print(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
}

// One line an outcome; returns how many failed.
size_t printOutcomes(const RenameBatch& batch, std::string_view madeWord)
{
    size_t failed = 0;
    for (const RenameOutcome& outcome : batch.outcomes) {
        switch (outcome.result) {
        case RenameResult::Made: print("  " + std::string(madeWord) + ": " + described(outcome.rename) + "\n"); break;
        case RenameResult::DoneBefore: print("  done before: " + described(outcome.rename) + "\n"); break;
        case RenameResult::Skipped:
        case RenameResult::Refused:
            ++failed;
            print("  not renamed: " + described(outcome.rename) + ": " + outcome.reason + "\n");
            break;
        }
    }
    if (!batch.notRecorded.empty())
        std::fprintf(stderr, "tokenade-audit: the journal was not updated: %s\n", batch.notRecorded.c_str());
    return failed;
}

}  // namespace

int renameFiles(const CliOptions& options, const AuditResult& result)
{
    const std::vector<PlannedRename> plan = planRenames(result, options.directory);
    const std::vector<Rename> renames = renamesToTry(plan);
    print(std::to_string(renames.size()) + (options.apply ? " renames to make:\n" : " renames would be made:\n"));
    for (const PlannedRename& planned : plan) {
        if (planned.refusal.empty())
            print("  " + shown(placeOf(result, *planned.pair->found)) + " -> " + shown(planned.rename.to) + "\n");
    }
    for (const PlannedRename& planned : plan) {
        if (!planned.refusal.empty())
            print("  not renamed: " + shown(placeOf(result, *planned.pair->found)) + " -> " +
                  shown(planned.rename.to) + ": " + planned.refusal + "\n");
    }
    // A refused rename is one not made: --apply then ends in failure too.
    const bool someRefused = renames.size() < plan.size();
    if (!options.apply)
        return kExitAudited;
    if (renames.empty())
        return someRefused ? kExitWriteFailed : kExitAudited;

    const RenameBatch batch = applyRenames(renames, renameJournalFolder());
    if (!batch.notStarted.empty()) {
        std::fprintf(stderr, "tokenade-audit: nothing was renamed: %s\n", batch.notStarted.c_str());
        return kExitWriteFailed;
    }
    print("Renamed:\n");
    const size_t failed = printOutcomes(batch, "renamed");
    print("journal: " + batch.journalPath + "\n");
    return failed == 0 && !someRefused ? kExitAudited : kExitWriteFailed;
}

int undoRenamesOf(const std::string& journal)
{
    const RenameBatch batch = undoRenames(journal);
    if (!batch.notStarted.empty()) {
        std::fprintf(stderr, "tokenade-audit: %s\n", batch.notStarted.c_str());
        return kExitWriteFailed;
    }
    print("Undoing " + journal + ":\n");
    return printOutcomes(batch, "renamed back") == 0 ? kExitAudited : kExitWriteFailed;
}

}  // namespace tokenade::cli
