#include "cli_options.h"

#include "cli/audit_output.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <iostream>

#ifndef TOKENADE_VERSION
#define TOKENADE_VERSION "unknown"
#endif

namespace tokenade::cli {
namespace {

constexpr const char* kUsage =
    "usage: tokenade-audit roms   --dir DIR [--list FILE] [--save FOLDER] [--only LIST] [--format text|json|csv]\n"
    "                             [--json] [--summary] [--near-misses]\n"
    "       tokenade-audit videos --dir DIR [--list FILE] [--available-only] [--save FOLDER] [--only LIST]\n"
    "                             [--format text|json|csv] [--json] [--summary] [--near-misses]\n"
    "       tokenade-audit rename roms|videos --dir DIR [--list FILE] [--available-only] [--apply]\n"
    "       tokenade-audit undo JOURNAL\n"
    "       tokenade-audit --help | --version\n";

bool isFolder(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int usageError(const std::string& message)
{
    std::cerr << "tokenade-audit: " << message << "\n" << kUsage;
    return kExitUsage;
}

// What --only, --format and --json said, before they are checked together.
struct ReportArguments {
    std::string only;
    std::string format = "text";
    bool json = false;
};

void addAuditOptions(CLI::App& command, CliOptions& options, std::string& list, std::string& save,
                     ReportArguments& report)
{
    command.add_option("--dir", options.directory, "The Tokenade directory")->required();
    command.add_option("--list", list, "The supported roms list (found below DIR when left out)");
    command.add_option("--save", save, "Write the report files into FOLDER (created when missing)");
    command.add_option("--only", report.only, "Print only these categories, comma-separated: valid, missing, "
                                              "unknown, extra (videos --available-only)");
    command.add_option("--format", report.format, "text (the default), json, or csv: one row per name")
        ->check(CLI::IsMember({"text", "json", "csv"}));
    command.add_flag("--json", report.json, "The same as --format json");
    command.add_flag("--summary", options.summary, "Print the counts and warnings, not the names");
    command.add_flag("--near-misses", options.nearMisses,
                     "Also list the files that are there under another name than a missing game expects");
}

// The output format and categories of an audit; "" when they go together,
// else what is wrong.
std::string chooseReport(const CLI::App& command, const ReportArguments& report, CliOptions& options)
{
    if (report.json && command.count("--format") > 0 && report.format != "json")
        return "--json and --format " + report.format + " ask for two formats";
    options.format = report.json || report.format == "json" ? OutputFormat::Json
                     : report.format == "csv"               ? OutputFormat::Csv
                                                            : OutputFormat::Text;
    // A row holds a name: counts and near-miss pairs have no place in it.
    if (options.format == OutputFormat::Csv && (options.summary || options.nearMisses))
        return std::string(options.summary ? "--summary" : "--near-misses") + " goes with text or JSON output";
    if (command.count("--only") == 0)
        return "";
    CategoryChoice only = parseCategoryList(report.only, options.audit, options.availableOnly);
    options.only = std::move(only.ids);
    return only.problem;
}

}  // namespace

ParseOutcome parseArguments(int argc, char** argv)
{
    CliOptions options;
    std::string list;
    std::string save;
    ReportArguments report;

    CLI::App app("Audits a Tokenade collection by file name.", "tokenade-audit");
    app.set_version_flag("--version", std::string("tokenade-audit ") + TOKENADE_VERSION);
    app.require_subcommand(1, 1);
    CLI::App* roms = app.add_subcommand("roms", "Which supported games have an archive, which lack one, "
                                                "which archives match nothing");
    addAuditOptions(*roms, options, list, save, report);
    CLI::App* videos = app.add_subcommand("videos", "The same for the preview videos, with extra videos");
    addAuditOptions(*videos, options, list, save, report);
    videos->add_flag("--available-only", options.availableOnly,
                     "Expect videos only for the archives that are present");
    std::string renameKind;
    CLI::App* rename = app.add_subcommand("rename", "Show, or with --apply make, the renames that give the files "
                                                    "there under another name the names their games expect");
    rename->add_option("kind", renameKind, "roms or videos")->required()->check(CLI::IsMember({"roms", "videos"}));
    rename->add_option("--dir", options.directory, "The Tokenade directory")->required();
    rename->add_option("--list", list, "The supported roms list (found below DIR when left out)");
    rename->add_flag("--available-only", options.availableOnly, "Videos: expect videos of the archives present");
    rename->add_flag("--apply", options.apply, "Make the renames, with a journal to undo them");
    CLI::App* undo = app.add_subcommand("undo", "Reverse the renames of a journal");
    undo->add_option("journal", options.journal, "The journal that rename --apply printed")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return {std::nullopt, app.exit(help)};
    } catch (const CLI::CallForAllHelp& help) {
        return {std::nullopt, app.exit(help)};
    } catch (const CLI::CallForVersion& version) {
        return {std::nullopt, app.exit(version)};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, usageError(error.what())};
    }

    if (undo->parsed()) {
        options.command = Command::Undo;
        return {options, kExitAudited};
    }
    const CLI::App* chosen = roms->parsed() ? roms : videos->parsed() ? videos : rename;
    options.command = chosen == rename ? Command::Rename : Command::Audit;
    options.audit = chosen == roms || (chosen == rename && renameKind == "roms") ? AuditKind::Roms : AuditKind::Videos;
    if (chosen == rename && options.audit == AuditKind::Roms && options.availableOnly)
        return {std::nullopt, usageError("--available-only goes with videos")};
    if (chosen->count("--list") > 0)
        options.listPath = list;
    if (chosen != rename && chosen->count("--save") > 0)
        options.saveFolder = save;
    if (chosen != rename) {
        if (const std::string problem = chooseReport(*chosen, report, options); !problem.empty())
            return {std::nullopt, usageError(problem)};
    }
    if (!isFolder(options.directory))
        return {std::nullopt, usageError("--dir does not name a folder: " + options.directory)};
    return {options, kExitAudited};
}

}  // namespace tokenade::cli
