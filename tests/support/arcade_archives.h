#pragma once

#include "core/content/dat_reader.h"
#include "core/content/sets/set_rules.h"
#include "tests/support/zip_builder.h"

#include <string>

namespace tokenade::testing {

// The real catalogue's extract, and archives built from it in split form.
struct ArcadeExtract {
    std::string path = TOKENADE_TEST_DATA "/arcade/mame_0251_extract.xml";
    DatIndex dat = std::move(*readDatFile(path).dat);
    SetRules rules{dat};

    // The split archive of `machine`, without its last `dropped` roms.
    std::string splitArchive(std::string_view machine, size_t dropped = 0) const
    {
        std::vector<ZipFile> files;
        for (const SetRom& rom : rules.contents(rules.machineNamed(machine), SetForm::Split).roms)
            files.push_back({std::string(dat.roms[rom.rom].name), dat.roms[rom.rom].key.size, dat.roms[rom.rom].key.crc});
        files.resize(files.size() - dropped);
        return zipBytes(files);
    }
};

}  // namespace tokenade::testing
