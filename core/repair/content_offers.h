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

// Per list line: some archive of the collection that is not named for a
// line holds the line's game whole, so that a rename by content gives the
// line its archive. An archive named for a line keeps its name, and one
// that a near miss of `result` renames takes the near miss's name: neither
// mends its game's line.
std::vector<bool> linesMendedByContent(const ContentFindings& content, const AuditResult& result);

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

// What a fill's source folder holds, by list line and by path, as a fill
// by content asks it. Keeps references into `content`.
class SourceByContent {
public:
    // `content.source` must be set. With a DAT of families, only archives
    // that hold their set in one of `forms` hold it for a fill (the forms
    // the collection keeps its sets in).
    explicit SourceByContent(const ContentFindings& content, SetFormMask forms = kAnySetForm);

    // Why the source archive at `path` (below the source folder), offered by
    // its name for `line`, is a decoy: the DAT knows the line's game and the
    // archive is not held to be it ("by content it holds Beta, not Alpha",
    // "1 of 2 roms of Alpha", no zip). "" when it is the game, or when
    // content cannot tell (the DAT does not know the game, the archive was
    // not read).
    std::string whyDecoy(uint32_t line, const std::string& path) const;
    // The archive that holds the game of `line` whole, exactly first, then
    // the first found; null for none.
    const FoundArchive* holding(uint32_t line) const;
    // The archive as read, for refuseChangedSinceRead.
    const FoundArchive* archiveAt(const std::string& path) const;
    // What identification made of it; null for an archive not read.
    const Identification* identificationAt(const std::string& path) const;
    // The archive that holds `game` whole (in `forms`), exactly first, then
    // the first found, whether the list has the game or not; null for none.
    const FoundArchive* holdingGame(uint32_t game) const;

    const ContentFindings& content() const { return content_; }

private:
    const ContentFindings& content_;
    std::unordered_map<std::string, size_t> byPath_;
    std::vector<size_t> holderOfLine_;  // per line: an index into the source's archives, or SIZE_MAX
    std::unordered_map<uint32_t, size_t> holderOfGame_;
};

// The copies (or links, `kind`) by content of the missing names of
// `result` (a ROM audit) that the plan's ticked items do not fill already,
// that no near miss mends, and that no rename by content mends (`mended`):
// per such name whose line's game a source archive holds whole
// (SourceByContent::holding), that archive into `targetFolder` under the
// name, ticked, with the reason. `sourceFolder` is the real path of the
// folder the source was identified in. Returns, per item added, the
// archive as it was read.
ReadArchives addContentFills(ChangePlan& plan, const AuditResult& result, const SourceByContent& source,
                             const std::vector<bool>& mended, const std::string& sourceFolder,
                             const std::string& targetFolder, ChangeKind kind);

// Refuses each item (by index) whose file is no longer the one identified,
// its content judged on another file: not the same file, size and mtime,
// or its directory, read again (stillHolds), holding other entries than the
// read (or the cache) said. Items are taken by the
// `from` in `folder` of their change, with identities taken (takeIdentities).
void refuseChangedSinceRead(std::vector<OfferedChange>& items, const ReadArchives& read);

}  // namespace tokenade
