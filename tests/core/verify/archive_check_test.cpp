#include "core/content/dat_reader.h"
#include "core/foundation/sha1.h"
#include "core/verify/archive_check.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <functional>

namespace tokenade {
namespace {

void put(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

// A zip of one entry `name` holding `data`, DEFLATE or stored; `change`
// may then damage the local header (from byte 0), the data (from byte 30 +
// the name) or the central entry (from `centralAt`).
struct OneEntryZip {
    std::string bytes;
    size_t dataAt = 0, centralAt = 0;

    OneEntryZip(const std::string& name, const std::string& data, bool deflate)
    {
        std::string stream = data;
        if (deflate) {
            libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
            stream.resize(libdeflate_deflate_compress_bound(compressor, data.size()));
            stream.resize(libdeflate_deflate_compress(compressor, data.data(), data.size(), stream.data(), stream.size()));
            libdeflate_free_compressor(compressor);
        }
        const uint32_t crc = static_cast<uint32_t>(libdeflate_crc32(0, data.data(), data.size()));
        const auto header = [&](std::string& out) {
            put(out, deflate ? 8 : 0, 2), put(out, 0, 4), put(out, crc, 4);
            put(out, stream.size(), 4), put(out, data.size(), 4), put(out, name.size(), 2), put(out, 0, 2);
        };
        bytes = "PK\x03\x04";
        put(bytes, 20, 2), put(bytes, 0, 2), header(bytes);
        bytes += name, dataAt = bytes.size(), bytes += stream, centralAt = bytes.size();
        bytes += "PK\x01\x02";
        put(bytes, 20, 2), put(bytes, 20, 2), put(bytes, 0, 2), header(bytes), put(bytes, 0, 10), put(bytes, 0, 4);
        bytes += name;
        const size_t size = bytes.size() - centralAt;
        bytes += "PK\x05\x06";
        put(bytes, 0, 4), put(bytes, 1, 2), put(bytes, 1, 2), put(bytes, size, 4), put(bytes, centralAt, 4), put(bytes, 0, 2);
    }
};

std::string romData()
{
    std::string data;
    for (int i = 0; i < 40000; ++i)
        data += static_cast<char>(i % 7 == 0 ? i * 13 : 'a' + i % 5);
    return data;
}

struct Case {
    const char* fault;
    bool deflate;
    std::function<void(OneEntryZip&)> damage;
    ArchiveVerdict verdict;
    const char* said;  // in the reason, or the first entry's finding
};

TEST(ArchiveCheck, EachFaultOfAHandMadeZipIsFoundAndSaid)
{
    // A field of the local header and the same of the central entry, two bytes further on.
    const auto both = [](size_t field, uint32_t value) {
        return [=](OneEntryZip& zip) {
            for (const size_t at : {field, zip.centralAt + field + 2}) {
                for (int i = 0; i < 4; ++i)
                    zip.bytes[at + i] = static_cast<char>(value >> (8 * i));
            }
        };
    };
    const std::vector<Case> cases = {
        {"good stored", false, {}, ArchiveVerdict::Intact, ""},
        {"good DEFLATE", true, {}, ArchiveVerdict::Intact, ""},
        {"flipped stored byte", false, [](OneEntryZip& z) { z.bytes[z.dataAt + 500] ^= 1; }, ArchiveVerdict::Corrupt,
         "its data gives CRC"},
        {"flipped DEFLATE byte", true, [](OneEntryZip& z) { z.bytes[z.centralAt - 20] ^= 0x10; },
         ArchiveVerdict::Corrupt, "its data"},
        {"local name differs", true, [](OneEntryZip& z) { z.bytes[30] = 'X'; }, ArchiveVerdict::Corrupt,
         "its local header names \"Xom.bin\""},
        {"local CRC differs", true, [](OneEntryZip& z) { z.bytes[14] ^= 1; }, ArchiveVerdict::Corrupt,
         "its local header says CRC"},
        {"method 99", true, [](OneEntryZip& z) { z.bytes[8] = 99, z.bytes[z.centralAt + 10] = 99; },
         ArchiveVerdict::NotVerifiable, "compressed with AES encryption"},
        {"claims 4 GiB from a few bytes", true, both(22, 0xFFFFFFF0), ArchiveVerdict::Corrupt,
         "its central directory claims 4,294,967,280 bytes"},
        {"claims more compressed bytes than the file has", true, both(18, 0x7FFFFFF0), ArchiveVerdict::Corrupt,
         "the file ends before its data does"},
        {"cut short", true, [](OneEntryZip& z) { z.bytes.resize(z.centralAt + 10); }, ArchiveVerdict::Unreadable,
         "cut short"},
    };
    testing::TempTree tree;
    for (const Case& one : cases) {
        SCOPED_TRACE(one.fault);
        OneEntryZip zip("rom.bin", romData(), one.deflate);
        if (one.damage)
            one.damage(zip);
        tree.addFile("a.zip", zip.bytes);
        const ArchiveCheck check = checkZipArchive(tree.path("a.zip"));
        EXPECT_EQ(check.verdict, one.verdict);
        const std::string said = check.entries.empty() ? check.reason : check.entries[0].finding.found;
        EXPECT_NE(said.find(one.said), std::string::npos) << said;
        if (one.verdict == ArchiveVerdict::Intact) {
            EXPECT_EQ(check.bytesChecked, romData().size());
        }
    }
}

TEST(ArchiveCheck, DataIsCheckedAgainstTheSha1TheDatGives)
{
    Sha1 right;
    right.add(romData());
    const std::string rightSha1 = right.hex();
    const uint32_t crc = static_cast<uint32_t>(libdeflate_crc32(0, romData().data(), romData().size()));
    char crcText[9];
    std::snprintf(crcText, sizeof crcText, "%08x", crc);
    testing::TempTree tree;
    tree.addFile("a.zip", OneEntryZip("rom.bin", romData(), true).bytes);
    for (const std::string& sha1 : {rightSha1, std::string(40, 'a')}) {
        const std::string xml = "<datafile><game name=\"g\"><rom name=\"rom.bin\" size=\"" +
                                std::to_string(romData().size()) + "\" crc=\"" + crcText + "\" sha1=\"" + sha1 +
                                "\"/></game></datafile>";
        const DatRead dat = parseDat(xml, "test.dat");
        ASSERT_TRUE(dat.dat) << dat.problem.message();
        const ArchiveCheck check = checkZipArchive(tree.path("a.zip"), Sha1ByContent(*dat.dat));
        EXPECT_EQ(check.verdict, sha1 == rightSha1 ? ArchiveVerdict::Intact : ArchiveVerdict::Corrupt) << sha1;
    }
    // A known digest, so that a wrong SHA-1 on both sides cannot agree.
    Sha1 abc;
    abc.add("a"), abc.add("bc");
    EXPECT_EQ(abc.hex(), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

}  // namespace
}  // namespace tokenade
