#include "dat_index_cache.h"

#include "core/foundation/mapped_memory.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>

namespace tokenade {
namespace {

// The body, front to back: the identity of the DAT (its ctime too); as varints the format,
// the counts of games, roms, disks, device references and holders and of
// unmatchable roms and games; the list's name; then each game (its four
// texts, its flags, how many roms, disks and device references and how many
// different files it has), each rom (its flags, its size, its CRC, its
// texts), each disk (its flags, its texts), each device reference (a text)
// and each holder (its CRC as the rise from the one before, its size, its
// game). A text is its length and its bytes, which the index keeps where
// they lie: the body is its storage. A merge name that repeats the file's
// own is a flag, not a text.
constexpr uint8_t kMatchable = 1;
constexpr uint8_t kOptional = 2;
constexpr uint8_t kMergeIsName = 4;
constexpr unsigned kStatusShift = 3;  // two bits of RomStatus
constexpr uint8_t kKnownRomFlags = 0x1f;
constexpr uint8_t kIsBios = 1;
constexpr uint8_t kIsDevice = 2;
constexpr uint8_t kNotRunnable = 4;

template <typename File>
uint8_t fileFlags(const File& file)
{
    return static_cast<uint8_t>((file.optional ? kOptional : 0) | (file.merge.data() == file.name.data() && !file.name.empty() ? kMergeIsName : 0) |
                                static_cast<unsigned>(file.status) << kStatusShift);
}

// False for flags no writer sets; the status and the optional mark go into `file`.
template <typename File>
bool takeFileFlags(uint8_t flags, File& file)
{
    const unsigned status = (flags >> kStatusShift) & 3u;
    if ((flags & ~kKnownRomFlags) != 0 || status > static_cast<unsigned>(RomStatus::NoDump))
        return false;
    file.status = static_cast<RomStatus>(status);
    file.optional = (flags & kOptional) != 0;
    return true;
}

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
    std::string bytes = startCache(dat.games.size() * 52 + dat.roms.size() * 72 + dat.disks.size() * 64 +
                                   dat.deviceRefs.size() * 12 + dat.holders_.size() * 10);
    for (const uint64_t value : {of.device, of.inode, static_cast<uint64_t>(of.size),
                                 static_cast<uint64_t>(of.modifiedSeconds), static_cast<uint64_t>(of.modifiedNanoseconds),
                                 static_cast<uint64_t>(of.changedSeconds), static_cast<uint64_t>(of.changedNanoseconds)})
        putLe64(bytes, value);
    for (const size_t count : {static_cast<size_t>(dat.format), dat.games.size(), dat.roms.size(), dat.disks.size(),
                               dat.deviceRefs.size(), dat.holders_.size(), dat.unmatchableRoms, dat.unmatchableGames})
        putVarint(bytes, count);
    putText(bytes, dat.name);
    for (const DatGame& game : dat.games) {
        for (const std::string_view text : {game.name, game.description, game.cloneOf, game.romOf})
            putText(bytes, text);
        bytes.push_back(static_cast<char>((game.isBios ? kIsBios : 0) | (game.isDevice ? kIsDevice : 0) |
                                          (game.runnable ? 0 : kNotRunnable)));
        for (const uint32_t count : {game.romCount, game.diskCount, game.deviceRefCount, game.contentCount})
            putVarint(bytes, count);
    }
    for (const DatRom& rom : dat.roms) {
        bytes.push_back(static_cast<char>(fileFlags(rom) | (rom.matchable ? kMatchable : 0)));
        putVarint(bytes, rom.key.size);
        putLe32(bytes, rom.key.crc);
        for (const std::string_view text : {rom.name, rom.sha1, rom.bios})
            putText(bytes, text);
        if ((fileFlags(rom) & kMergeIsName) == 0)
            putText(bytes, rom.merge);
    }
    for (const DatDisk& disk : dat.disks) {
        bytes.push_back(static_cast<char>(fileFlags(disk)));
        putText(bytes, disk.name);
        putText(bytes, disk.sha1);
        if ((fileFlags(disk) & kMergeIsName) == 0)
            putText(bytes, disk.merge);
    }
    for (const std::string_view device : dat.deviceRefs)
        putText(bytes, device);
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
    made.changedSeconds = static_cast<int64_t>(reader.le64());
    made.changedNanoseconds = static_cast<int64_t>(reader.le64());
    const uint64_t format = reader.varintUpTo(static_cast<uint64_t>(DatFormat::Smdb));
    // Each record takes a few bytes at least: counts the body cannot hold are refused before room is taken.
    const uint64_t games = reader.varintUpTo(std::min<uint64_t>(kDatGameLimit, bytes.size() / 9));
    const uint64_t roms = reader.varintUpTo(std::min<uint64_t>(kDatRomLimit, bytes.size() / 9));
    const uint64_t disks = reader.varintUpTo(std::min<uint64_t>(kDatDiskLimit, bytes.size() / 3));
    const uint64_t deviceRefs = reader.varintUpTo(std::min<uint64_t>(kDatDeviceRefLimit, bytes.size()));
    const uint64_t holders = reader.varintUpTo(std::min<uint64_t>(roms, bytes.size() / 3));
    dat.unmatchableRoms = reader.varintUpTo(roms);
    dat.unmatchableGames = reader.varintUpTo(games);
    if (reader.bad() || !made.sameVersion(of) || games == 0)
        return std::nullopt;
    dat.format = static_cast<DatFormat>(format);
    dat.name = text();
    reserveLarge(dat.games, games);
    auto flags = [&reader] {
        const std::string_view byte = reader.bytes(1);
        return byte.empty() ? uint8_t{0} : static_cast<uint8_t>(byte[0]);
    };
    uint64_t firstRom = 0, firstDisk = 0, firstDeviceRef = 0;
    for (uint64_t g = 0; g < games && !reader.bad(); ++g) {
        DatGame& game = dat.games.emplace_back();
        for (std::string_view* field : {&game.name, &game.description, &game.cloneOf, &game.romOf})
            *field = text();
        const uint8_t kind = flags();
        if ((kind & ~(kIsBios | kIsDevice | kNotRunnable)) != 0)
            reader.fail();
        game.isBios = (kind & kIsBios) != 0;
        game.isDevice = (kind & kIsDevice) != 0;
        game.runnable = (kind & kNotRunnable) == 0;
        game.firstRom = static_cast<uint32_t>(firstRom);
        game.romCount = static_cast<uint32_t>(reader.varintUpTo(roms - firstRom));
        game.firstDisk = static_cast<uint32_t>(firstDisk);
        game.diskCount = static_cast<uint32_t>(reader.varintUpTo(disks - firstDisk));
        game.firstDeviceRef = static_cast<uint32_t>(firstDeviceRef);
        game.deviceRefCount = static_cast<uint32_t>(reader.varintUpTo(deviceRefs - firstDeviceRef));
        game.contentCount = static_cast<uint32_t>(reader.varintUpTo(game.romCount));
        firstRom += game.romCount;
        firstDisk += game.diskCount;
        firstDeviceRef += game.deviceRefCount;
    }
    reserveLarge(dat.roms, roms);
    for (uint64_t r = 0; r < roms && !reader.bad(); ++r) {
        DatRom& rom = dat.roms.emplace_back();
        const uint8_t romFlags = flags();
        if (!takeFileFlags(static_cast<uint8_t>(romFlags & ~kMatchable), rom))
            reader.fail();
        rom.matchable = (romFlags & kMatchable) != 0;
        rom.key.size = reader.varint();
        rom.key.crc = reader.le32UpTo(UINT32_MAX);
        for (std::string_view* field : {&rom.name, &rom.sha1, &rom.bios})
            *field = text();
        rom.merge = (romFlags & kMergeIsName) != 0 ? rom.name : text();
    }
    reserveLarge(dat.disks, disks);
    for (uint64_t d = 0; d < disks && !reader.bad(); ++d) {
        DatDisk& disk = dat.disks.emplace_back();
        const uint8_t diskFlags = flags();
        if ((diskFlags & kMatchable) != 0 || !takeFileFlags(diskFlags, disk))
            reader.fail();
        disk.name = text();
        disk.sha1 = text();
        disk.merge = (diskFlags & kMergeIsName) != 0 ? disk.name : text();
    }
    reserveLarge(dat.deviceRefs, deviceRefs);
    for (uint64_t d = 0; d < deviceRefs && !reader.bad(); ++d)
        dat.deviceRefs.push_back(text());
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
    if (reader.bad() || !reader.atEnd() || firstRom != roms || firstDisk != disks || firstDeviceRef != deviceRefs)
        return std::nullopt;
    dat.indexHolders();
    dat.indexNames();
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

DatRead readThroughDatCache(const std::string& path, const std::string& cachePath, bool use,
                            const std::function<DatRead(FileIdentity&)>& read)
{
    if (!use || !inodeNumbersLast(path)) {
        FileIdentity identity;
        return read(identity);
    }
    removeLeftTemporaries(cachePath);
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        bool damaged = false;
        DatIndex dat;
        const std::optional<std::string_view> bytes = readCacheFile(
            cachePath, kDatIndexMagic, kDatIndexVersion, damaged, [&](size_t size) { return dat.storage.allocate(size); });
        if (bytes) {
            if (std::optional<DatIndex> index = DatIndexCodec::read(std::move(dat), *bytes, identityOfStatus(status)))
                return {std::move(index), {}};
        }
    }
    FileIdentity identity;
    DatRead made = read(identity);
    if (made.dat)
        saveCacheFile(cachePath, serializeDatIndex(*made.dat, identity));  // a failure only costs the next run its speed
    return made;
}

DatRead readDatThroughCache(const std::string& path, const CacheChoice& cache)
{
    const std::string cachePath = cache.path.empty() ? datIndexCachePath(path) : cache.path;
    return readThroughDatCache(path, cachePath, cache.use,
                               [&](FileIdentity& identity) { return readDatFile(path, identity); });
}

}  // namespace tokenade
