#pragma once

#include "core/content/sets/set_judgement.h"

#include <string>
#include <vector>

namespace tokenade {

// "set pacman, split: incorrect: 1 missing, 1 wrong, 2 left over", "set
// pacman, split: correct": a judgement in one line.
std::string judgementSummary(const DatIndex& dat, const SetJudgement& judgement);

// What keeps a set from being correct, a line each, roms in the set's
// order, then the entries left over, then the disks:
//   "pacman.6e: missing (4,096 bytes, CRC c1e6ab10)"
//   "pacman.6f: wrong: found 2,048 bytes, CRC 00000000; the DAT has 4,096 bytes, CRC 1a6fb2d4"
//   "pacman.6f: correct, a bad dump"
//   "junk.txt: left over"
//   "disk gdrom: missing", "disk gdrom: wrong: its header gives SHA-1 ..., not ..."
// Names come as they are, not escaped. Nothing for a set correct without
// leftovers; disks not required are not named.
std::vector<std::string> judgementLines(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive);

// "4,096 bytes, CRC c1e6ab10".
std::string fileWords(uint64_t size, uint32_t crc);
std::string crcText(uint32_t crc);  // 8 lowercase hex digits

}  // namespace tokenade
