#pragma once

#include "core/content/cache_file.h"
#include "core/content/dat_reader.h"

#include <string>
#include <vector>

namespace tokenade {

// Whether the regular file at `path` begins as a zip does.
bool looksLikeZip(const std::string& path);

// One DAT read from inside a zip.
struct ZippedDat {
    std::string path;  // "ZIP/MEMBER"
    DatRead read;
};

// Each file of the zip at `path` whose name ends in ".dat" or ".xml" (letter
// case aside) read as a DAT from inside the zip, stored or deflated, unpacked
// as it is read, in the zip's order; each index goes through a cache of its
// own (readThroughDatCache), counted for the zip's identity. The zip is a
// file we did not write: its directory is read within kZipEntryLimit entries
// and kZipDirectoryLimit bytes, every offset checked against the file; a
// member is held to kDatSizeLimit, to its directory's size and CRC, and
// refused when encrypted, in zip64 form or packed otherwise. A zip that
// cannot be read, or holds no DAT, is one DatRead with its problem.
std::vector<ZippedDat> readZippedDats(const std::string& path, const CacheChoice& cache = {});

}  // namespace tokenade
