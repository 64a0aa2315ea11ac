#pragma once

#include "core/content/zip_directory.h"

#include <cstdint>
#include <string>

namespace tokenade {

// What the bytes of one entry of a zip say against what the archive (and the
// DAT) says of them.
enum class EntryState : uint8_t {
    Intact,         // its local header agrees and its data gives the CRC (and the SHA-1) expected
    Corrupt,        // it does not: `found` and `expected` say how
    NotVerifiable,  // stored in a way this reader does not decompress: `found` names it
    Unreadable,     // the system refused to read it, or the file shrank meanwhile: `found` says why
};

struct EntryFinding {
    EntryState state = EntryState::Intact;
    std::string found;     // "its data gives CRC 1a2b3c4d", "its local header names \"b.bin\"", ...
    std::string expected;  // "CRC 89abcdef, as its central directory says", ...
    uint64_t bytes = 0;    // the bytes decompressed and checked
};

// An entry whose data claims more than this is inflated a piece at a time,
// never held whole.
inline constexpr uint64_t kWholeEntryLimit = uint64_t{256} << 20;

// Checks the entry `entry` of the zip open as `fd` (`fileSize` bytes),
// `data` telling where it lies: its local header against the central entry
// (name, method, and the sizes and CRC unless a data descriptor follows the
// data), then its data, stored or DEFLATE, decompressed and checked against
// the central CRC and size and, when `sha1` is not "", that SHA-1 (40 hex
// digits, either case). Nothing is allocated for more than the file could
// hold: a size DEFLATE cannot reach from the compressed bytes is corrupt
// before a byte is read. Stops reading early only on a fault.
EntryFinding checkZipEntry(int fd, uint64_t fileSize, const ZipEntry& entry, const ZipEntryData& data,
                           const std::string& sha1 = "");

// The name of a zip compression method: "Deflate64", "LZMA", ... or
// "method N" for one without a known name.
std::string zipMethodName(uint16_t method);

}  // namespace tokenade
