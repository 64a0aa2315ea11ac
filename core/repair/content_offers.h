#pragma once

#include "core/content/collection_identity.h"
#include "core/repair/change_plan.h"
#include "core/repair/plan_lookups.h"
#include "core/results/audit_result.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tokenade {

// Per item of a plan (by index), the archive whose content it was judged
// on, as that archive was read (into the findings).
using ReadArchives = std::vector<std::pair<size_t, const FoundArchive*>>;

// What identification by content found, for the planners of renames and
// fills that take it. Everything it refers to must outlive the planning.
struct ContentFindings {
    const ContentBasis& basis;
    const IdentifiedArchives& collection;        // the archives of the collection's rom folders
    const IdentifiedArchives* source = nullptr;  // a fill's source folder, searched at any depth
};

// "content: holds Castelo": why an archive is offered for a game's name.
std::string contentReason(const ContentBasis& basis, uint32_t game);

// Per list line: some archive of the collection that does not take a
// line's name (archivesTakingLines) holds the line's game whole, so that a
// rename by content gives the line its archive. An archive that takes a
// line's name keeps it, and one that a near miss of `result` renames takes
// the near miss's name, unless content belies that pair (`belied`, per
// pair: beliedNearMisses): neither mends its game's line.
std::vector<bool> linesMendedByContent(const ContentFindings& content, const AuditResult& result,
                                       const std::vector<std::string>& belied);

// The renames by content, added to `plan` after its near misses and cut
// names, for the ROM audit of `directory`. Per archive that holds a game of
// the list whole (exactly first, then in the order found) under a name that
// is no list line's: the rename to the line's expected name, ticked, with
// the reason (contentReason). Listed but refused, never ticked: a second
// archive of a line that an archive has the name of, or that a near miss or
// an earlier archive is renamed to, and an archive named for one line that
// holds the game of another (it keeps its name). An archive that a near
// miss already renames, or that holds its line's game under that very name,
// is left alone; nothing ambiguous or incomplete is offered. Returns, per
// item added, the archive as it was read.
ReadArchives addContentRenames(ChangePlan& plan, RealFolders& realFolders, const std::string& directory,
                               const ContentFindings& content);

// The archives of one identified folder by the paths they are shown by
// ("roms/x.zip" in a collection, "set/x.zip" below a fill's source), and
// what their content says of an offer made by name. Keeps references to
// `basis` and `archives`, which must outlive it.
class ArchivesByPath {
public:
    ArchivesByPath(const ContentBasis& basis, const IdentifiedArchives& archives);

    // Why the archive at `path`, offered by its name (exact or near) for
    // `line`, is a decoy. With the line's game known to the DAT: the archive
    // is not held to be it ("by content it holds Beta, not Alpha", "1 of 2
    // roms of Alpha", no zip). With the game unknown: the archive holds
    // another line's game whole ("by content it holds Beta"). "" when it is
    // the game, or when content cannot tell (a game off the list may be the
    // line's under another title; the archive was not read).
    std::string whyDecoy(uint32_t line, const std::string& path) const;
    // The archive as read, for refuseChangedSinceRead; null when not read.
    const FoundArchive* archiveAt(const std::string& path) const;
    // What identification made of it; null for an archive not read.
    const Identification* identificationAt(const std::string& path) const;

private:
    const ContentBasis& basis_;
    const IdentifiedArchives& archives_;
    std::unordered_map<std::string, size_t> byPath_;
};

// Per near-miss pair of `result` (as indexed there): why the content of its
// file belies the rename (ArchivesByPath::whyDecoy in the collection), ""
// for a pair that content bears out or cannot judge. A belied pair neither
// renames its file nor mends its missing name.
std::vector<std::string> beliedNearMisses(const ContentFindings& content, const AuditResult& result);

// Per list line, the path of the archive of the collection that takes the
// line's name ("" for none): of the archives named for it, the one spelled
// exactly as the line expects, else the first in plain string order, as the
// audit pairs names. Only that archive keeps its name for the line; another
// spelling is free to be renamed to the game it holds.
std::vector<std::string> archivesTakingLines(const ContentFindings& content);

// What a fill's source folder holds, by list line and by path, as a fill
// by content asks it. Keeps references into `content`.
class SourceByContent {
public:
    // `content.source` must be set. With a DAT of families, only archives
    // that hold their set in one of `forms` hold it for a fill (the forms
    // the collection keeps its sets in).
    explicit SourceByContent(const ContentFindings& content, SetFormMask forms = kAnySetForm);

    // ArchivesByPath::whyDecoy of the source archive at `path` (below the
    // source folder).
    std::string whyDecoy(uint32_t line, const std::string& path) const { return byPath_.whyDecoy(line, path); }
    // The archive that holds the game of `line` whole, exactly first, then
    // the first found; null for none.
    const FoundArchive* holding(uint32_t line) const;
    // The archive as read, for refuseChangedSinceRead.
    const FoundArchive* archiveAt(const std::string& path) const { return byPath_.archiveAt(path); }
    // What identification made of it; null for an archive not read.
    const Identification* identificationAt(const std::string& path) const { return byPath_.identificationAt(path); }
    // The archive that holds `game` whole (in `forms`), exactly first, then
    // the first found, whether the list has the game or not; null for none.
    const FoundArchive* holdingGame(uint32_t game) const;

    const ContentFindings& content() const { return content_; }

private:
    const ContentFindings& content_;
    ArchivesByPath byPath_;
    std::vector<size_t> holderOfLine_;  // per line: an index into the source's archives, or SIZE_MAX
    std::unordered_map<uint32_t, size_t> holderOfGame_;
};

// The copies (or links, `kind`) by content of the missing names of
// `result` (a ROM audit) that the plan's ticked items do not fill already,
// that no near miss mends (but those `belied`, per pair, beliedNearMisses),
// and that no rename by content mends (`mended`):
// per such name whose line's game a source archive holds whole
// (SourceByContent::holding), that archive into `targetFolder` under the
// name, ticked, with the reason. `sourceFolder` is the real path of the
// folder the source was identified in. Returns, per item added, the
// archive as it was read.
ReadArchives addContentFills(ChangePlan& plan, const AuditResult& result, const SourceByContent& source,
                             const std::vector<bool>& mended, const std::vector<std::string>& belied,
                             const std::string& sourceFolder,
                             const std::string& targetFolder, ChangeKind kind);

// Refuses each item (by index) whose file is no longer the one identified,
// its content judged on another file: not the same file, size and mtime,
// or its directory, read again (stillHolds), holding other entries than the
// read (or the cache) said. Items are taken by the
// `from` in `folder` of their change, with identities taken (takeIdentities).
void refuseChangedSinceRead(std::vector<OfferedChange>& items, const ReadArchives& read);

}  // namespace tokenade
