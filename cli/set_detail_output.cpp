#include "set_detail_output.h"

#include "cli/csv_output.h"
#include "core/content/sets/judgement_text.h"
#include "core/foundation/grouped_count.h"

namespace tokenade::cli {

std::string setDetailText(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive)
{
    if (judgement.state == SetState::Correct)
        return "";
    // A merged parent may lack hundreds of roms: the block stays a glance.
    constexpr size_t kLinesShown = 8;
    const std::vector<std::string> lines = judgementLines(dat, judgement, archive);
    std::string text = "  " + judgementSummary(dat, judgement) + "\n";
    for (size_t i = 0; i < std::min(lines.size(), kLinesShown); ++i)
        text += "  " + lines[i] + "\n";
    if (lines.size() > kLinesShown)
        text += "  and " + groupedCount(lines.size() - kLinesShown) + " more\n";
    return text;
}

nlohmann::ordered_json setDetailJson(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive)
{
    using Json = nlohmann::ordered_json;
    const auto file = [](uint64_t size, uint32_t crc) { return Json{{"size", size}, {"crc", crcText(crc)}}; };
    Json set;
    set["name"] = dat.games[judgement.machine].name;
    set["form"] = setFormKey(judgement.form);
    set["state"] = setStateKey(judgement.state);
    // Correct roms are counted, not listed: a collection of merged sets would
    // otherwise have the whole DAT written out again, and held in memory whole.
    set["correct_roms"] = judgement.count(RomState::Correct);
    set["roms"] = Json::array();
    for (const RomVerdict& verdict : judgement.roms) {
        const DatRom& rom = dat.roms[verdict.rom];
        if (verdict.state == RomState::Correct && rom.status != RomStatus::BadDump)
            continue;
        Json item = file(rom.key.size, rom.key.crc);
        item["name"] = rom.name;
        item["state"] = romStateKey(verdict.state);
        if (rom.status == RomStatus::BadDump)
            item["bad_dump"] = true;
        if (verdict.state == RomState::Wrong) {
            const ZipEntry& entry = archive.entries[verdict.entry];
            item["found"] = file(entry.size, entry.crc);
            item["found"]["name"] = entry.name;
        }
        set["roms"].push_back(std::move(item));
    }
    set["left_over"] = Json::array();
    for (const uint32_t at : judgement.leftOver) {
        Json item = file(archive.entries[at].size, archive.entries[at].crc);
        item["name"] = archive.entries[at].name;
        set["left_over"].push_back(std::move(item));
    }
    if (!judgement.disks.empty()) {
        set["disks"] = Json::array();
        for (const DiskVerdict& verdict : judgement.disks) {
            const DatDisk& disk = dat.disks[verdict.disk];
            Json item{{"name", disk.name}, {"sha1", disk.sha1}, {"state", diskStateKey(verdict.state)},
                      {"required", verdict.required}};
            if (!verdict.path.empty())
                item["path"] = verdict.path;
            if (verdict.state == DiskState::Wrong)
                item["found_sha1"] = verdict.sha1;
            if (verdict.state == DiskState::Unreadable)
                item["reason"] = verdict.reason;
            set["disks"].push_back(std::move(item));
        }
    }
    return set;
}

void appendSetCsvFields(std::string& row, std::string_view forms, const DatIndex& dat, const SetJudgement* judgement,
                        const ZipDirectory& archive)
{
    row.push_back(',');
    appendCsvField(row, forms);
    row.push_back(',');
    if (judgement == nullptr) {
        row += ",,";
        return;
    }
    std::string detail;
    for (const std::string& line : judgementLines(dat, *judgement, archive))
        detail += (detail.empty() ? "" : "; ") + line;
    appendCsvField(row, dat.games[judgement->machine].name);
    row.push_back(',');
    appendCsvField(row, setStateKey(judgement->state));
    row.push_back(',');
    appendCsvField(row, detail);
}

}  // namespace tokenade::cli
