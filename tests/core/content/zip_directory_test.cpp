#include "core/content/crc32.h"
#include "core/content/zip_directory.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace tokenade::testing {
namespace {

ZipShape shaped(bool ZipShape::*flag, bool value = true)
{
    ZipShape shape;
    shape.*flag = value;
    return shape;
}

const std::vector<ZipFile> kTwoRoms = {{"alpha.bin", 8192, 0x07a3d3db}, {"readme.txt", 5, 0x3610a686}};

// `bytes` with `width` bytes at `at` (counted from the end when negative)
// set to the little-endian `value`.
std::string patched(std::string bytes, ptrdiff_t at, uint64_t value, int width = 4)
{
    const size_t from = at < 0 ? bytes.size() - static_cast<size_t>(-at) : static_cast<size_t>(at);
    for (int i = 0; i < width; ++i)
        bytes[from + i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

constexpr ptrdiff_t kEnd = -22;  // the end record of an archive without a comment

TEST(Crc32, KnownValueAndForgedBytes)
{
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc32("6789", crc32("12345")), 0xCBF43926u);
    for (uint32_t wanted : {0u, 0x07a3d3dbu, 0xFFFFFFFFu})
        EXPECT_EQ(crc32(bytesWithCrc(4099, wanted)), wanted);
}

// Every shape writers give, and the archives that other zip tools read
// whole though they bend the format.
TEST(ZipDirectory, ReadsEveryShapeOfDirectory)
{
    const std::string plain = zipBytes(kTwoRoms);
    const std::string commented = zipBytes(kTwoRoms, {.comment = "abc"});
    std::vector<ZipFile> most;
    for (uint32_t i = 0; i < 0xFFFF; ++i)
        most.push_back({std::to_string(i), 4, i});
    const std::vector<ZipFile> accented = {{"\xC3\xA9t\xC3\xA9.bin", 4, 1}};
    const struct {
        const char* shape;
        std::string bytes;
        std::vector<ZipFile> files;  // as read
    } cases[] = {
        {"plain", plain, kTwoRoms},
        {"comment", zipBytes(kTwoRoms, {.comment = std::string(5000, 'c')}), kTwoRoms},
        {"zip64", zipBytes(kTwoRoms, shaped(&ZipShape::zip64)), kTwoRoms},
        {"data descriptors", zipBytes(kTwoRoms, shaped(&ZipShape::dataDescriptors)), kTwoRoms},
        {"CP437 name", zipBytes({{"\x82t\x82.bin", 4, 1}}, shaped(&ZipShape::utf8Names, false)), accented},
        {"UTF-8 name", zipBytes(accented), accented},
        {"folder left out", zipBytes({{"sub/", 0, 0}, {"sub/a.bin", 4, 2}}), {{"sub/a.bin", 4, 2}}},
        {"a byte after the end record", plain + "x", kTwoRoms},
        {"512 zero bytes after it", plain + std::string(512, '\0'), kTwoRoms},
        {"zeros past the first read", plain + std::string(5000, '\0'), kTwoRoms},
        {"a comment longer than declared", patched(commented, -5, 1, 2), kTwoRoms},
        {"a comment shorter than declared", patched(commented, -5, 300, 2), kTwoRoms},
        {"zip64, disk numbers all ones", patched(zipBytes(kTwoRoms, shaped(&ZipShape::zip64)), kEnd + 4, ~0u), kTwoRoms},
        {"65,535 entries without zip64, far beyond the first read", zipBytes(most), most},
    };
    for (const auto& good : cases) {
        SCOPED_TRACE(good.shape);
        const ZipDirectory read = parseZipDirectory(good.bytes);
        ASSERT_EQ(read.problem, ZipProblem::None) << read.reason;
        ASSERT_EQ(read.entries.size(), good.files.size());
        for (size_t i = 0; i < good.files.size(); ++i) {
            EXPECT_EQ(read.entries[i].name, good.files[i].name);
            EXPECT_EQ(read.entries[i].size, good.files[i].size);
            EXPECT_EQ(read.entries[i].crc, good.files[i].crc);
        }
    }
}

struct BadZip {
    const char* fault;
    std::string bytes;
    ZipProblem problem;
    const char* reason;  // what the reason must hold
};

TEST(ZipDirectory, RefusesWhatIsNotAWholeZip)
{
    const std::string plain = zipBytes(kTwoRoms);
    const std::string zip64 = zipBytes(kTwoRoms, shaped(&ZipShape::zip64));
    const size_t entry = plain.find("PK\x01\x02");
    const size_t entry64 = zip64.find("PK\x01\x02");
    const size_t record64 = zip64.find("PK\x06\x06");
    const std::vector<BadZip> cases = {
        {"empty file", "", ZipProblem::Empty, "an empty file"},
        {"RAR under a zip name", std::string("Rar!\x1A\x07\x01\x00 rest", 14), ZipProblem::NotAZip, "a RAR archive"},
        {"7z under a zip name", std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8), ZipProblem::NotAZip, "a 7z archive"},
        {"text", std::string(100, 'x'), ZipProblem::NotAZip, "not a zip"},
        {"cut short", plain.substr(0, plain.size() - 30), ZipProblem::CutShort, "missing"},
        {"end record cut short", plain.substr(0, plain.size() - 1), ZipProblem::CutShort, "missing"},
        {"end record beyond the longest comment", plain + std::string(70000, '\0'), ZipProblem::CutShort, "missing"},
        {"directory offset past its end", patched(plain, kEnd + 16, plain.size()), ZipProblem::DamagedDirectory,
         "runs past its end record"},
        {"more entries than the directory holds", patched(patched(plain, kEnd + 8, 9, 2), kEnd + 10, 9, 2),
         ZipProblem::DamagedDirectory, "cannot fit"},
        {"entry signature damaged", patched(plain, entry, 'X', 1), ZipProblem::DamagedDirectory, "no entry at byte"},
        {"name longer than the directory", patched(plain, plain.rfind("PK\x01\x02") + 28, 0xFFFF, 2),
         ZipProblem::DamagedDirectory, "runs past the directory's end"},
        {"local header after the directory", patched(plain, entry + 42, 0x7FFFFFFF), ZipProblem::DamagedDirectory,
         "lies past the directory"},
        {"spans disks", patched(plain, kEnd + 4, 1, 1), ZipProblem::DamagedDirectory, "several disks"},
        {"zip64 record missing", patched(plain, kEnd + 16, ~0u), ZipProblem::DamagedDirectory,
         "zip64 end record is missing"},
        {"zip64 on several disks", patched(zip64, kEnd - 4, 2), ZipProblem::DamagedDirectory, "several disks"},
        {"zip64 locator points nowhere", patched(zip64, kEnd - 20 + 8, 0x7FFFFFF0), ZipProblem::DamagedDirectory,
         "points nowhere"},
        {"zip64 sizes missing from the extra field", patched(zip64, entry64 + 46 + 9, 'X', 1),  // the extra field's id
         ZipProblem::DamagedDirectory, "zip64 sizes are missing"},
        {"zip64 extra field longer than the extras", patched(zip64, entry64 + 46 + 9 + 2, 0xFFFF, 2),
         ZipProblem::DamagedDirectory, "zip64 sizes are missing"},
        {"absurd number of entries", patched(patched(zip64, record64 + 24, 2'000'000'000), record64 + 32, 2'000'000'000),
         ZipProblem::TooManyEntries, "2,000,000,000 entries, over the 65,536 read"},
    };
    for (const BadZip& bad : cases) {
        SCOPED_TRACE(bad.fault);
        const ZipDirectory read = parseZipDirectory(bad.bytes);
        EXPECT_EQ(read.problem, bad.problem) << read.reason;
        EXPECT_NE(read.reason.find(bad.reason), std::string::npos) << read.reason;
        EXPECT_TRUE(read.entries.empty());
    }
}

}  // namespace
}  // namespace tokenade::testing
