#include "core/content/content_cache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

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
    const std::vector<CachedArchive> archives = {
        {{2049, 900, 8300, 1700000000, 123456789}, &two},
        {{2049, 12, 20, -5, 0}, &rar},
        {{77, 13, 5, 1, 999'999'999}, &big},
    };
};

TEST_F(ContentCacheTest, GivesBackWhatItKeptForTheSameFileOnly)
{
    const ContentCache cache = ContentCache::parse(ContentCache::serialize(archives));
    ASSERT_FALSE(cache.damaged());
    ASSERT_EQ(cache.size(), 3u);
    ZipDirectory found;
    ASSERT_TRUE(cache.find({2049, 900, 8300, 1700000000, 123456789}, found));
    ASSERT_EQ(found.entries.size(), 2u);
    EXPECT_EQ(found.entries[1].size, 40u);
    EXPECT_EQ(found.entries[1].crc, 0xDEADBEEFu);
    EXPECT_EQ(found.entries[1].name, "");
    ASSERT_TRUE(cache.find({2049, 12, 20, -5, 0}, found));
    EXPECT_EQ(found.problem, ZipProblem::NotAZip);
    EXPECT_EQ(found.reason, "not a zip: a RAR archive");
    EXPECT_TRUE(found.entries.empty());
    ASSERT_TRUE(cache.find({77, 13, 5, 1, 999'999'999}, found));
    EXPECT_EQ(found.entries[0].size, uint64_t{5} << 32);
    // A file changed in any part of its identity is read again.
    for (const FileIdentity changed : {FileIdentity{2049, 900, 8300, 1700000000, 123456788},
                                       FileIdentity{2049, 900, 8301, 1700000000, 123456789},
                                       FileIdentity{2050, 900, 8300, 1700000000, 123456789}})
        EXPECT_FALSE(cache.find(changed, found));
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
        {"a byte of the header changed", [](std::string& bytes) { bytes[13] ^= 1; }},
        {"another version", [](std::string& bytes) { bytes[8] = 9; }},
        {"not a cache", [](std::string& bytes) { bytes = std::string(200, 'x'); }},
        {"bytes after the end", [](std::string& bytes) { bytes += "more"; }},
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
    EXPECT_NE(path, contentCachePath("/games/Other", "roms,"));
    EXPECT_EQ(path, contentCachePath("/games/Tokenade/", "roms,"));
}

}  // namespace
}  // namespace tokenade::testing
