#pragma once

#include "core/content/sets/set_judgement.h"

#include <span>
#include <string>
#include <vector>

namespace tokenade {

// The disks (CHDs) of `machine`'s set in `form`, each looked for as
// `<folder>/<set>/<disk>.chd` below `directory`, in each of `folders` in
// turn (the rom folders), where <set> is the machine that lists the disk,
// then its parent, then `machine` (a merged family keeps its clones' disks
// in the parent's folder), and <disk> its name, then the name its `merge`
// gives. Only each file's header is read (readChdHeader), never its data:
// the SHA-1 is the one the image claims. The first file found decides; a
// disk never dumped or optional is judged but not required.
std::vector<DiskVerdict> judgeDisks(const SetRules& rules, uint32_t machine, SetForm form, const std::string& directory,
                                    std::span<const std::string> folders);

}  // namespace tokenade
