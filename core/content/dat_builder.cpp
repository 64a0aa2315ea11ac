#include "dat_builder.h"

#include "core/content/dat_reader.h"
#include "core/content/repeated_games.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/mapped_memory.h"
#include "core/foundation/text_decoding.h"

#include <algorithm>

namespace tokenade {
namespace {

std::string quoted(std::string_view text)
{
    text = text.substr(0, 40);
    return "\"" + (isValidUtf8(text) ? std::string(text) : std::string("...")) + "\"";
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

bool parseRomSize(std::string_view text, uint64_t& size)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    if (hex)
        text.remove_prefix(2);
    if (text.empty())
        return false;
    const unsigned base = hex ? 16 : 10;
    size = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base || size > (UINT64_MAX - digit) / base)
            return false;
        size = size * base + static_cast<unsigned>(digit);
    }
    return true;
}

RomStatus parseRomStatus(std::string_view text)
{
    if (text == "nodump")
        return RomStatus::NoDump;
    return text == "baddump" ? RomStatus::BadDump : RomStatus::Good;
}

bool parseRomCrc(std::string_view text, uint32_t& crc)
{
    if (text.size() != 8)
        return false;
    crc = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return false;
        crc = crc << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

DatBuilder::DatBuilder(DatFormat format, uint64_t bytes)
{
    index_.format = format;
    // A game takes a few hundred bytes of a DAT at least, a rom some fifty,
    // yet tight DATs hold one in under forty: room for one every 24 bytes,
    // which costs nothing until written, spares such a DAT the doubling of
    // its roms (the old and the new copy resident at once).
    reserveLarge(index_.games, std::min<uint64_t>(bytes / 128, kDatGameLimit));
    reserveLarge(index_.roms, std::min<uint64_t>(bytes / 24, kDatRomLimit));
}

std::string DatBuilder::keep(std::string_view text, std::string_view what, std::string_view& into)
{
    if (text.size() > kDatTextLimit)
        return std::string(what) + " longer than " + groupedCount(kDatTextLimit) + " bytes";
    into = index_.storage.store(text);
    return "";
}

// Most merge names repeat the file's own name: those share its bytes.
std::string DatBuilder::keepName(std::string_view text, std::string_view own, std::string_view what,
                                 std::string_view& into)
{
    if (text == own) {
        into = own;
        return "";
    }
    return keep(text, what, into);
}

std::string DatBuilder::startGame()
{
    if (index_.games.size() >= kDatGameLimit)
        return "more than " + groupedCount(kDatGameLimit) + " games";
    index_.games.push_back({});
    DatGame& game = index_.games.back();
    game.firstRom = static_cast<uint32_t>(index_.roms.size());
    game.firstDisk = static_cast<uint32_t>(index_.disks.size());
    game.firstDeviceRef = static_cast<uint32_t>(index_.deviceRefs.size());
    inGame_ = true;
    return "";
}

std::string DatBuilder::setName(std::string_view name)
{
    return keep(name, "a name", index_.games.back().name);
}

std::string DatBuilder::setDescription(std::string_view description)
{
    return keep(description, "a description", index_.games.back().description);
}

std::string DatBuilder::setCloneOf(std::string_view parent)
{
    return keep(parent, "a cloneof", index_.games.back().cloneOf);
}

std::string DatBuilder::setRomOf(std::string_view parent)
{
    return keep(parent, "a romof", index_.games.back().romOf);
}

std::string DatBuilder::addRom(const RomFields& fields)
{
    if (index_.roms.size() >= kDatRomLimit)
        return "more than " + groupedCount(kDatRomLimit) + " roms";
    DatRom rom;
    if (fields.hasSize && !parseRomSize(fields.size, rom.key.size))
        return "a size that is not a number: " + quoted(fields.size);
    if (fields.hasCrc && !parseRomCrc(fields.crc, rom.key.crc))
        return "a CRC that is not 8 hex digits: " + quoted(fields.crc);
    if (std::string problem = keep(fields.name, "a rom name", rom.name); !problem.empty())
        return problem;
    if (std::string problem = keep(fields.sha1, "a SHA-1", rom.sha1); !problem.empty())
        return problem;
    if (std::string problem = keepName(fields.merge, rom.name, "a merge", rom.merge); !problem.empty())
        return problem;
    if (std::string problem = keep(fields.bios, "a bios", rom.bios); !problem.empty())
        return problem;
    rom.status = parseRomStatus(fields.status);
    rom.optional = fields.optional == "yes";
    // Files are known by size and CRC together. A rom with a CRC alone (some
    // DATs give nothing more) is kept but never matched: across a large
    // collection a 32-bit CRC alone meets another file's by chance.
    rom.matchable = fields.hasSize && fields.hasCrc && rom.status != RomStatus::NoDump;
    index_.unmatchableRoms += !rom.matchable;
    index_.roms.push_back(rom);
    ++index_.games.back().romCount;
    return "";
}

std::string DatBuilder::addDisk(const DiskFields& fields)
{
    if (index_.disks.size() >= kDatDiskLimit)
        return "more than " + groupedCount(kDatDiskLimit) + " disks";
    DatDisk disk;
    if (std::string problem = keep(fields.name, "a disk name", disk.name); !problem.empty())
        return problem;
    if (std::string problem = keep(fields.sha1, "a SHA-1", disk.sha1); !problem.empty())
        return problem;
    if (std::string problem = keepName(fields.merge, disk.name, "a merge", disk.merge); !problem.empty())
        return problem;
    disk.status = parseRomStatus(fields.status);
    disk.optional = fields.optional == "yes";
    index_.disks.push_back(disk);
    ++index_.games.back().diskCount;
    return "";
}

std::string DatBuilder::addDeviceRef(std::string_view device)
{
    DatGame& game = index_.games.back();
    // A machine names a device once for each of its chips of that kind;
    // what it needs is the device's roms once.
    for (const std::string_view known : index_.deviceRefsOf(game)) {
        if (known == device)
            return "";
    }
    if (index_.deviceRefs.size() >= kDatDeviceRefLimit)
        return "more than " + groupedCount(kDatDeviceRefLimit) + " device references";
    std::string_view kept;
    if (std::string problem = keep(device, "a device name", kept); !problem.empty())
        return problem;
    index_.deviceRefs.push_back(kept);
    ++game.deviceRefCount;
    return "";
}

std::string DatBuilder::endGame()
{
    inGame_ = false;
    return index_.games.back().name.empty() ? "a game without a name" : "";
}

std::string DatBuilder::finish(DatIndex& index)
{
    if (index_.games.empty())
        return "no games at all";
    mergeRepeatedGames(index_);
    index_.finish();
    index = std::move(index_);
    return "";
}

}  // namespace tokenade
