#pragma once

#include "core/content/dat_index.h"
#include "core/foundation/file_identity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Why a DAT cannot be used, and where: the line and column (both from 1) of
// the place that is wrong, or where the file ended.
struct DatProblem {
    std::string path;
    uint64_t line = 0;
    uint64_t column = 0;
    std::string reason;  // "a CRC that is not 8 hex digits: \"12345\"", "cut short", ...

    // "PATH:LINE:COLUMN: REASON", as the command line prints it.
    std::string message() const;
};

// Either the DAT or why there is none.
struct DatRead {
    std::optional<DatIndex> dat;
    DatProblem problem;  // set when there is no DAT
};

// What a DAT may hold before it is refused: enough for the largest arcade DATs.
inline constexpr uint64_t kDatSizeLimit = uint64_t{4} << 30;
inline constexpr size_t kDatGameLimit = size_t{4} << 20;
inline constexpr size_t kDatRomLimit = size_t{32} << 20;
inline constexpr size_t kDatDiskLimit = size_t{4} << 20;
inline constexpr size_t kDatDeviceRefLimit = size_t{32} << 20;
inline constexpr size_t kDatTextLimit = 4096;  // bytes of one name, description or checksum

// Reads the DAT at `path`, a regular file (a link to one is followed), as
// Logiqx XML (`datafile` with `game` or `machine` elements), MAME's own
// catalogue (`mame` with `machine` or `game` elements, its DOCTYPE and all),
// a software list (`softwarelist` > `software` > `part` > `dataarea` > `rom`),
// several of them in one (`softwarelists`, read as one list of their software),
// a ClrMamePro text DAT (`game ( name ... rom ( ... ) disk ( ... ) )`, a
// game named by its comment where it has no name) or an SMDB hash list (a
// file a line: SHA-256, path, SHA-1, MD5, CRC and maybe the size, between
// tabs; the game named by the file's name without its extension): XML when
// the first thing after a byte-order mark and white space is "<", SMDB when
// the file begins with 64 hex digits and a tab.
// Streams the file, keeping only what matching, a fixdat and the set rules
// need (parents, BIOSes, devices, roms, disks), so memory follows the games
// and roms, not the file's size; inputs, switches and the like are passed
// over. A rom marked "nodump", or without a size or a CRC, is kept but
// counted as unmatchable. An SMDB line with a bad checksum or a path
// without a file name is refused too. Refused, with the place: a file that is
// neither form, cut short, another root element, a size that is not a number,
// a CRC that is not 8 hex digits, a game without a name, no games at all,
// and anything over the limits above.
DatRead readDatFile(const std::string& path);
// The same, telling the identity of the file it read.
DatRead readDatFile(const std::string& path, FileIdentity& identity);

// The same for a DAT in memory; `path` only names it in a problem.
DatRead parseDat(std::string_view bytes, const std::string& path);

}  // namespace tokenade
