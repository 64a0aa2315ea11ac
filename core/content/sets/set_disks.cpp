#include "set_disks.h"

#include "core/archives/chd_header.h"
#include "core/foundation/ascii.h"
#include "core/foundation/path_join.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace tokenade {
namespace {

// The machine whose entry lists `disk`, among `machine`'s family.
uint32_t ownerOf(const SetRules& rules, uint32_t machine, uint32_t disk)
{
    const auto lists = [&](uint32_t m) {
        const DatGame& game = rules.dat().games[m];
        return disk >= game.firstDisk && disk < game.firstDisk + game.diskCount;
    };
    for (const uint32_t clone : rules.clonesOf(machine)) {
        if (lists(clone))
            return clone;
    }
    return machine;
}

// A DAT's name made into a path must stay one file below the set's folder.
bool plainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

bool sameSha1(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

bool absent(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

DiskVerdict judgeDisk(const DatDisk& disk, uint32_t index, const std::string& path)
{
    DiskVerdict verdict;
    verdict.disk = index;
    verdict.path = path;
    const ChdRead read = readChdHeader(path);
    if (!read.header) {
        verdict.state = DiskState::Unreadable;
        verdict.reason = read.problem.reason;
    } else if (!disk.sha1.empty() && !sameSha1(read.header->sha1, disk.sha1)) {
        verdict.state = DiskState::Wrong;
        verdict.sha1 = read.header->sha1;
    } else {
        verdict.state = DiskState::Present;
    }
    return verdict;
}

}  // namespace

std::vector<DiskVerdict> judgeDisks(const SetRules& rules, uint32_t machine, SetForm form, const std::string& directory,
                                    std::span<const std::string> folders)
{
    const DatIndex& dat = rules.dat();
    std::vector<DiskVerdict> verdicts;
    for (const uint32_t d : rules.contents(machine, form).disks) {
        const DatDisk& disk = dat.disks[d];
        const uint32_t owner = ownerOf(rules, machine, d);
        std::vector<uint32_t> sets{owner};
        for (const uint32_t more : {rules.parentOf(owner), machine}) {
            if (more != kNoGame && std::find(sets.begin(), sets.end(), more) == sets.end())
                sets.push_back(more);
        }
        std::vector<std::string_view> names;
        for (const std::string_view name : {disk.name, disk.merge}) {
            if (plainName(name) && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
        std::erase_if(sets, [&](uint32_t set) { return !plainName(dat.games[set].name); });
        DiskVerdict verdict{d, DiskState::Missing, true, "", "", ""};
        for (size_t f = 0; f < folders.size() && verdict.state == DiskState::Missing; ++f) {
            for (size_t s = 0; s < sets.size() && verdict.state == DiskState::Missing; ++s) {
                for (size_t n = 0; n < names.size() && verdict.state == DiskState::Missing; ++n) {
                    const std::string path = joinPath(joinPath(joinPath(directory, folders[f]), dat.games[sets[s]].name),
                                                      std::string(names[n]) + ".chd");
                    if (!absent(path))
                        verdict = judgeDisk(disk, d, path);
                }
            }
        }
        verdict.required = disk.status != RomStatus::NoDump && !disk.optional;
        verdicts.push_back(std::move(verdict));
    }
    return verdicts;
}

}  // namespace tokenade
