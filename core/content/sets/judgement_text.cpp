#include "judgement_text.h"

#include "core/foundation/grouped_count.h"

#include <cstdio>

namespace tokenade {

std::string crcText(uint32_t crc)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", crc);
    return text;
}

std::string fileWords(uint64_t size, uint32_t crc)
{
    return groupedCount(size) + (size == 1 ? " byte, CRC " : " bytes, CRC ") + crcText(crc);
}

std::string judgementSummary(const DatIndex& dat, const SetJudgement& judgement)
{
    std::string text = "set " + std::string(dat.games[judgement.machine].name) + ", " +
                       std::string(setFormKey(judgement.form)) + ": " + std::string(setStateKey(judgement.state));
    std::string counts;
    const auto add = [&](size_t count, std::string_view words) {
        if (count != 0)
            counts += (counts.empty() ? ": " : ", ") + groupedCount(count) + " " + std::string(words);
    };
    add(judgement.count(RomState::Missing), "missing");
    add(judgement.count(RomState::Wrong), "wrong");
    add(judgement.leftOver.size(), "left over");
    const size_t disks = judgement.count(DiskState::Missing) + judgement.count(DiskState::Wrong) +
                         judgement.count(DiskState::Unreadable);
    add(disks, disks == 1 ? "disk not present" : "disks not present");
    return text + counts;
}

std::vector<std::string> judgementLines(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive)
{
    std::vector<std::string> lines;
    for (const RomVerdict& verdict : judgement.roms) {
        const DatRom& rom = dat.roms[verdict.rom];
        const std::string name(rom.name);
        switch (verdict.state) {
        case RomState::Correct:
            if (rom.status == RomStatus::BadDump)
                lines.push_back(name + ": correct, a bad dump");
            break;
        case RomState::Missing: lines.push_back(name + ": missing (" + fileWords(rom.key.size, rom.key.crc) + ")"); break;
        case RomState::Wrong: {
            const ZipEntry& entry = archive.entries[verdict.entry];
            const std::string as = entry.name == rom.name ? "" : " as " + entry.name + ",";
            lines.push_back(name + ": wrong: found" + as + " " + fileWords(entry.size, entry.crc) + "; the DAT has " +
                            fileWords(rom.key.size, rom.key.crc));
            break;
        }
        }
    }
    for (const uint32_t at : judgement.leftOver) {
        const ZipEntry& entry = archive.entries[at];
        lines.push_back((entry.name.empty() ? "an entry of " + fileWords(entry.size, entry.crc) : entry.name) + ": left over");
    }
    for (const DiskVerdict& verdict : judgement.disks) {
        const DatDisk& disk = dat.disks[verdict.disk];
        const std::string name = "disk " + std::string(disk.name) + ": ";
        if (!verdict.required)
            continue;
        switch (verdict.state) {
        case DiskState::Present:
            if (disk.status == RomStatus::BadDump)
                lines.push_back(name + "present, a bad dump");
            break;
        case DiskState::Missing: lines.push_back(name + "missing"); break;
        case DiskState::Wrong:
            lines.push_back(name + "wrong: its header gives SHA-1 " + verdict.sha1 + ", not " + std::string(disk.sha1));
            break;
        case DiskState::Unreadable: lines.push_back(name + "unreadable: " + verdict.reason); break;
        }
    }
    return lines;
}

}  // namespace tokenade
