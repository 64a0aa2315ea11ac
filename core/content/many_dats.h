#pragma once

#include "core/content/cache_file.h"
#include "core/content/dat_index.h"
#include "core/content/dat_reader.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tokenade {

// At most this many DATs are read as one: DatGame::dat holds which.
inline constexpr size_t kDatCountLimit = 4096;

// The DAT files `paths` name, in the order given: a file as it is, a folder
// as every ".dat", ".xml" and ".zip" below it (letter case aside, at any
// depth, links to files included), in the walk's byte order of names so that
// the same folder always gives the same order. A path named twice counts
// once. A folder that cannot be read, or holds no DAT, is a problem; past
// kDatCountLimit files the rest are one problem too.
std::vector<std::string> datFilesOf(std::span<const std::string> paths, std::vector<DatProblem>& problems);

// Several DATs read as one.
struct ManyDatsRead {
    std::optional<DatIndex> dat;       // those that could be read, as one; nothing when none could
    std::vector<DatProblem> problems;  // each DAT (or folder) that could not be read, with its place
};

// Reads every DAT of datFilesOf(paths), each through its own cache
// (readDatThroughCache; `cache.path` is used only when one file is named)
// and a zip's DATs from inside it, then combines them (combineDats). One that
// cannot be read is a problem and the others still serve.
ManyDatsRead readManyDats(std::span<const std::string> paths, const CacheChoice& cache = {});

// One DAT read, and the file (or "ZIP/MEMBER") it came from.
struct DatPart {
    DatIndex dat;
    std::string path;
};

// The parts as one index: their games, roms, disks and devices one after
// the other, each game marked with its part (DatGame::dat), each part an
// origin named by its header's name, else by its file's name without the
// extension. A game that a later part lists the same (name, roms, disks and
// devices) is kept once, with the later part in `alsoIn`. A single part
// keeps its index as it is, with its origin beside it.
DatIndex combineDats(std::vector<DatPart> parts);

}  // namespace tokenade
