#pragma once

#include "core/repair/change_plan.h"
#include "core/repair/journal_files.h"
#include "core/results/categories.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The window's own wording of texts the core makes; the report files and the
// command line keep theirs.

// The header a result view shows above `count` names of a category, "\n"
// between its lines: the window's header format with the count, and for one
// name the noun it counts in the singular ("Found 1 missing video:", "Found 1
// video for missing roms:").
std::string shownHeader(const CategoryFacts& facts, size_t count);

// A warning's example ("\"Star Fox \" -> \"Star Fox .zip\"") with the spaces
// that the eye would miss made visible inside each quoted name: those at
// either end, those beside another space or just before the extension, each
// as "␣", and every tab as "⇥". Text outside the quotes stays as it is.
std::string withVisibleSpaces(std::string_view example);

// The heading of the near misses' view of `kind`: what its rows (the
// renames `offers` holds) are, counted by why each is offered, and how many
// paragraphs below them name what is never renamed: "10 renames offered: 7
// near misses, 1 cut name and the 2 videos that go with them. Below, 3
// more that are never renamed." The button's count of near misses is not
// the count of rows: a game's video is a row of its own.
std::string nearMissHeading(AuditKind kind, const ChangePlan& offers, size_t notRenamed);

// What undoing `batch` will do, a line a change, last made first, for the
// question before it: "Remove “Star Fox (USA).zip” from /c/roms", "Move
// “x.zip” back from /c/_set-aside/2026-12-09/roms to /c/roms", "Rename
// “Dr. Mario.zip” back to “Dr Mario.zip” in /c/roms".
std::vector<std::string> undoSteps(const BatchSummary& batch);

}  // namespace tokenade
