#pragma once

#include "core/content/dat_reader.h"
#include "core/content/dat_source.h"

#include <string>
#include <string_view>

namespace tokenade {

// The two readers behind readDatFile, each given the first chunk already
// taken from `source` (it told which form the DAT has), the rest to come, and
// the DAT's size in bytes.

// Logiqx XML and software lists, through expat.
DatRead parseXmlDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes);

// ClrMamePro text.
DatRead parseTextDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes);

}  // namespace tokenade
