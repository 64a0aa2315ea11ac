#include "identify_command.h"

#include "cli/csv_output.h"
#include "cli/near_miss_output.h"
#include "cli/progress_line.h"
#include "cli/set_detail_output.h"
#include "cli/terminal_text.h"
#include "core/content/collection_fixdat.h"
#include "core/content/collection_identity.h"
#include "core/content/sets/archive_judgement.h"
#include "core/content/sets/family_forms.h"
#include "core/content/sets/set_needs.h"
#include "core/content/repeated_games.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/path_join.h"
#include "core/repair/content_offers.h"
#include "core/repair/output_target.h"
#include "core/repair/change_plan.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace tokenade::cli {
namespace {

using Json = nlohmann::ordered_json;

// One archive's outcome, as every output form needs it.
struct ArchiveLine {
    const ContentBasis& basis;
    const IdentifiedArchives& identified;
    size_t index;
    const std::vector<std::string>* taking = nullptr;  // per line, the archive that has its name (text only)

    const FoundArchive& archive() const { return identified.archives.archives[index]; }
    const Identification& found() const { return identified.found[index]; }
    std::string path() const { return identified.archives.pathOf(archive()); }
    std::string game(uint32_t index) const
    {
        const DatGame& game = basis.dat->games[index];
        return game.description.empty() || game.description == game.name
                   ? shown(game.name)
                   : shown(game.description) + " (" + std::string(game.name) + ")";
    }
    // The DATs that list the game, as their names.
    std::vector<std::string_view> dats(uint32_t game) const
    {
        std::vector<std::string_view> names;
        for (const uint16_t dat : basis.dat->datsOf(game))
            names.push_back(basis.dat->datName(dat));
        return names;
    }
    std::string datsText(uint32_t game) const
    {
        std::string text;
        for (const std::string_view name : dats(game))
            text += (text.empty() ? "" : "; ") + std::string(name);
        return text;
    }
    std::string lineText() const { return found().line == kNoLine ? "" : std::string(basis.list->lines[found().line]); }
    std::string expected() const
    {
        return found().line == kNoLine ? "" : basis.lines->expectedName[found().line];
    }
    // The set it is judged as, rom by rom, with a DAT of sets.
    std::optional<SetJudgement> judged(const CliOptions& options) const
    {
        return judgeArchive(basis, identified, index, options.directory, options.setForms);
    }
    std::vector<std::string> extras() const
    {
        std::vector<std::string> names;
        for (const uint32_t entry : found().extras)
            names.push_back(archive().contents.entries[entry].name);
        return names;
    }

    // "holds "Castelo" (castelo), for "Castelo": rename to "Castelo.zip"", ...
    std::string text() const
    {
        const Identification& one = found();
        std::string text;
        switch (one.state) {
        case ContentState::RightName: text = "holds " + game(one.game); break;
        case ContentState::AnotherName:
            text = "holds " + game(one.game) + ", for " + shown(lineText());
            // A rename to a name that another archive has could never be made.
            if (taking && !(*taking)[one.line].empty())
                text += ": a second archive, " + shown((*taking)[one.line]) + " has its name";
            else
                text += ": rename to " + shown(expected());
            break;
        case ContentState::AnotherGame:
            text = shown(archive().name) + " holds " + game(one.game) + ", not " +
                   (one.namedGame != kNoGame ? game(one.namedGame) : shown(basis.list->lines[one.namedLine]));
            break;
        case ContentState::NotOnList: text = "holds " + game(one.game); break;
        case ContentState::Ambiguous:
            text = "holds as much of";
            for (size_t i = 0; i < one.tied.size(); ++i)
                text += (i == 0 ? " " : ", ") + game(one.tied[i]);
            break;
        case ContentState::Incomplete:
            text = partsHeld(one, [&](uint32_t held) { return game(held); });
            break;
        case ContentState::NotInDat: break;
        case ContentState::NotAZip: {
            // "not a zip: a RAR archive" is said once, after the state.
            std::string_view reason = archive().contents.reason;
            if (reason.starts_with(contentStateKey(one.state)))
                reason.remove_prefix(std::min(reason.size(), contentStateKey(one.state).size() + 2));
            text = reason;
            break;
        }
        }
        if (one.forms != 0 && one.holdsGame())
            text += ", " + FamilyForm{0, one.forms}.text();
        // Of one DAT the line says what it did before.
        if (basis.dat->origins.size() > 1 && one.game != kNoGame && one.state != ContentState::Ambiguous)
            text += ", in " + shown(datsText(one.game));
        // An archive may hold thousands of extras: a line names a few.
        constexpr size_t kExtrasNamed = 10;
        const std::vector<uint32_t>& extras = one.extras;
        for (size_t i = 0; i < std::min(extras.size(), kExtrasNamed); ++i)
            text += (i == 0 ? ", with extras: " : ", ") + shown(archive().contents.entries[extras[i]].name);
        if (extras.size() > kExtrasNamed)
            text += " and " + groupedCount(extras.size() - kExtrasNamed) + " more";
        return text;
    }

