#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// What the header of a CHD (a compressed hard disk, CD or laserdisc image)
// says about the image, versions 3, 4 and 5. The SHA-1s are 40 lowercase hex
// digits.
struct ChdHeader {
    uint32_t version = 0;
    uint64_t logicalBytes = 0;  // the size of the disk the image holds
    uint32_t hunkBytes = 0;     // the image is stored in hunks of this size
    uint64_t hunkCount = 0;
    // The image's own SHA-1, the one DATs give for the disk: of the data and
    // the metadata together (versions 4 and 5), of the data (version 3, which
    // hashes nothing else).
    std::string sha1;
    std::string rawSha1;     // of the data alone
    std::string parentSha1;  // "" unless the image holds only its changes to a parent image
};

// Why a file is not a CHD header we can use, and where: the byte offset of
// the field that is wrong, or where the file ended.
struct ChdProblem {
    std::string path;
    uint64_t offset = 0;
    std::string reason;  // "not a CHD: it does not begin with \"MComprHD\"", "cut short: ...", ...

    // "PATH: byte OFFSET: REASON".
    std::string message() const;
};

// Either the header or why there is none.
struct ChdRead {
    std::optional<ChdHeader> header;
    ChdProblem problem;  // set when there is no header
};

// The most a header takes (version 5's); reading this much from the front
// of a file is enough for parseChdHeader.
inline constexpr size_t kChdHeaderBytesRead = 124;

// Reads the header of the CHD at `path`, a regular file (a link to one is
// followed); reads its first bytes only and never its data, so the SHA-1s
// are the ones the image claims, not checked against its hunks. Refused,
// with the place: a file that cannot be opened or read or is not a regular
// file, and whatever parseChdHeader refuses.
ChdRead readChdHeader(const std::string& path);

// The header in `front` (the first bytes of a file of `fileBytes` bytes, at
// least kChdHeaderBytesRead of them when the file has that many). Refused:
// a file that does not begin with the CHD's magic word, a version other than
// 3, 4 and 5, a header length that is not the version's, a file cut short in
// its header or its hunk map, hunks of no bytes (or not whole units, in
// version 5), a logical size its hunks cannot hold, a map or metadata said
// to lie outside the file, and an image whose SHA-1 was never set (a blank
// or unfinished one). `path` only names the file in a problem.
ChdRead parseChdHeader(std::string_view front, uint64_t fileBytes, const std::string& path);

}  // namespace tokenade
