#pragma once

#include "core/repair/change_plan.h"
#include "core/results/audit_result.h"

#include <stop_token>
#include <string>

namespace tokenade {

struct ContentFindings;

// Where a fill takes the missing games from, and where they go.
struct FillRequest {
    std::string directory;     // the Tokenade directory the audit was made of
    std::string source;        // searched at any depth for files of the audit's extension
    std::string targetFolder;  // a folder of the kind's set or below one ("romsConsoles/Genesis"), relative to
                               // the directory; "" for the first of the set ("roms", "videos")
    bool link = false;         // hard links instead of copies
};

// The copies that fill the missing names of `result` (a ROM or video audit)
// from the source folder. A source file is offered for a missing name when
// its key is that name's (letter case and composition aside), or else when
// its near key is that name's and no other missing name nor source file
// shares that near key (as for near misses): so another region or revision
// in brackets is never taken. Of several files with the key, the one spelled
// exactly as expected is taken, else the first by its path. Missing names
// that a near miss of the collection itself mends are left to the rename.
// With `content` (a ROM audit's, its collection and `source` identified
// against a DAT): by name first, then by content. A name offer, exact or
// near, whose archive the DAT shows to be another game, or part of one, is
// listed, not ticked, and refused with why (SourceByContent::whyDecoy); a
// near miss of the collection that content belies mends nothing; a name
// that a rename by content mends is left to it; a missing name left is
// filled with a source archive that holds its game whole (addContentFills).
// With a DAT of arcade sets, by content only an archive that holds its set
// in the collection's form (fillForms) is taken, and each set filled brings
// the parent, BIOS and device archives it needs that the collection lacks,
// as far as the source holds them (addSetNeedFills).
// Each offer is a Copy (or a Link) of the source file into the target
// folder under the expected name, with its differences and size, ticked
// unless a caution speaks against it (spacedNameCaution);
// `freeSpace` is that of the target folder's file system. `problem`, with no
// items: the source is inside the Tokenade directory, is or holds one of its
// rom or video folders, or holds the directory; the target is neither of the set nor below one;
// the source cannot be read. Reads the disk, changes nothing. Stops between
// folders once `stop` is requested, with what it found so far.
ChangePlan planFill(const AuditResult& result, const FillRequest& request, std::stop_token stop = {},
                    const ContentFindings* content = nullptr);

// The `problem` that planFill would find before reading the source (the
// target, the paths, a source inside the collection or holding it), or "":
// checked before the source is searched by content, which reads every archive.
std::string whyFillRefused(const AuditResult& result, const FillRequest& request);

}  // namespace tokenade
