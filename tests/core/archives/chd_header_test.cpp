#include "core/archives/chd_header.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace tokenade::testing {
namespace {

const std::string kData = TOKENADE_TEST_DATA "/archives/";

std::string withBig(std::string bytes, size_t at, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        bytes.at(at + i) = static_cast<char>(value >> (8 * (width - 1 - i)));
    return bytes;
}

// A version 3 or 4 header: 4 hunks of 512 bytes holding 2,000, its map after it, SHA-1s of
// bytes 0x11 (whole), 0x22 (data, version 4) and 0x33 (parent, which the flags may name).
std::string oldHeader(uint32_t version, bool hasParent = false)
{
    const bool v3 = version == 3;
    std::string bytes = "MComprHD" + std::string(v3 ? 176 : 164, '\0');
    for (const auto& [at, value, width] : {std::tuple<size_t, uint64_t, size_t>{8, v3 ? 120 : 108, 4}, {12, version, 4},
                                           {16, hasParent, 4}, {24, 4, 4}, {28, 2000, 8}, {v3 ? 76u : 44u, 512, 4}})
        bytes = withBig(bytes, at, value, width);
    bytes.replace(v3 ? 80 : 48, 20, 20, '\x11').replace(v3 ? 100 : 68, 20, 20, '\x33');
    return v3 ? bytes : bytes.replace(88, 20, 20, '\x22');
}

ChdRead parse(const std::string& bytes) { return parseChdHeader(bytes, bytes.size(), "x.chd"); }

TEST(ChdHeader, ReadsEachVersion)
{
    const std::string ones(40, '1'), twos(40, '2'), threes(40, '3'), data = "dd3d1453b5235ab92ba8eb55388caba6da4d16d1";
    using Facts = std::tuple<uint32_t, uint64_t, uint32_t, uint64_t, std::string, std::string, std::string>;
    const std::tuple<const char*, ChdRead, Facts> cases[] = {
        {"version 5, four compressors", readChdHeader(kData + "v5_raw_four_compressors.chd"),
         {5, 2048, 512, 4, "81332040808d616bd14ef61b2b2a876b6c110db1", data, ""}},
        {"version 5 with metadata", readChdHeader(kData + "v5_hard_disk_with_metadata.chd"),
         {5, 2048, 1024, 2, "f8cd70ca45be79666b5d11cd7135770091958d51", data, ""}},
        {"version 4 of a parent", parse(oldHeader(4, true)), {4, 2000, 512, 4, ones, twos, threes}},
        {"version 3, one SHA-1", parse(oldHeader(3)), {3, 2000, 512, 4, ones, ones, ""}},
    };
    for (const auto& [image, read, expected] : cases) {
        SCOPED_TRACE(image);
        ASSERT_TRUE(read.header) << read.problem.message();
        const ChdHeader& h = *read.header;
        EXPECT_EQ(std::tie(h.version, h.logicalBytes, h.hunkBytes, h.hunkCount, h.sha1, h.rawSha1, h.parentSha1), expected);
    }
}

TEST(ChdHeader, RefusesWhatDoesNotHoldTogether)
{
    std::ifstream file(kData + "v5_hard_disk_with_metadata.chd", std::ios::binary);
    const std::string v5{std::istreambuf_iterator<char>(file), {}};
    const std::pair<ChdRead, const char*> cases[] = {
        {readChdHeader(kData), "archives/: byte 0: not a regular file"},
        {readChdHeader(kData + "v5_blank_hard_disk_without_sha1.chd"), "byte 84: no SHA-1: the image is blank"},
        {parse("PK\3\4 and more bytes of a zip"), "x.chd: byte 0: not a CHD: it does not begin with"},
        {parse(withBig(v5, 12, 2, 4)), "byte 12: a CHD of version 2; only"},
        {parse(withBig(v5, 8, 108, 4)), "byte 8: a header of 108 bytes, where version 5 has 124"},
        {parse(v5.substr(0, 100)), "byte 100: cut short: the file ends inside the header of 124"},
        {parse(withBig(v5, 56, 0, 4)), "byte 56: hunks of 0 bytes"},
        {parse(withBig(v5, 60, 1000, 4)), "byte 60: hunks of 1024 bytes are not whole units of 1000"},
        {parse(withBig(v5, 40, 4096, 8)), "byte 40: its hunk map at byte 4096 lies outside the file of 205 bytes"},
        {parse(withBig(v5, 48, 100, 8)), "byte 48: its metadata at byte 100 lies outside"},
        {parse(withBig(withBig(v5, 16, 0, 4), 32, 1 << 20, 8)), "byte 205: cut short: the map of its 1024 hunks does not fit"},
        {parse(withBig(oldHeader(4), 24, 3, 4)), "byte 28: a logical size of 2000 bytes, more than its 3 hunks of 512"},
        {parse(oldHeader(3).substr(0, 150)), "byte 150: cut short: the map of its 4 hunks"},
    };
    for (const auto& [read, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_NE(read.problem.message().find(message), std::string::npos) << read.problem.message();
    }
}

}  // namespace
}  // namespace tokenade::testing
