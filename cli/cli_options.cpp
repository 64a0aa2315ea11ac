#include "cli_options.h"

#include "cli/audit_output.h"
#include "cli/terminal_text.h"

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
    "                             [--json] [--summary [--by-system]] [--near-misses] [--dat DAT... [--fixdat FILE]\n"
    "                             [--no-cache]]\n"
    "       tokenade-audit videos --dir DIR [--list FILE] [--available-only] [--save FOLDER] [--only LIST]\n"
    "                             [--format text|json|csv] [--json] [--summary] [--near-misses]\n"
    "       tokenade-audit rename roms|videos --dir DIR [--list FILE] [--available-only] [--cut-names] [--apply]\n"
    "                             [--dat DAT... [--no-cache]]\n"
    "       tokenade-audit fill roms|videos --dir DIR --from SOURCE [--list FILE] [--to FOLDER] [--link] [--apply]\n"
    "                             [--dat DAT... [--no-cache]]\n"
    "       tokenade-audit set-aside roms|videos --dir DIR [--list FILE] [--category unknown|extra] [--to FOLDER]\n"
    "                             [--all | NAME... [--force]] [--apply] [--dat DAT... [--no-cache]]\n"
    "       tokenade-audit identify roms --dir DIR --dat DAT... [--list FILE] [--format text|json|csv] [--json]\n"
    "                             [--summary] [--fixdat FILE] [--no-cache]\n"
    "       tokenade-audit verify roms --dir DIR [--dat DAT...] [--format text|json|csv] [--json] [--no-cache]\n"
    "       tokenade-audit undo [JOURNAL | --dir DIR]\n"
    "       tokenade-audit --help | --version\n";