    Json json() const
    {
        const Identification& one = found();
        Json item;
        item["folder"] = identified.archives.folders[archive().folder];
        item["name"] = archive().name;
        item["state"] = contentStateKey(one.state);
        if (one.game != kNoGame)
            item["game"] = {{"name", basis.dat->games[one.game].name},
                            {"description", basis.dat->games[one.game].description},
                            {"dats", dats(one.game)}};
        if (one.line != kNoLine)
            item["line"] = lineText(), item["expected"] = expected();
        if (one.state == ContentState::Incomplete)
            item["matched"] = one.matched, item["needed"] = one.needed;
        if (one.alsoGame != kNoGame)
            item["also"] = {{"name", basis.dat->games[one.alsoGame].name},
                            {"matched", one.alsoMatched},
                            {"needed", one.alsoNeeded}};
        if (one.state == ContentState::AnotherGame && one.namedGame != kNoGame)
            item["named_game"] = basis.dat->games[one.namedGame].name;
        if (one.state == ContentState::AnotherGame && one.namedLine != kNoLine)
            item["named_line"] = std::string(basis.list->lines[one.namedLine]);
        if (one.state == ContentState::Ambiguous) {
            item["tied"] = Json::array();
            for (const uint32_t game : one.tied)
                item["tied"].push_back(basis.dat->games[game].name);
        }
        if (one.forms != 0) {
            item["forms"] = Json::array();
            for (const SetForm form : kSetForms) {
                if (one.forms & maskOf(form))
                    item["forms"].push_back(setFormKey(form));
            }
        }
        if (!one.clonesHeld.empty()) {
            item["clones_held"] = Json::array();
            for (const uint32_t clone : one.clonesHeld)
                item["clones_held"].push_back(basis.dat->games[clone].name);
        }
        if (!one.extras.empty())
            item["extras"] = extras();
        if (one.state == ContentState::NotAZip)
            item["reason"] = archive().contents.reason;
        return item;
    }
};

std::string closingLine(const ContentBasis& basis, const IdentifiedArchives& identified)
{
    return groupedCount(basis.lines->linesKnown) + " of the list's " + groupedCount(basis.list->lines.size()) +
           " games are in the DAT; " + groupedCount(identified.linesPresent(basis)) + " present by content.\n";
}

// What a set needs that the collection lacks, and whom an archive off the
// list is needed by: "needs pgm.zip (BIOS), missing", "needed by 3 listed sets".
std::string needsNote(const ContentBasis& basis, const CollectionNeeds& needs, size_t archive)
{
    std::string note = unmetText(*basis.dat, needs.unmet[archive]);
    if (needs.neededBy[archive] > 0)
        note += (note.empty() ? "" : ", ") + neededText(needs.neededBy[archive]);
    return note;
}

void addNeeds(Json& item, const ContentBasis& basis, const CollectionNeeds& needs, size_t archive)
{
    if (!needs.unmet[archive].empty()) {
        item["needs"] = Json::array();
        for (const NeedJudged& one : needs.unmet[archive])
            item["needs"].push_back({{"archive", std::string(basis.dat->games[one.need.machine].name) + ".zip"},
                                     {"kind", needKindKey(one.need.kind)},
                                     {"state", needStateKey(one.state)}});
    }
    if (needs.neededBy[archive] > 0)
        item["needed_by"] = needs.neededBy[archive];
}

void printText(const CliOptions& options, const ContentBasis& basis, const IdentifiedArchives& identified,
               const CollectionNeeds& needs)
{
    const std::vector<std::string> taking = archivesTakingLines(ContentFindings{basis, identified});
    for (size_t i = 0; i < identified.found.size(); ++i) {
        const ArchiveLine line{basis, identified, i, &taking};
        std::string detail = line.text();
        if (const std::string note = needsNote(basis, needs, i); !note.empty())
            detail += (detail.empty() ? "" : ", ") + note;
        std::string text = line.path() + ": " + std::string(contentStateKey(line.found().state));
        text += (detail.empty() ? "" : ": " + detail) + "\n";
        if (const auto judgement = line.judged(options))
            text += setDetailText(*basis.dat, *judgement, line.archive().contents);
        printOut(text);
    }
    if (basis.sets) {
        for (const FamilyForm& family : familyForms(*basis.sets, identified.found))
            printOut("family " + shown(basis.dat->games[family.parent].name) + ": " + family.text() + "\n");
    }
    printOut(closingLine(basis, identified));
}

void printJson(const CliOptions& options, const std::string& listPath, const ContentBasis& basis,
               const IdentifiedArchives& identified, const CollectionNeeds& needs)
{
    Json json;
    json["dir"] = options.directory;
    if (options.datPaths.size() == 1)
        json["dat"] = options.datPaths[0];
    else
        json["dat"] = options.datPaths;
    json["dats"] = Json::array();
    for (const DatOrigin& origin : basis.dat->origins)
        json["dats"].push_back({{"name", origin.name}, {"path", origin.path}});
    json["list"] = listPath;
    json["archives"] = Json::array();
    for (size_t i = 0; i < identified.found.size(); ++i) {
        const ArchiveLine line{basis, identified, i};
        Json item = line.json();
        addNeeds(item, basis, needs, i);
        if (const auto judgement = line.judged(options))
            item["set"] = setDetailJson(*basis.dat, *judgement, line.archive().contents);
        json["archives"].push_back(std::move(item));
    }
    json["list_games"] = basis.list->lines.size();
    json["known"] = basis.lines->linesKnown;
    json["present"] = identified.linesPresent(basis);
    if (basis.sets) {
        json["families"] = Json::array();
        for (const FamilyForm& family : familyForms(*basis.sets, identified.found))
            json["families"].push_back({{"parent", basis.dat->games[family.parent].name}, {"form", family.text()}});
    }
    json["opened"] = identified.archives.opened;  // the others came from the cache
    const std::string text = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Rows are written a chunk at a time: the rows of a large collection would
// otherwise be held whole, at the cost of every page of them.
constexpr size_t kCsvChunk = 64 * 1024;

void printCsv(const CliOptions& options, const ContentBasis& basis, const IdentifiedArchives& identified)
{
    std::string rows = "state,folder,name,game,description,line,expected";
    rows += basis.sets ? "," + std::string(kSetCsvColumns) + ",dat\r\n" : ",dat\r\n";
    for (size_t i = 0; i < identified.found.size(); ++i) {
        const ArchiveLine line{basis, identified, i};
        const Identification& one = line.found();
        const DatGame* game = one.game == kNoGame ? nullptr : &basis.dat->games[one.game];
        for (std::string_view field : {contentStateKey(one.state), std::string_view(identified.archives.folders[line.archive().folder]),
                                       std::string_view(line.archive().name), game ? game->name : "",
                                       game ? game->description : ""}) {
            appendCsvField(rows, field);
            rows.push_back(',');
        }
        appendCsvField(rows, line.lineText());
        rows.push_back(',');
        appendCsvField(rows, line.expected());
        if (basis.sets) {
            const auto judgement = line.judged(options);
            const std::string forms = one.forms != 0 ? FamilyForm{0, one.forms}.text() : "";
            appendSetCsvFields(rows, forms, *basis.dat, judgement ? &*judgement : nullptr, line.archive().contents);
        }
        rows.push_back(',');
        appendCsvField(rows, game ? line.datsText(one.game) : "");
        rows += "\r\n";
        if (rows.size() >= kCsvChunk) {
            std::fwrite(rows.data(), 1, rows.size(), stdout);
            rows.clear();
        }
    }
    std::fwrite(rows.data(), 1, rows.size(), stdout);
}

// What `identify` makes of the archives it reads (as ContentProgress), with
// how many are read shown on a progress line, cleared before anything else
// is said.
template <typename Identify>
auto withProgress(const Identify& identify)
{
    ProgressLine progress;
    progress.setStatus("Reading archives...");
    ContentProgress sink;
    sink.archivesRead = progress.filesSeen();
    return identify(sink);
}

// The DAT, the list and the archives identified, or nothing after saying
// why the DAT or the list cannot be used.
std::optional<BasisAndArchives> identifyWithProgress(const CliOptions& options, const std::string& listPath)
{
    IdentifyInputs inputs;
    inputs.directory = options.directory;
    inputs.datPaths = options.datPaths;
    inputs.listPath = listPath;
    inputs.cache.use = !options.noCache;
    inputs.setForms = options.setForms;
    BasisAndArchives both = withProgress([&](const ContentProgress& sink) { return readAndIdentify(inputs, sink); });
    // Each DAT that cannot be read is named; the others still serve.
    for (const DatProblem& problem : both.read.datsUnread)
        printErr("tokenade-audit: " + problem.message() + "\n");
    if (both.read.datProblem && both.read.datsUnread.empty())
        printErr("tokenade-audit: " + both.read.datProblem->message() + "\n");
    if (both.read.listProblem)
        printErr("tokenade-audit: " + both.read.listProblem->path + ": " + both.read.listProblem->reason + "\n");
    if (!both.read.basis)
        return std::nullopt;
    if (const std::string repeats = repeatedGamesWarning(*both.read.basis->dat); !repeats.empty())
        printErr("tokenade-audit: warning: " + repeats + "\n");
    return both;
}

// A file name made of a DAT's name: no folder parts, no control characters.
std::string fixdatFileName(std::string_view datName, std::vector<std::string>& taken)
{
    std::string name;
    for (const char c : datName.substr(0, 200))
        name.push_back(c == '/' || static_cast<unsigned char>(c) < 0x20 ? '_' : c);
    if (name.empty() || name == "." || name == "..")
        name = "DAT";
    std::string file = name + " fixdat.dat";
    for (int n = 2; std::find(taken.begin(), taken.end(), file) != taken.end(); ++n)
        file = name + " (" + std::to_string(n) + ") fixdat.dat";
    taken.push_back(file);
    return file;
}

void saidWritten(const std::string& path, const CollectionFixdat& fixdat, size_t games)
{
    if (!fixdat.form) {
        printErr("tokenade-audit: " + path + ": " + groupedCount(games) + (games == 1 ? " missing game\n" : " missing games\n"));
        return;
    }
    const std::string needed =
        fixdat.needed == 0 ? "" : ", " + groupedCount(fixdat.needed) + " of them needed by the others";
    printErr("tokenade-audit: " + path + ": " + groupedCount(games) + (games == 1 ? " missing set, " : " missing sets, ") +
             std::string(setFormKey(*fixdat.form)) + needed + "\n");
}

// Of several DATs, one fixdat per DAT in the folder --fixdat names (made
// when missing), each file checked as a single fixdat is.
int writeFixdatFolder(const CliOptions& options, const ContentBasis& basis, const CollectionFixdat& fixdat)
{
    const std::string& folder = *options.fixdatPath;
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        printErr("tokenade-audit: cannot make the folder " + folder + ": " + std::strerror(errno) + "\n");
        return kExitWriteFailed;
    }
    OutputGuard guard{{}, options.directory};
    for (const DatOrigin& origin : basis.dat->origins)
        guard.inputs.emplace_back("the DAT", std::string(origin.path));
    std::vector<std::string> taken;
    bool allWritten = true;
    for (uint16_t dat = 0; dat < basis.dat->origins.size(); ++dat) {
        const std::string path = joinPath(folder, fixdatFileName(basis.dat->datName(dat), taken));
        if (const std::string why = whyNotAnOutputFile(path, guard); !why.empty()) {
            printErr("tokenade-audit: " + path + " refused: " + why + "\n");
            allWritten = false;
            continue;
        }
        const CollectionFixdat ofDat = fixdatOfDat(*basis.dat, fixdat, dat);
        if (const auto failure = writeFixdat(path, *basis.dat, ofDat.games, ofDat.description)) {
            printErr("tokenade-audit: cannot write " + failure->path + ": " + failure->reason + "\n");
            allWritten = false;
            continue;
        }
        saidWritten(path, ofDat, ofDat.games.size());
    }
    return allWritten ? kExitAudited : kExitWriteFailed;
}

int writeFixdats(const CliOptions& options, const ContentBasis& basis, const IdentifiedArchives& identified)
{
    if (!options.fixdatPath)
        return kExitAudited;
    const CollectionFixdat fixdat = collectionFixdat(basis, identified, options.setForms);
    if (basis.dat->origins.size() > 1)
        return writeFixdatFolder(options, basis, fixdat);
    if (const auto failure = writeFixdat(*options.fixdatPath, *basis.dat, fixdat.games, fixdat.description)) {
        printErr("tokenade-audit: cannot write " + failure->path + ": " + failure->reason + "\n");
        return kExitWriteFailed;
    }
    saidWritten(*options.fixdatPath, fixdat, fixdat.games.size());
    return kExitAudited;
}

}  // namespace

