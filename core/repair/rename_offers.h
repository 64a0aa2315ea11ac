#pragma once

#include "core/repair/change_plan.h"
#include "core/results/audit_result.h"
#include "core/sources/folder_scan.h"

#include <string>

namespace tokenade {

struct ContentFindings;

// The renames that an audit of the collection in `directory` calls for, as a
// plan to tick:
// - each near-miss pair: the file takes the name its game expects; ticked
//   unless a caution speaks against it (spacedNameCaution);
// - each cut name (a file named as a whole list line whose period makes the
//   line expect a shorter name) whose shorter name is expected by that one
//   line and is free: the file takes the shorter name; never ticked, since
//   mending the list line may be what the user wants;
// - for each of these, every file of the other kind (`otherKind`: the videos
//   for a ROM audit, the archives for a video audit; may be null) whose name
//   is the file's own but for the extension, compared as the audit compares
//   names, unless a file of that kind already has the new name: it is
//   renamed alike, ticked as the item it follows.
// - with `content` (a ROM audit's, identified against a DAT): a near miss
//   or cut name whose archive the DAT shows to be another game, or part of
//   one, is listed, not ticked, and refused with why
//   (ArchivesByPath::whyDecoy), and its archive is free for the renames by
//   content (addContentRenames), which come before the files that follow
//   them. A refused rename has no followers.
// Folders are resolved to their real paths and each file's identity is taken
// now. An item that cannot be made says why (a name that cannot be a file
// name, a file no longer there, an archive changed since it was read).
ChangePlan planRenameOffers(const AuditResult& result, const std::string& directory, const FoundNames* otherKind,
                            const ContentFindings* content = nullptr);

// `name` without its last extension ("x.zip" -> "x"); a name without one stays.
std::string_view stemOf(std::string_view name);

}  // namespace tokenade