bool isFolder(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int usageError(const std::string& message)
{
    printErr("tokenade-audit: " + message + "\n" + std::string(kUsage));
    return kExitUsage;
}

// How often `name` was given to `command`; 0 also for an option it does not take.
size_t countOf(const CLI::App& command, const std::string& name)
{
    const CLI::Option* option = command.get_option_no_throw(name);
    return option == nullptr ? 0 : option->count();
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
    if (options.bySystem && !options.summary)
        return "--by-system goes with --summary";
    // The table of systems has a count per column, no names to choose among.
    if (options.bySystem && (options.nearMisses || countOf(command, "--only") > 0))
        return std::string(options.nearMisses ? "--near-misses" : "--only") + " goes without the table of systems";
    // A row holds a name or a system: counts and near-miss pairs have no place in it.
    if (options.format == OutputFormat::Csv && ((options.summary && !options.bySystem) || options.nearMisses))
        return std::string(options.summary ? "--summary" : "--near-misses") + " goes with text or JSON output";
    if (countOf(command, "--only") == 0)
        return "";
    CategoryChoice only = parseCategoryList(report.only, options.audit, options.availableOnly);
    options.only = std::move(only.ids);
    return only.problem;
}

// What the commands that match archives by content take.
void addDatOption(CLI::App& command, CliOptions& options, std::vector<std::string>& dats)
{
    command.add_option_function<std::string>("--sets", [&options](const std::string& key) {
        const std::optional<SetForm> form = parseSetForm(key);
        options.setForms = form ? maskOf(*form) : kAnySetForm;
    }, "With a DAT of arcade machines: the form their sets are kept in, auto (told per archive, the "
       "default), split, non-merged, full-non-merged or merged")
        ->check(CLI::IsMember({"auto", "split", "non-merged", "full-non-merged", "merged"}));
    command.add_option("--dat", dats, "A DAT (Logiqx XML, mame -listxml, software lists, ClrMamePro or an SMDB hash "
                                      "list, or a zip of DATs) to match archives against by the sizes and CRCs of "
                                      "their files, or a folder of DATs; may be given more than once")
        ->allow_extra_args(false);
    command.add_flag("--no-cache", options.noCache, "Read the DAT and every archive anew, not what the caches kept");
}

// The same, with the fixdat of the audit and identify.
void addContentOptions(CLI::App& command, CliOptions& options, std::vector<std::string>& dats, std::string& fixdat)
{
    addDatOption(command, options, dats);
    command.add_option("--fixdat", fixdat, "Write a Logiqx DAT of the list's missing games that the DAT knows; "
                                           "with several DATs, a folder of one such DAT per DAT");
}

// What every command that changes the collection takes.
void addChangeOptions(CLI::App& command, CliOptions& options, std::string& list, std::string& kind)
{
    command.add_option("kind", kind, "roms or videos")->required()->check(CLI::IsMember({"roms", "videos"}));
    command.add_option("--dir", options.directory, "The Tokenade directory")->required();
    command.add_option("--list", list, "The supported roms list (found below DIR when left out)");
    command.add_flag("--apply", options.apply, "Make the changes, with a journal to undo them");
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
    roms->add_flag("--by-system", options.bySystem, "With --summary: a row of counts per system, each DAT with --dat, "
                                                    "else each rom folder and each folder just below one");
    CLI::App* videos = app.add_subcommand("videos", "The same for the preview videos, with extra videos");
    addAuditOptions(*videos, options, list, save, report);
    videos->add_flag("--available-only", options.availableOnly,
                     "Expect videos only for the archives that are present");
    std::string kind;
    CLI::App* rename = app.add_subcommand("rename", "Show, or with --apply make, the renames that give the files "
                                                    "there under another name the names their games expect");
    addChangeOptions(*rename, options, list, kind);
    rename->add_flag("--available-only", options.availableOnly, "Videos: expect videos of the archives present");
    rename->add_flag("--cut-names", options.cutNames,
                     "Also rename files named as a whole list line to the shorter name the line expects");
    CLI::App* fill = app.add_subcommand("fill", "Show, or with --apply make, the copies that fill missing games "
                                                "from a source folder");
    addChangeOptions(*fill, options, list, kind);
    fill->add_option("--from", options.source, "The folder to fill from, searched at any depth")->required();
    fill->add_option("--to", options.toFolder, "The rom or video folder the copies go to, or one below it, "
                                               "relative to DIR (the first of the set)");
    fill->add_flag("--link", options.link, "Hard links instead of copies (the same file system only)");
    std::string category = "unknown";
    CLI::App* setAside = app.add_subcommand("set-aside", "Show, or with --apply make, the moves that set unknown "
                                                         "or extra files aside");
    addChangeOptions(*setAside, options, list, kind);
    setAside->add_option("--category", category, "unknown, or extra (videos of games whose archive is missing)")
        ->check(CLI::IsMember({"unknown", "extra"}));
    setAside->add_option("--to", options.toFolder, "Where the files go, relative to DIR when not absolute "
                                                   "(DIR/_set-aside/YYYY-MM-DD)");
    setAside->add_flag("--all", options.all, "Every file of the category");
    setAside->add_option("names", options.names, "The files to set aside, as the dry run lists them");
    setAside->add_flag("--force", options.force, "Set the files named aside even when listed sets need them (with --dat)");
    std::vector<std::string> dats;
    std::string fixdat;
    addContentOptions(*roms, options, dats, fixdat);
    addDatOption(*rename, options, dats);
    addDatOption(*fill, options, dats);
    addDatOption(*setAside, options, dats);
    CLI::App* identify = app.add_subcommand("identify", "What each archive holds, by the sizes and CRCs of its "
                                                        "files against a DAT, and the list line it is for");
    identify->add_option("kind", kind, "roms")->required()->check(CLI::IsMember({"roms"}));
    identify->add_option("--dir", options.directory, "The Tokenade directory")->required();
    identify->add_option("--list", list, "The supported roms list (found below DIR when left out)");
    identify->add_option("--format", report.format, "text (the default), json, or csv: one row per archive")
        ->check(CLI::IsMember({"text", "json", "csv"}));
    identify->add_flag("--json", report.json, "The same as --format json");
    identify->add_flag("--summary", options.summary, "A row of counts per DAT, how complete it is, not the archives");
    addContentOptions(*identify, options, dats, fixdat);
    identify->get_option("--dat")->required();
    CLI::App* verify = app.add_subcommand("verify", "Decompress every file of every archive and check it against "
                                                    "the archive's checksums and the DAT's SHA-1s");
    verify->add_option("kind", kind, "roms")->required()->check(CLI::IsMember({"roms"}));
    verify->add_option("--dir", options.directory, "The Tokenade directory")->required();
    verify->add_option("--format", report.format, "text (the default), json, or csv: one row per archive")
        ->check(CLI::IsMember({"text", "json", "csv"}));
    verify->add_flag("--json", report.json, "The same as --format json");
    verify->add_option("--dat", dats, "DATs (files, zips of them, folders) whose SHA-1s the files are checked "
                                      "against too");
    verify->add_flag("--no-cache", options.noCache, "Read every archive's directory anew, not what the cache kept");
    CLI::App* undo = app.add_subcommand("undo", "Reverse the changes of a journal");
    undo->add_option("journal", options.journal, "The journal that --apply printed (the newest one when left out)");
    undo->add_option("--dir", options.directory, "The newest batch made on this Tokenade directory");

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
        if (undo->count("journal") > 0 && options.journal.empty())
            return {std::nullopt, usageError("the journal named is \"\": name a journal, or none for the newest")};
        if (undo->count("journal") > 0 && undo->count("--dir") > 0)
            return {std::nullopt, usageError("a journal or --dir, not both")};
        if (undo->count("--dir") > 0 && options.directory.empty())
            return {std::nullopt, usageError("--dir names no folder")};
        return {options, kExitAudited};
    }
    if (verify->parsed()) {
        options.command = Command::Verify;
        if (verify->count("--dat") > 0)
            options.datPaths = dats;
        if (const std::string problem = chooseReport(*verify, report, options); !problem.empty())
            return {std::nullopt, usageError(problem)};
        if (!isFolder(options.directory))
            return {std::nullopt, usageError("--dir does not name a folder: " + options.directory)};
        return {options, kExitAudited};
    }
    const CLI::App* chosen = roms->parsed()       ? roms
                             : videos->parsed()   ? videos
                             : rename->parsed()   ? rename
                             : fill->parsed()     ? fill
                             : setAside->parsed() ? setAside
                                                  : identify;
    if (countOf(*chosen, "--dat") > 0)
        options.datPaths = dats;
    if (countOf(*chosen, "--fixdat") > 0)
        options.fixdatPath = fixdat;
    if (options.fixdatPath && options.datPaths.empty())
        return {std::nullopt, usageError("--fixdat goes with --dat")};
    if (chosen == identify) {
        options.command = Command::Identify;
        options.bySystem = options.summary;  // its summary is the table of DATs
        if (chosen->count("--list") > 0)
            options.listPath = list;
        if (const std::string problem = chooseReport(*chosen, report, options); !problem.empty())
            return {std::nullopt, usageError(problem)};
        if (!isFolder(options.directory))
            return {std::nullopt, usageError("--dir does not name a folder: " + options.directory)};
        return {options, kExitAudited};
    }
    const bool changes = chosen == rename || chosen == fill || chosen == setAside;
    options.command = chosen == rename ? Command::Rename
                      : chosen == fill ? Command::Fill
                      : chosen == setAside ? Command::SetAside
                                           : Command::Audit;
    options.audit = chosen == roms || (changes && kind == "roms") ? AuditKind::Roms : AuditKind::Videos;
    options.category = category == "extra" ? CategoryId::Extra : CategoryId::Unknown;
    if (chosen == setAside && options.category == CategoryId::Extra) {
        if (options.audit == AuditKind::Roms)
            return {std::nullopt, usageError("--category extra goes with videos")};
        options.availableOnly = true;  // extra videos are those of the archives missing
    }
    if (!options.datPaths.empty() && options.audit == AuditKind::Videos)
        return {std::nullopt, usageError("--dat goes with roms")};
    if (chosen == rename && options.audit == AuditKind::Roms && options.availableOnly)
        return {std::nullopt, usageError("--available-only goes with videos")};
    if (options.all && !options.names.empty())
        return {std::nullopt, usageError("--all or names, not both")};
    if (options.force && options.names.empty())
        return {std::nullopt, usageError("--force goes with the files named")};
    if (chosen->count("--list") > 0)
        options.listPath = list;
    if (!changes && chosen->count("--save") > 0)
        options.saveFolder = save;
    if (!changes) {
        if (const std::string problem = chooseReport(*chosen, report, options); !problem.empty())
            return {std::nullopt, usageError(problem)};
    }
    if (!isFolder(options.directory))
        return {std::nullopt, usageError("--dir does not name a folder: " + options.directory)};
    return {options, kExitAudited};
}

}  // namespace tokenade::cli
