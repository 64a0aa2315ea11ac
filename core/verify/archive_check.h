#pragma once

#include "core/content/dat_index.h"
#include "core/verify/entry_check.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tokenade {

// What an archive's bytes say, worst first: a corrupt entry outweighs one
// that cannot be verified.
enum class ArchiveVerdict : uint8_t {
    Intact,         // every entry checked and right
    Corrupt,        // at least one entry is not what the archive says of it
    NotVerifiable,  // the others right, but an entry is stored in a way not decompressed here
    Unreadable,     // not a zip whose entries can be read: `reason` says why
};

// "intact", "corrupt", "not verifiable", "unreadable": the words of the
// outputs, text, JSON and CSV alike.
std::string_view archiveVerdictKey(ArchiveVerdict verdict);

// One entry that is not intact, and why.
struct EntryReport {
    std::string name;
    EntryFinding finding;
};

struct ArchiveCheck {
    ArchiveVerdict verdict = ArchiveVerdict::Intact;
    std::string reason;                // Unreadable: why, as the directory reader or the system said
    std::vector<EntryReport> entries;  // the entries that are not intact, in directory order
    uint64_t entriesChecked = 0;
    uint64_t bytesChecked = 0;         // the decompressed bytes whose checksums were taken
};

// The SHA-1s a DAT gives, looked up by an entry's size and CRC; a key the
// DAT gives two SHA-1s for is left out, as neither can be told right.
class Sha1ByContent {
public:
    Sha1ByContent() = default;
    explicit Sha1ByContent(const DatIndex& dat);
    // The SHA-1 of the DAT's rom with this size and CRC, or "" when none.
    std::string find(const ContentKey& key) const;

private:
    std::vector<std::pair<ContentKey, std::string_view>> sorted_;
};

// Opens the regular file at `path` (a link is not followed), reads its
// central directory and checks every entry (checkZipEntry), the SHA-1 too
// where `sha1s` knows the entry's size and CRC. A corrupt entry does not
// stop the others being checked.
ArchiveCheck checkZipArchive(const std::string& path, const Sha1ByContent& sha1s = {});

}  // namespace tokenade
