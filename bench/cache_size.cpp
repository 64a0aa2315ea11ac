// The size on disk of the cache of contents of a synthetic collection:
//   cache_size ARCHIVES
// Each archive gets an identity as a file system gives them (inodes that
// grow with gaps, sizes from 1 KB to 8 MB, modification times of the last
// years to the nanosecond, a ctime as near), a name of 20 to 60 characters in
// one of a few folders, and one to four files of random sizes and CRCs.
#include "core/content/content_cache.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    std::mt19937_64 random(35);
    std::vector<tokenade::ZipDirectory> contents(count);
    std::vector<tokenade::CachedArchive> archives(count);
    std::vector<std::string> names(count);
    const std::string_view folders[] = {"roms", "roms/Sega", "roms/Nintendo", "romsConsoles"};
    uint64_t inode = 1'000'000;
    for (size_t i = 0; i < count; ++i) {
        inode += 1 + random() % 40;
        const int files = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < files; ++f)
            contents[i].entries.push_back({1024 + random() % (4u << 20), static_cast<uint32_t>(random()), ""});
        names[i] = std::to_string(i) + " " + std::string(16 + random() % 40, 'a' + random() % 26) + ".zip";
        const auto modified = static_cast<int64_t>(1'600'000'000 + random() % 150'000'000);
        archives[i] = {folders[random() % 4], names[i],
                       {2049, inode, static_cast<int64_t>(1024 + random() % (8u << 20)), modified,
                        static_cast<int64_t>(random() % 1'000'000'000), modified + static_cast<int64_t>(random() % 1000),
                        static_cast<int64_t>(random() % 1'000'000'000)},
                       &contents[i]};
    }
    const std::string bytes = tokenade::ContentCache::serialize(archives);
    std::printf("archives %zu bytes %zu per archive %.1f\n", count, bytes.size(), double(bytes.size()) / count);
    return 0;
}
