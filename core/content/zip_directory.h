#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// One file of an archive as the archive's central directory lists it.
struct ZipEntry {
    uint64_t size = 0;  // uncompressed
    uint32_t crc = 0;
    std::string name;   // UTF-8 (a CP437 name converted); "" when the entry came from the cache
};

// Where an entry's data lies and how it is stored, as its central directory
// says: for a reader that decompresses it and checks its local header.
struct ZipEntryData {
    uint64_t localAt = 0;     // the byte its local header starts at
    uint64_t compressed = 0;  // the bytes of its data as stored
    uint16_t method = 0;      // 0 stored, 8 DEFLATE, ...
    uint16_t flags = 0;       // the general purpose flags
    std::string rawName;      // the name's bytes as stored, not converted
};

// Why an archive's central directory could not be read.
enum class ZipProblem : uint8_t {
    None,
    Empty,             // zero bytes
    NotAZip,           // no end of central directory and no zip signature: a RAR, a 7z, a text ...
    CutShort,          // a zip whose end (or part of its directory) is missing
    DamagedDirectory,  // the directory is there but does not hold together
    TooManyEntries,    // more entries, or a larger directory, than an archive of a game has
    Unreadable,        // the system refused to open or read it
};

// What an archive holds, or why that is not known.
struct ZipDirectory {
    ZipProblem problem = ZipProblem::None;
    std::string reason;             // "" when read; else for the user, with the byte offset where it applies
    std::vector<ZipEntry> entries;  // the files in directory order; folders are left out. Empty on a problem.
};

// At most this many entries, and this many bytes of central directory, are read.
inline constexpr uint64_t kZipEntryLimit = 65536;
inline constexpr uint64_t kZipDirectoryLimit = 16u << 20;

// Reads the central directory of the `size` bytes open as `fd`, decompressing
// nothing: the end records (zip64 ones included, an archive comment allowed),
// then every entry's size and CRC-32 (those of the directory, so that data
// descriptors do not matter) and its name, UTF-8 when the entry says so and
// CP437 otherwise. Every offset and count is checked against the file before
// it is used; an archive that fails a check has no entries, only a problem.
// Reads the last 4 KiB first and, for most archives of a few files, nothing
// more. Does not close `fd`. With `data`, it also gets, one for each of the
// entries returned, where that entry's data lies (cleared on a problem).
ZipDirectory readZipDirectory(int fd, uint64_t size, std::vector<ZipEntryData>* data = nullptr);

// The same for an archive held in memory.
ZipDirectory parseZipDirectory(std::string_view bytes, std::vector<ZipEntryData>* data = nullptr);

// Opens the regular file at `path` (a link is not followed) and reads it.
ZipDirectory readZipFile(const std::string& path);

// The words for a problem, as reasons begin: "not a zip", "cut short", ...
std::string_view zipProblemWords(ZipProblem problem);

}  // namespace tokenade