int identifyRoms(const CliOptions& options, const std::string& listPath)
{
    const std::optional<BasisAndArchives> both = identifyWithProgress(options, listPath);
    if (!both)
        return kExitListUnusable;
    const ContentBasis& basis = *both->read.basis;
    const IdentifiedArchives& identified = both->identified;
    for (const std::string& folder : identified.archives.unreadable)
        printErr("tokenade-audit: warning: cannot read the folder " + joinPath(options.directory, folder) + "\n");
    const CollectionNeeds needs = judgeNeeds(basis, identified);
    if (options.format == OutputFormat::Json)
        printJson(options, listPath, basis, identified, needs);
    else if (options.format == OutputFormat::Csv)
        printCsv(options, basis, identified);
    else
        printText(options, basis, identified, needs);
    return writeFixdats(options, basis, identified);
}

int addContentFindings(const CliOptions& options, const std::string& listPath, AuditResult& result,
                       std::optional<CollectionContent>& content)
{
    std::optional<BasisAndArchives> both = identifyWithProgress(options, listPath);
    if (!both)
        return kExitListUnusable;
    content.emplace(CollectionContent{std::move(*both->read.basis), std::move(both->identified)});
    if (auto warning = wrongContentWarning(content->basis, content->collection))
        result.warnings.push_back(std::move(*warning));
    const CollectionNeeds needs = judgeNeeds(content->basis, content->collection);
    if (auto warning = unmetNeedsWarning(content->basis, content->collection, needs))
        result.warnings.push_back(std::move(*warning));
    return writeFixdats(options, content->basis, content->collection);
}

