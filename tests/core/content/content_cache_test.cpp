#include "core/content/cache_file.h"
#include "core/content/content_cache.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

namespace tokenade::testing {
namespace {

ZipDirectory holding(std::vector<std::pair<uint64_t, uint32_t>> files)
{
    ZipDirectory contents;
    for (const auto& [size, crc] : files)
        contents.entries.push_back({size, crc, "a name the cache drops"});
    return contents;
}

class ContentCacheTest : public ::testing::Test {
protected:
    const ZipDirectory two = holding({{8192, 0x07a3d3db}, {40, 0xDEADBEEF}});
    const ZipDirectory big = holding({{uint64_t{5} << 32, 1}});
    ZipDirectory rar = [] {
        ZipDirectory contents;
        contents.problem = ZipProblem::NotAZip;
        contents.reason = "not a zip: a RAR archive";
        return contents;
    }();
    static constexpr FileIdentity kTwo{2049, 900, 8300, 1700000000, 123456789, 1700000100, 5};
    const std::vector<CachedArchive> archives = {
        {"roms", "two.zip", kTwo, &two},
        {"roms", "rar.zip", {2049, 12, 20, -5, 0, 7, 0}, &rar},
        {"roms/Sega", "big.zip", {77, 13, 5, 1, 999'999'999, 2, 999'999'999}, &big},
    };
};

TEST_F(ContentCacheTest, GivesBackWhatItKeptForTheSamePlaceAndFileOnly)
{
    const ContentCache cache = ContentCache::parse(ContentCache::serialize(archives));
    ASSERT_FALSE(cache.damaged());
    ASSERT_EQ(cache.size(), 3u);
    ZipDirectory found;
    ASSERT_TRUE(cache.find("roms", "two.zip", kTwo, found));
    ASSERT_EQ(found.entries.size(), 2u);
    EXPECT_EQ(found.entries[1].size, 40u);
    EXPECT_EQ(found.entries[1].crc, 0xDEADBEEFu);
    EXPECT_EQ(found.entries[1].name, "");
    ASSERT_TRUE(cache.find("roms", "rar.zip", archives[1].identity, found));
    EXPECT_EQ(found.problem, ZipProblem::NotAZip);
    EXPECT_EQ(found.reason, "not a zip: a RAR archive");
    EXPECT_TRUE(found.entries.empty());
    ASSERT_TRUE(cache.find("roms/Sega", "big.zip", archives[2].identity, found));
    EXPECT_EQ(found.entries[0].size, uint64_t{5} << 32);
    // A file changed in any part of its identity is read again: rewritten in
    // place with its mtime put back, only the ctime tells.
    for (const FileIdentity other : {FileIdentity{2049, 900, 8300, 1700000000, 123456788, 1700000100, 5},
                                     FileIdentity{2050, 900, 8300, 1700000000, 123456789, 1700000100, 5},
                                     FileIdentity{2049, 900, 8300, 1700000000, 123456789, 1700000101, 5},
                                     FileIdentity{2049, 900, 8300, 1700000000, 123456789, 1700000100, 6}})
        EXPECT_FALSE(cache.find("roms", "two.zip", other, found));
    // Numbered anew at a remount, another archive has this one's identity: its place tells.
    EXPECT_FALSE(cache.find("roms", "three.zip", kTwo, found));
    for (const std::string_view folder : {"roms/Sega", "rom", "romsConsoles"})  // another folder, or none kept
        EXPECT_FALSE(cache.find(folder, "two.zip", kTwo, found)) << folder;
}

struct BadCache {
    const char* fault;
    std::function<void(std::string&)> damage;
};

TEST_F(ContentCacheTest, IgnoresADamagedCutOrForeignFileWhole)
{
    const std::vector<BadCache> cases = {
        {"empty", [](std::string& bytes) { bytes.clear(); }},
        {"cut short", [](std::string& bytes) { bytes.resize(bytes.size() - 3); }},
        {"a byte of a record changed", [](std::string& bytes) { bytes[40] ^= 1; }},
        {"bytes after the end", [](std::string& bytes) { bytes += "more"; }},
        // The second record's name put before the first's: find could not rely on the order.
        {"records out of order, sealed again", [](std::string& bytes) {
             const std::string magic = bytes.substr(0, 8);
             sealCache(bytes.replace(bytes.find("two.zip"), 7, "rap.zip"), magic, getLe32(bytes.data() + 8), 3);
         }},
    };
    for (const BadCache& bad : cases) {
        SCOPED_TRACE(bad.fault);
        std::string bytes = ContentCache::serialize(archives);
        bad.damage(bytes);
        const ContentCache cache = ContentCache::parse(bytes);
        EXPECT_TRUE(cache.damaged());
        EXPECT_EQ(cache.size(), 0u);
    }
}

TEST_F(ContentCacheTest, PathFollowsTheCacheHomeAndNamesTheFolder)
{
    for (const char* unset : {"XDG_CACHE_HOME", "HOME"})  // the user's folders unknown: under /tmp
        ::unsetenv(unset);
    EXPECT_TRUE(contentCachePath("/games/Tokenade", "roms,").starts_with("/tmp/.cache/tokenade-auditor/contents-"));
    ::setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
    const std::string path = contentCachePath("/games/Tokenade", "roms,");
    EXPECT_TRUE(path.starts_with("/somewhere/cache/tokenade-auditor/contents-")) << path;
    EXPECT_EQ(path, contentCachePath("/games/Tokenade/", "roms,"));
}

// Two CRC-32s of one text with two seeds are 32 bits, not 64: their halves differ by one value.
TEST_F(ContentCacheTest, CacheNamesCarrySixtyFourBits)
{
    std::set<uint64_t> halvesApart;
    for (char c = 'a'; c <= 'z'; ++c) {
        const std::string path = cacheFilePath("contents", std::string("/games/") + c);
        const uint64_t hash = std::stoull(path.substr(path.size() - 22, 16), nullptr, 16);
        halvesApart.insert((hash >> 32) ^ (hash & 0xFFFFFFFF));
    }
    EXPECT_GT(halvesApart.size(), 20u);
}

// A file that is no cache of this kind costs its 32 bytes of header, not its whole length.
TEST_F(ContentCacheTest, AHeaderIsCheckedBeforeTheBodyIsRead)
{
    std::string sound = startCache(0);
    sealCache(sound, "TESTCACH", 7, 0);
    TempTree tree;
    for (const std::string& bytes : {std::string(1 << 20, 'x'), std::string(sound).replace(13, 1, "?"), sound + "more",
                                     std::string(sound).replace(0, 8, "TKADATIX"), sound.substr(0, 20), sound}) {
        tree.addFile("one.cache", bytes);
        size_t asked = 0;
        bool damaged = false;
        const auto read = readCacheFile(tree.path("one.cache"), "TESTCACH", 7, damaged,
                                        [&](size_t) { return ++asked, sound.data(); });  // the sound one over itself
        EXPECT_EQ(asked + read.has_value(), bytes == sound ? 2u : 0u) << bytes.substr(0, 40);
    }
}

// What killed runs left goes; what a run writes now, and what is not named as ours, stays.
TEST_F(ContentCacheTest, TemporariesOfKilledRunsAreRemovedAtTheNextRun)
{
    TempTree tree;
    const std::vector<std::pair<const char*, bool>> files = {
        {".contents-0123456789abcdef.cache.tmp-999-0-0", true}, {".dat-fedcba9876543210.cache.tmp-12-3-1", true},
        {".chosen.cache.tmp-5-0-0", true},  // the cache asked for, at a place the user chose
        {".contents-0123456789abcdef.cache.tmp-999-0-0x", false}, {"contents-0123456789abcdef.cache", false},
    };
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& [name, _] : files) {
        tree.addFile(name, "left");
        std::filesystem::last_write_time(tree.path(name), hourAgo);
    }
    tree.addFile(".contents-aaaaaaaaaaaaaaaa.cache.tmp-7-0-0", "being written now");
    removeLeftTemporaries(tree.path("chosen.cache"));
    for (const auto& [name, removed] : files)
        EXPECT_EQ(tree.exists(name), !removed) << name;
    EXPECT_TRUE(tree.exists(".contents-aaaaaaaaaaaaaaaa.cache.tmp-7-0-0"));
}

// A read past the body's end, or over its limit, marks the reader bad,
// and every read after it gives nothing.
TEST(CacheReaderTest, AReadPastTheEndOrOverItsLimitIsBad)
{
    const std::string body("\x85\x01"  // 133 as a varint
                           "abc\xff", 6);  // three bytes, then a varint that never ends
    const std::vector<std::pair<const char*, std::function<void(CacheReader&)>>> cases = {
        {"bytes past the end", [](CacheReader& r) { r.bytes(7); }},
        {"a varint over its limit", [](CacheReader& r) { r.varintUpTo(132); }},
        {"a varint cut short", [](CacheReader& r) { r.bytes(5), r.varint(); }},
        {"a number past the end", [](CacheReader& r) { r.bytes(3), r.le64(); }},
    };
    for (const auto& [what, read] : cases) {
        CacheReader reader(body);
        read(reader);
        EXPECT_TRUE(reader.bad()) << what;
        EXPECT_EQ(reader.bytes(1), "") << what;
    }
    CacheReader whole(body);
    EXPECT_EQ(whole.varintUpTo(133), 133u);
    EXPECT_EQ(whole.bytes(3), "abc");
    EXPECT_FALSE(whole.bad());
}

}  // namespace
}  // namespace tokenade::testing
