#pragma once

#include "core/content/sets/set_matching.h"
#include "core/results/categories.h"

#include <optional>
#include <string>
#include <vector>

namespace tokenade::cli {

enum class Command {
    Audit,   // roms or videos
    Rename,  // rename roms|videos: the files the near misses call for
    Undo,    // undo [JOURNAL | --dir DIR]
    Fill,      // fill roms|videos: copy missing games in from a source folder
    SetAside,  // set-aside roms|videos: move unknown or extra files out of the collection
    Identify,  // identify roms: what each archive holds, by the sizes and CRCs in it, against a DAT
    Verify,    // verify roms: what each archive's bytes say, every entry decompressed and checked
};

// How an audit's result is printed.
enum class OutputFormat { Text, Json, Csv };

// What the command line asked for.
struct CliOptions {
    Command command = Command::Audit;
    AuditKind audit = AuditKind::Roms;
    std::string directory;  // undo: the collection whose newest batch is undone ("" for any)
    std::optional<std::string> listPath;    // absent: discover it below the directory
    std::optional<std::string> saveFolder;  // absent: write no report files
    bool availableOnly = false;
    OutputFormat format = OutputFormat::Text;
    std::vector<CategoryId> only;  // the categories to print; empty: every one (never limits the report files)
    bool summary = false;     // counts and warnings only
    bool bySystem = false;    // with summary: the table of systems (each DAT with --dat, else each rom folder)
    bool nearMisses = false;  // also the files there under another name
    bool apply = false;       // rename: make the renames, not only show them
    std::string journal;      // undo: the journal to reverse; "" for the newest
    bool cutNames = false;    // rename: also the renames of cut names, which are never made unless asked
    std::string source;       // fill: the folder to fill from
    std::string toFolder;     // relative to DIR, or absolute: fill: a rom or video folder or one below it;
                              // set-aside: where the files go ("" for the default)
    bool link = false;        // fill: hard links instead of copies
    CategoryId category = CategoryId::Unknown;  // set-aside
    bool all = false;                           // set-aside: every file of the category
    std::vector<std::string> names;             // set-aside: the files chosen, as the dry run lists them
    bool force = false;                         // set-aside: the files named go even when listed sets need them
    std::vector<std::string> datPaths;          // identify, roms, rename and fill roms: the DATs (files, zips,
                                                // folders) that archives are matched against; empty for none
    std::optional<std::string> fixdatPath;      // identify, roms --dat: write the missing games the DAT knows
                                                // (a folder of one fixdat per DAT when several are read)
    bool noCache = false;                       // with --dat: read every archive
    SetFormMask setForms = kAnySetForm;         // with --dat: the forms arcade sets are looked for in (--sets)
};

// Exit statuses of tokenade-audit.
enum ExitStatus : int {
    kExitAudited = 0,
    kExitListUnusable = 1,
    kExitUsage = 2,
    kExitWriteFailed = 3,
};

// Parses the arguments. Returns the options to run, or the status to exit
// with right away (help and version: 0, after printing them; bad usage: 2,
// after printing the message and the usage to standard error).
struct ParseOutcome {
    std::optional<CliOptions> options;
    int exitStatus = kExitAudited;
};
ParseOutcome parseArguments(int argc, char** argv);

}  // namespace tokenade::cli
