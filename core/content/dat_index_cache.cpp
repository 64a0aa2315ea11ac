#include "dat_index_cache.h"

#include "core/foundation/mapped_memory.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>

namespace tokenade {
namespace {

// The body, front to back: the identity of the DAT; as varints the format,
// the counts of games, roms and holders and of unmatchable roms and games;
// the list's name; then each game (its four texts, how many roms and how
// many different files it has), each rom (whether it is matchable, its
// size, its CRC, its two texts) and each holder (its CRC as the rise from
// the one before, its size, its game). A text is its length and its bytes,
// which the index keeps where they lie: the body is its storage.
constexpr uint8_t kMatchable = 1;

void putText(std::string& out, std::string_view text)
{
    putVarint(out, text.size());
    out += text;
}

}  // namespace

// Writes and reads what DatIndex keeps to itself: its holders.
class DatIndexCodec {
public:
    static std::string serialize(const DatIndex& dat, const FileIdentity& of);
    static std::optional<DatIndex> read(DatIndex dat, std::string_view bytes, const FileIdentity& of);
};

std::string DatIndexCodec::serialize(const DatIndex& dat, const FileIdentity& of)
{
    std::string bytes = startCache(dat.games.size() * 48 + dat.roms.size() * 64 + dat.holders_.size() * 10);
    for (const uint64_t value : {of.device, of.inode, static_cast<uint64_t>(of.size),
                                 static_cast<uint64_t>(of.modifiedSeconds), static_cast<uint64_t>(of.modifiedNanoseconds)})
        putLe64(bytes, value);
    for (const size_t count : {static_cast<size_t>(dat.format), dat.games.size(), dat.roms.size(), dat.holders_.size(),
                               dat.unmatchableRoms, dat.unmatchableGames})
        putVarint(bytes, count);
    putText(bytes, dat.name);
    for (const DatGame& game : dat.games) {
        for (const std::string_view text : {game.name, game.description, game.cloneOf, game.romOf})
            putText(bytes, text);
        putVarint(bytes, game.romCount);
        putVarint(bytes, game.contentCount);
    }
    for (const DatRom& rom : dat.roms) {
        bytes.push_back(static_cast<char>(rom.matchable ? kMatchable : 0));
        putVarint(bytes, rom.key.size);
        putLe32(bytes, rom.key.crc);
        putText(bytes, rom.name);
        putText(bytes, rom.sha1);
    }
    uint32_t crc = 0;
    for (const ContentHolder& holder : dat.holders_) {
        putVarint(bytes, holder.key.crc - crc);
        putVarint(bytes, holder.key.size);
        putVarint(bytes, holder.game);
        crc = holder.key.crc;
    }
    sealCache(bytes, kDatIndexMagic, kDatIndexVersion, static_cast<uint32_t>(dat.games.size()));
    return bytes;
}

// The index whose bytes `dat.storage` holds already: its texts stay where they lie.
std::optional<DatIndex> DatIndexCodec::read(DatIndex dat, std::string_view bytes, const FileIdentity& of)
{
    const std::optional<SealedBody> sealed = openSealedCache(bytes, kDatIndexMagic, kDatIndexVersion);
    if (!sealed || sealed->body.empty())
        return std::nullopt;
    CacheReader reader(sealed->body);
    auto text = [&reader] { return reader.bytes(reader.varintUpTo(kDatTextLimit)); };
    FileIdentity made;
    made.device = reader.le64();
    made.inode = reader.le64();
    made.size = static_cast<int64_t>(reader.le64());
    made.modifiedSeconds = static_cast<int64_t>(reader.le64());
    made.modifiedNanoseconds = static_cast<int64_t>(reader.le64());
    const uint64_t format = reader.varintUpTo(static_cast<uint64_t>(DatFormat::ClrMamePro));
    // Each record takes a few bytes at least: counts the body cannot hold are refused before room is taken.
    const uint64_t games = reader.varintUpTo(std::min<uint64_t>(kDatGameLimit, bytes.size() / 6));
    const uint64_t roms = reader.varintUpTo(std::min<uint64_t>(kDatRomLimit, bytes.size() / 7));
    const uint64_t holders = reader.varintUpTo(std::min<uint64_t>(roms, bytes.size() / 3));
    dat.unmatchableRoms = reader.varintUpTo(roms);
    dat.unmatchableGames = reader.varintUpTo(games);
    if (reader.bad() || !(made == of) || games == 0)
        return std::nullopt;
    dat.format = static_cast<DatFormat>(format);
    dat.name = text();
    reserveLarge(dat.games, games);
    uint64_t firstRom = 0;
    for (uint64_t g = 0; g < games && !reader.bad(); ++g) {
        DatGame& game = dat.games.emplace_back();
        for (std::string_view* field : {&game.name, &game.description, &game.cloneOf, &game.romOf})
            *field = text();
        game.firstRom = static_cast<uint32_t>(firstRom);
        game.romCount = static_cast<uint32_t>(reader.varintUpTo(roms - firstRom));
        game.contentCount = static_cast<uint32_t>(reader.varintUpTo(game.romCount));
        firstRom += game.romCount;
    }
    reserveLarge(dat.roms, roms);
    for (uint64_t r = 0; r < roms && !reader.bad(); ++r) {
        DatRom& rom = dat.roms.emplace_back();
        const std::string_view flags = reader.bytes(1);
        rom.matchable = !flags.empty() && flags[0] == kMatchable;
        rom.key.size = reader.varint();
        rom.key.crc = reader.le32UpTo(UINT32_MAX);
        rom.name = text();
        rom.sha1 = text();
    }
    reserveLarge(dat.holders_, holders);
    uint64_t crc = 0;
    for (uint64_t h = 0; h < holders && !reader.bad(); ++h) {
        ContentHolder& holder = dat.holders_.emplace_back();
        crc += reader.varintUpTo(UINT32_MAX - crc);
        holder.key.crc = static_cast<uint32_t>(crc);
        holder.key.size = reader.varint();
        holder.game = static_cast<uint32_t>(reader.varintUpTo(games - 1));
        if (h > 0 && !DatIndex::holderBefore(dat.holders_[h - 1], holder))
            reader.fail();
    }
    if (reader.bad() || !reader.atEnd() || firstRom != roms)
        return std::nullopt;
    dat.indexHolders();
    return dat;
}

std::string serializeDatIndex(const DatIndex& dat, const FileIdentity& of)
{
    return DatIndexCodec::serialize(dat, of);
}

std::optional<DatIndex> parseDatIndex(std::string_view bytes, const FileIdentity& of)
{
    DatIndex dat;
    char* copy = dat.storage.allocate(bytes.size());
    adviseHugePages(copy, bytes.size());
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    return DatIndexCodec::read(std::move(dat), {copy, bytes.size()}, of);
}

std::string datIndexCachePath(const std::string& datPath)
{
    return cacheFilePath("dat", realPathForCache(datPath));
}

DatRead readDatThroughCache(const std::string& path, const CacheChoice& cache)
{
    if (!cache.use)
        return readDatFile(path);
    const std::string cachePath = cache.path.empty() ? datIndexCachePath(path) : cache.path;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        bool damaged = false;
        DatIndex dat;
        const std::optional<std::string_view> bytes =
            readCacheFile(cachePath, damaged, [&](size_t size) { return dat.storage.allocate(size); });
        if (bytes) {
            if (std::optional<DatIndex> index = DatIndexCodec::read(std::move(dat), *bytes, identityOfStatus(status)))
                return {std::move(index), {}};
        }
    }
    FileIdentity identity;
    DatRead read = readDatFile(path, identity);
    if (read.dat)
        saveCacheFile(cachePath, serializeDatIndex(*read.dat, identity));  // a failure only costs the next run its speed
    return read;
}

}  // namespace tokenade
