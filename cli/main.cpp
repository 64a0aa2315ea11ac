#include "cli/audit_output.h"
#include "cli/cli_options.h"
#include "cli/csv_output.h"
#include "cli/progress_line.h"
#include "cli/summary_output.h"
#include "cli/change_commands.h"
#include "cli/identify_command.h"
#include "cli/verify_command.h"
#include "cli/terminal_text.h"
#include "core/audit/audit_run.h"
#include "core/audit/audit_status.h"
#include "core/results/report_files.h"
#include "core/sources/list_discovery.h"
#include "core/summary/system_summary.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <iostream>
#include <optional>

using namespace tokenade;
using namespace tokenade::cli;

namespace {

AuditOutcome runAudit(const CliOptions& options, const AuditInputs& inputs)
{
    ProgressLine progress;
    AuditProgress sink;
    sink.status = [&](std::string_view text) { progress.setStatus(text); };
    sink.filesSeen = progress.filesSeen();
    return options.audit == AuditKind::Roms ? runRomAudit(inputs, sink) : runVideoAudit(inputs, sink);
}

int saveReports(const std::string& folder, const AuditResult& result)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);  // a failure shows in the writes below
    const auto failures = saveReportFiles(folder, result);
    for (const auto& failure : failures)
        printErr("tokenade-audit: cannot write " + failure.path + ": " + failure.reason + "\n");
    return failures.empty() ? kExitAudited : kExitWriteFailed;
}

// A script that reads the output from a full disk must not take it for whole.
bool stdoutWritten()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::cerr << "tokenade-audit: cannot write standard output: " << std::strerror(errno) << "\n";
    return false;
}

int runCommand(int argc, char** argv)
{
    const ParseOutcome parsed = parseArguments(argc, argv);
    if (!parsed.options)
        return parsed.exitStatus;
    const CliOptions& options = *parsed.options;
    if (options.command == Command::Undo) {
        const int undone = undoChangesOf(options.journal, options.directory);
        return stdoutWritten() ? undone : kExitWriteFailed;
    }
    if (options.command == Command::Verify) {
        const int verified = verifyRoms(options);
        return stdoutWritten() ? verified : kExitWriteFailed;
    }

    std::optional<std::string> listPath = options.listPath;
    if (!listPath)
        listPath = findSupportedList(options.directory);
    if (fixdatRefused(options, listPath.value_or("")))
        return kExitUsage;
    // identify's table of DATs needs the audit's names as well.
    if (options.command == Command::Identify && listPath && !options.bySystem) {
        const int identified = identifyRoms(options, *listPath);
        return stdoutWritten() ? identified : kExitWriteFailed;
    }
    const AuditInputs inputs{options.directory, listPath.value_or(""), options.availableOnly,
                             options.nearMisses || (options.command != Command::Audit && !options.bySystem)};
    AuditOutcome outcome = runAudit(options, inputs);
    if (!outcome.result) {
        std::cerr << kInvalidListMessage << "\n";
        if (listPath)
            printErr("tokenade-audit: " + *listPath + ": " + outcome.listProblem.reason + "\n");
        else
            printErr("tokenade-audit: " + options.directory + ": no \"" + std::string(kSupportedListName) +
                     "\" below it\n");
        return kExitListUnusable;
    }
    int contentStatus = kExitAudited;
    std::optional<CollectionContent> content;
    if (!options.datPaths.empty()) {
        contentStatus = addContentFindings(options, *listPath, *outcome.result, content);
        if (contentStatus == kExitListUnusable)
            return contentStatus;
    }
    printErr(warningLines(*outcome.result));
    if (options.command != Command::Audit && options.command != Command::Identify) {
        const int changed = changeFiles(options, *outcome.result, content ? &*content : nullptr);
        return stdoutWritten() ? changed : kExitWriteFailed;
    }

    // The reports are written while the text is printed: both only read the result.
    std::future<int> saved;
    if (options.saveFolder)
        saved = std::async(std::launch::async, [&] { return saveReports(*options.saveFolder, *outcome.result); });
    const AuditReport report{*outcome.result, options.directory, listPath, options.summary, options.only};
    if (options.bySystem) {
        const SystemSummary summary = content ? summarizeByDat(*outcome.result, content->basis, content->collection)
                                              : summarizeByFolder(*outcome.result);
        const std::string text = systemSummaryOutput(summary, options.format, {options.directory, *listPath});
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else if (options.format == OutputFormat::Json) {
        const std::string text = jsonText(report);
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else if (options.format == OutputFormat::Csv) {
        writeCsv(report, stdout);
    } else {
        writeHumanText(report, stdout);
    }
    const bool printed = stdoutWritten();
    const int savedStatus = saved.valid() ? saved.get() : kExitAudited;
    if (!printed)
        return kExitWriteFailed;
    return savedStatus != kExitAudited ? savedStatus : contentStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    return runCommand(argc, argv);
}