bool fixdatRefused(const CliOptions& options, const std::string& listPath)
{
    if (!options.fixdatPath)
        return false;
    OutputGuard guard{{{"the supported roms list", listPath}}, options.directory};
    for (const std::string& dat : options.datPaths)
        guard.inputs.emplace_back("the DAT", dat);
    // A folder of fixdats is checked file by file once the DATs are read;
    // here only that it lies neither in the collection nor among the DATs,
    // where the next run would read its fixdats as DATs.
    struct stat status {};
    if (::stat(options.fixdatPath->c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        const std::optional<std::string> real = resolvedPath(*options.fixdatPath);
        std::vector<std::string> within{options.directory};
        within.insert(within.end(), options.datPaths.begin(), options.datPaths.end());
        for (const std::string& place : within) {
            const std::optional<std::string> there = resolvedPath(place);
            if (real && there && (*real == *there || isWithin(*real, *there))) {
                printErr("tokenade-audit: --fixdat " + *options.fixdatPath + " refused: it lies in " + place + "\n");
                return true;
            }
        }
        return false;
    }
    const std::string why = whyNotAnOutputFile(*options.fixdatPath, guard);
    if (!why.empty())
        printErr("tokenade-audit: --fixdat " + *options.fixdatPath + " refused: " + why + "\n");
    return !why.empty();
}

IdentifiedArchives identifySource(const CliOptions& options, const ContentBasis& basis)
{
    IdentifyInputs inputs;
    inputs.directory = options.source;
    inputs.sourceFolder = true;
    inputs.cache.use = !options.noCache;
    inputs.setForms = options.setForms;
    return withProgress([&](const ContentProgress& sink) { return identifyArchives(basis, inputs, sink); });
}

}  // namespace tokenade::cli
