#include "cli_options.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <iostream>

#ifndef TOKENADE_VERSION
#define TOKENADE_VERSION "unknown"
#endif

namespace tokenade::cli {
namespace {

constexpr const char* kUsage =
    "usage: tokenade-audit roms   --dir DIR [--list FILE] [--save FOLDER] [--json] [--summary]\n"
    "       tokenade-audit videos --dir DIR [--list FILE] [--available-only] [--save FOLDER] [--json] [--summary]\n"
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

void addAuditOptions(CLI::App& command, CliOptions& options, std::string& list, std::string& save)
{
    command.add_option("--dir", options.directory, "The Tokenade directory")->required();
    command.add_option("--list", list, "The supported roms list (found below DIR when left out)");
    command.add_option("--save", save, "Write the report files into FOLDER (created when missing)");
    command.add_flag("--json", options.json, "Print the result as one JSON object");
    command.add_flag("--summary", options.summary, "Print the counts and warnings, not the names");
}

}  // namespace

ParseOutcome parseArguments(int argc, char** argv)
{
    CliOptions options;
    std::string list;
    std::string save;

    CLI::App app("Audits a Tokenade collection by file name.", "tokenade-audit");
    app.set_version_flag("--version", std::string("tokenade-audit ") + TOKENADE_VERSION);
    app.require_subcommand(1, 1);
    CLI::App* roms = app.add_subcommand("roms", "Which supported games have an archive, which lack one, "
                                                "which archives match nothing");
    addAuditOptions(*roms, options, list, save);
    CLI::App* videos = app.add_subcommand("videos", "The same for the preview videos, with extra videos");
    addAuditOptions(*videos, options, list, save);
    videos->add_flag("--available-only", options.availableOnly,
                     "Expect videos only for the archives that are present");

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

    const CLI::App* chosen = roms->parsed() ? roms : videos;
    options.audit = chosen == roms ? AuditKind::Roms : AuditKind::Videos;
    if (chosen->count("--list") > 0)
        options.listPath = list;
    if (chosen->count("--save") > 0)
        options.saveFolder = save;
    if (!isFolder(options.directory))
        return {std::nullopt, usageError("--dir does not name a folder: " + options.directory)};
    return {options, kExitAudited};
}

}  // namespace tokenade::cli
