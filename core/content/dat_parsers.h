#pragma once

#include "core/content/dat_reader.h"
#include "core/content/dat_source.h"

#include <string>
#include <string_view>

namespace tokenade {

// The two readers behind readDatFile, each given the first chunk already
// taken from `source` (it told which form the DAT has) and the rest to come.

// Logiqx XML and software lists, through expat.
DatRead parseXmlDat(DatSource& source, std::string_view first, const std::string& path);

// ClrMamePro text.
DatRead parseTextDat(DatSource& source, std::string_view first, const std::string& path);

}  // namespace tokenade
