#pragma once

#include "core/content/dat_reader.h"
#include "core/content/dat_source.h"

#include <string>
#include <string_view>

namespace tokenade {

// The readers behind readDatFile, each given the first chunk already
// taken from `source` (it told which form the DAT has), the rest to come, and
// the DAT's size in bytes.

// The DAT `source` holds, in whichever form its first chunk shows.
DatRead parseDatSource(DatSource& source, const std::string& path, uint64_t bytes);

// Logiqx XML and software lists, through expat.
DatRead parseXmlDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes);

// ClrMamePro text.
DatRead parseTextDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes);

// An SMDB hash list: one file a line.
DatRead parseSmdbDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes);
// Whether the first chunk begins as an SMDB list does: a SHA-256 and a tab.
bool looksLikeSmdb(std::string_view first);

}  // namespace tokenade
