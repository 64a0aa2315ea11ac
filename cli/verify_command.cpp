#include "verify_command.h"

#include "cli/csv_output.h"
#include "cli/terminal_text.h"
#include "core/content/many_dats.h"
#include "core/foundation/grouped_count.h"
#include "core/verify/collection_check.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace tokenade::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr ArchiveVerdict kVerdicts[] = {ArchiveVerdict::Intact, ArchiveVerdict::Corrupt,
                                        ArchiveVerdict::NotVerifiable, ArchiveVerdict::Unreadable};

std::string entryText(const EntryReport& entry)
{
    const EntryFinding& finding = entry.finding;
    return entry.name + ": " + finding.found + (finding.expected.empty() ? "" : ", not " + finding.expected);
}

std::string countsLine(const VerifiedCollection& verified)
{
    std::string line = groupedCount(verified.archives.size()) + (verified.archives.size() == 1 ? " archive" : " archives");
    for (size_t i = 0; i < std::size(kVerdicts); ++i)
        line += (i == 0 ? ": " : ", ") + groupedCount(verified.count(kVerdicts[i])) + " " +
                std::string(archiveVerdictKey(kVerdicts[i]));
    return line + "; " + groupedCount(verified.bytesChecked) + " bytes decompressed and checked.\n";
}

void printText(const VerifiedCollection& verified)
{
    for (const VerifiedArchive& archive : verified.archives) {
        const ArchiveCheck& check = archive.check;
        std::string text = archive.path + ": " + std::string(archiveVerdictKey(check.verdict));
        text += check.reason.empty() ? "\n" : ": " + check.reason + "\n";
        for (const EntryReport& entry : check.entries)
            text += "  " + entryText(entry) + "\n";
        printOut(text);
    }
    printOut(countsLine(verified));
}

void printJson(const CliOptions& options, const VerifiedCollection& verified)
{
    Json json;
    json["dir"] = options.directory;
    if (options.datPaths.size() == 1)
        json["dat"] = options.datPaths[0];
    else if (options.datPaths.size() > 1)
        json["dat"] = options.datPaths;
    json["archives"] = Json::array();
    for (const VerifiedArchive& archive : verified.archives) {
        Json item;
        item["path"] = archive.path;
        item["state"] = archiveVerdictKey(archive.check.verdict);
        if (!archive.check.reason.empty())
            item["reason"] = archive.check.reason;
        if (!archive.check.entries.empty()) {
            item["entries"] = Json::array();
            for (const EntryReport& entry : archive.check.entries) {
                const bool corrupt = entry.finding.state == EntryState::Corrupt;
                item["entries"].push_back({{"name", entry.name},
                                           {"state", corrupt ? "corrupt" : "not verifiable"},
                                           {"found", entry.finding.found},
                                           {"expected", entry.finding.expected}});
            }
        }
        json["archives"].push_back(std::move(item));
    }
    for (const ArchiveVerdict verdict : kVerdicts)
        json[std::string(archiveVerdictKey(verdict))] = verified.count(verdict);
    json["bytes_checked"] = verified.bytesChecked;
    const std::string text = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void appendRow(std::string& rows, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            rows.push_back(',');
        appendCsvField(rows, field);
        first = false;
    }
    rows += "\r\n";
}

// One row an archive, or one for each of its entries at fault.
void printCsv(const VerifiedCollection& verified)
{
    std::string rows = "state,path,reason,entry,found,expected\r\n";
    for (const VerifiedArchive& archive : verified.archives) {
        const std::string_view state = archiveVerdictKey(archive.check.verdict);
        if (archive.check.entries.empty())
            appendRow(rows, {state, archive.path, archive.check.reason, "", "", ""});
        for (const EntryReport& entry : archive.check.entries)
            appendRow(rows, {state, archive.path, "", entry.name, entry.finding.found, entry.finding.expected});
        if (rows.size() >= 64 * 1024) {
            std::fwrite(rows.data(), 1, rows.size(), stdout);
            rows.clear();
        }
    }
    std::fwrite(rows.data(), 1, rows.size(), stdout);
}

}  // namespace

int verifyRoms(const CliOptions& options)
{
    std::optional<DatIndex> dat;
    if (!options.datPaths.empty()) {
        ManyDatsRead read = readManyDats(options.datPaths);
        for (const DatProblem& problem : read.problems)
            printErr("tokenade-audit: " + problem.message() + "\n");
        if (!read.dat)
            return kExitListUnusable;
        dat = std::move(read.dat);
    }
    const Sha1ByContent sha1s = dat ? Sha1ByContent(*dat) : Sha1ByContent();
    const VerifiedCollection verified = verifyRomArchives(options.directory, sha1s, CacheChoice{!options.noCache, ""});
    for (const std::string& folder : verified.unreadableFolders)
        printErr("tokenade-audit: warning: cannot read the folder " + folder + "\n");
    if (options.format == OutputFormat::Json)
        printJson(options, verified);
    else if (options.format == OutputFormat::Csv)
        printCsv(verified);
    else
        printText(verified);
    return kExitAudited;
}

}  // namespace tokenade::cli
