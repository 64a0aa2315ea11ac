#include "dat_index_cache.h"

#include "core/foundation/mapped_memory.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace tokenade {
namespace {

// The body: the identity of the DAT; the format and the counts; all text,
// one string after the other; then the list's name, the games, the roms and
// the holders as records of fixed size, each text a place and a length in
// the text.
constexpr size_t kGameSize = 4 * 8 + 3 * 4;
constexpr size_t kRomSize = 2 * 8 + 8 + 4 + 1;
constexpr size_t kHolderSize = 8 + 4 + 4;

// Writes the text of the records beside them.
class TextWriter {
public:
    void put(std::string& record, std::string_view text)
    {
        putLe32(record, static_cast<uint32_t>(text_.size()));
        putLe32(record, static_cast<uint32_t>(text.size()));
        text_ += text;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

void putIdentity(std::string& out, const FileIdentity& id)
{
    for (const uint64_t value : {id.device, id.inode, static_cast<uint64_t>(id.size),
                                 static_cast<uint64_t>(id.modifiedSeconds), static_cast<uint64_t>(id.modifiedNanoseconds)})
        putLe64(out, value);
}

// Reads the records back, each text checked to lie within the text.
class IndexReader {
public:
    IndexReader(CacheReader& reader, std::string_view text) : reader_(reader), text_(text) {}

    std::string_view text()
    {
        const uint64_t at = reader_.le32UpTo(UINT32_MAX);
        const uint64_t length = reader_.le32UpTo(kDatTextLimit);
        if (at + length > text_.size())
            reader_.fail();
        return reader_.bad() ? std::string_view() : text_.substr(at, length);
    }

private:
    CacheReader& reader_;
    std::string_view text_;
};

}  // namespace

std::string serializeDatIndex(const DatIndex& dat, const FileIdentity& of)
{
    TextWriter text;
    std::string records;
    text.put(records, dat.name);
    records.reserve(dat.games.size() * kGameSize + dat.roms.size() * kRomSize + dat.holders_.size() * kHolderSize);
    for (const DatGame& game : dat.games) {
        for (const std::string_view field : {game.name, game.description, game.cloneOf, game.romOf})
            text.put(records, field);
        putLe32(records, game.firstRom);
        putLe32(records, game.romCount);
        putLe32(records, game.contentCount);
    }
    for (const DatRom& rom : dat.roms) {
        text.put(records, rom.name);
        text.put(records, rom.sha1);
        putLe64(records, rom.key.size);
        putLe32(records, rom.key.crc);
        records.push_back(rom.matchable ? 1 : 0);
    }
    for (const ContentHolder& holder : dat.holders_) {
        putLe64(records, holder.key.size);
        putLe32(records, holder.key.crc);
        putLe32(records, holder.game);
    }
    std::string body;
    putIdentity(body, of);
    for (const size_t count : {static_cast<size_t>(dat.format), dat.games.size(), dat.roms.size(), dat.holders_.size()})
        putLe32(body, static_cast<uint32_t>(count));
    if (text.text().size() > UINT32_MAX)
        return "";
    putLe64(body, text.text().size());
    putLe64(body, dat.unmatchableRoms);
    putLe64(body, dat.unmatchableGames);
    body += text.text();
    body += records;
    return sealCache(kDatIndexMagic, kDatIndexVersion, static_cast<uint32_t>(dat.games.size()), body);
}

std::optional<DatIndex> parseDatIndex(std::string_view bytes, const FileIdentity& of)
{
    const std::optional<SealedBody> sealed = openSealedCache(bytes, kDatIndexMagic, kDatIndexVersion);
    if (!sealed)
        return std::nullopt;
    CacheReader reader(sealed->body);
    FileIdentity made;
    made.device = reader.le64();
    made.inode = reader.le64();
    made.size = static_cast<int64_t>(reader.le64());
    made.modifiedSeconds = static_cast<int64_t>(reader.le64());
    made.modifiedNanoseconds = static_cast<int64_t>(reader.le64());
    DatIndex dat;
    const uint32_t format = reader.le32UpTo(static_cast<uint32_t>(DatFormat::ClrMamePro));
    const uint32_t games = reader.le32UpTo(kDatGameLimit);
    const uint32_t roms = reader.le32UpTo(kDatRomLimit);
    const uint32_t holders = reader.le32UpTo(roms);
    const uint64_t textSize = reader.le64();
    dat.unmatchableRoms = reader.le64();
    dat.unmatchableGames = reader.le64();
    const std::string_view storedText = reader.bytes(textSize);
    // Exactly the records announced, before anything is made of them.
    const uint64_t records = 8 + uint64_t{games} * kGameSize + uint64_t{roms} * kRomSize + uint64_t{holders} * kHolderSize;
    if (reader.bad() || !(made == of) || games == 0 ||
        sealed->body.size() - (storedText.data() + storedText.size() - sealed->body.data()) != records ||
        dat.unmatchableRoms > roms || dat.unmatchableGames > games)
        return std::nullopt;
    char* copy = dat.storage.allocate(storedText.size());
    adviseHugePages(copy, storedText.size());
    std::memcpy(copy, storedText.data(), storedText.size());
    const std::string_view text(copy, storedText.size());
    dat.format = static_cast<DatFormat>(format);
    IndexReader place(reader, text);
    dat.name = place.text();
    reserveLarge(dat.games, games);
    dat.games.resize(games);
    for (DatGame& game : dat.games) {
        for (std::string_view* field : {&game.name, &game.description, &game.cloneOf, &game.romOf})
            *field = place.text();
        game.firstRom = reader.le32UpTo(roms);
        game.romCount = reader.le32UpTo(roms - game.firstRom);
        game.contentCount = reader.le32UpTo(game.romCount);
    }
    reserveLarge(dat.roms, roms);
    dat.roms.resize(roms);
    for (DatRom& rom : dat.roms) {
        rom.name = place.text();
        rom.sha1 = place.text();
        rom.key.size = reader.le64();
        rom.key.crc = reader.le32UpTo(UINT32_MAX);
        const std::string_view matchable = reader.bytes(1);
        rom.matchable = !matchable.empty() && matchable[0] == 1;
    }
    reserveLarge(dat.holders_, holders);
    dat.holders_.resize(holders);
    for (ContentHolder& holder : dat.holders_) {
        holder.key.size = reader.le64();
        holder.key.crc = reader.le32UpTo(UINT32_MAX);
        holder.game = reader.le32UpTo(games - 1);
    }
    const auto out = std::adjacent_find(dat.holders_.begin(), dat.holders_.end(), [](const auto& a, const auto& b) {
        return !(std::tie(a.key.crc, a.key.size, a.game) < std::tie(b.key.crc, b.key.size, b.game));
    });
    if (reader.bad() || !reader.atEnd() || out != dat.holders_.end())
        return std::nullopt;
    dat.indexHolders();
    return dat;
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
        if (const std::optional<FileBytes> bytes = readCacheFile(cachePath, damaged)) {
            if (std::optional<DatIndex> dat = parseDatIndex(bytes->view(), identityOfStatus(status)))
                return {std::move(dat), {}};
        }
    }
    FileIdentity identity;
    DatRead read = readDatFile(path, identity);
    if (read.dat) {
        if (const std::string bytes = serializeDatIndex(*read.dat, identity); !bytes.empty())
            saveCacheFile(cachePath, bytes);  // a failure only costs the next run its speed
    }
    return read;
}

}  // namespace tokenade
