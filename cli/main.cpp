#include "audit/audit_run.h"
#include "audit/audit_status.h"
#include "cli/audit_output.h"
#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "results/report_files.h"
#include "sources/list_discovery.h"

#include <cstdio>
#include <filesystem>
#include <future>
#include <iostream>
#include <optional>

using namespace tokenade;
using namespace tokenade::cli;

namespace {

// The result of one audit and its lists in category order, which point into
// it: it stays where it was made.
struct AuditLists {
    AuditLists() = default;
    AuditLists(const AuditLists&) = delete;
    AuditLists& operator=(const AuditLists&) = delete;

    std::optional<RomAuditResult> roms;
    std::optional<VideoAuditResult> videos;
    std::vector<const NameList*> lists;
    std::span<const Category> categories;
};

void runAudit(const CliOptions& options, const AuditInputs& inputs, ProgressLine& progress, AuditLists& lists)
{
    AuditProgress sink;
    sink.status = [&](std::string_view text) { progress.setStatus(text); };
    sink.filesSeen = progress.filesSeen();
    if (options.audit == AuditKind::Roms) {
        lists.roms = runRomAudit(inputs, sink);
        lists.categories = kRomCategories;
        if (lists.roms)
            lists.lists = {&lists.roms->valid, &lists.roms->missing, &lists.roms->unknown};
    } else {
        lists.videos = runVideoAudit(inputs, sink);
        lists.categories = kVideoCategories;
        if (lists.videos)
            lists.lists = {&lists.videos->valid, &lists.videos->missing, &lists.videos->extra,
                           &lists.videos->unknown};
    }
}

int saveReports(const std::string& folder, const AuditLists& lists)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a failure shows in the writes below
    const auto failures = saveReportFiles(folder, lists.categories, lists.lists);
    for (const auto& failure : failures)
        std::cerr << "tokenade-audit: cannot write " << failure.path << ": " << failure.reason << "\n";
    return failures.empty() ? kExitAudited : kExitWriteFailed;
}

int runCommand(int argc, char** argv)
{
    const ParseOutcome parsed = parseArguments(argc, argv);
    if (!parsed.options)
        return parsed.exitStatus;
    const CliOptions& options = *parsed.options;

    AuditInputs inputs{options.directory, "", options.availableOnly};
    std::optional<std::string> listPath = options.listPath;
    AuditLists lists;
    {
        ProgressLine progress;
        if (!listPath)
            listPath = findSupportedList(options.directory);
        inputs.romsListPath = listPath.value_or("");
        runAudit(options, inputs, progress, lists);
    }
    if (lists.lists.empty()) {
        std::cerr << kInvalidListMessage << "\n";
        return kExitListUnusable;
    }

    // The reports are written while the text is made: both only read the lists.
    std::future<int> saved;
    if (options.saveFolder)
        saved = std::async(std::launch::async, [&] { return saveReports(*options.saveFolder, lists); });
    const AuditOutcome outcome{options.audit, options.directory, listPath, options.availableOnly,
                               lists.categories, lists.lists};
    const std::string text = options.json ? jsonText(outcome) : humanText(outcome);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return saved.valid() ? saved.get() : kExitAudited;
}

}  // namespace

int main(int argc, char** argv)
{
    const int status = runCommand(argc, argv);
    // A million names take a while to free one by one; the system takes them back at once.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
