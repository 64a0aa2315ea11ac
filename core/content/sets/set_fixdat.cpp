#include "set_fixdat.h"

#include "core/content/sets/set_gathering.h"

namespace tokenade {

std::vector<FixdatGame> missingSetsOf(const SetRules& rules, const GameLines& lines,
                                      const std::vector<bool>& missingLines, const std::vector<bool>& held,
                                      SetForm form, size_t* needed)
{
    const SetForm written = form == SetForm::Merged ? SetForm::Split : form;
    std::vector<bool> listed(rules.dat().games.size());
    std::vector<FixdatGame> games;
    const auto add = [&](uint32_t machine) {
        listed[machine] = true;
        const SetContents contents = rules.contents(machine, written);
        FixdatGame game{machine, {}, contents.disks};
        for (const SetRom& rom : contents.roms)
            game.roms.push_back(rom.rom);
        games.push_back(std::move(game));
    };
    for (size_t line = 0; line < missingLines.size(); ++line) {
        const uint32_t machine = lines.gameOfLine[line];
        if (missingLines[line] && machine != kNoGame && !listed[machine])
            add(machine);
    }
    const size_t ofTheList = games.size();
    for (size_t i = 0; i < ofTheList; ++i) {
        for (const SetNeed& need : missingNeeds(rules, games[i].game, form, held)) {
            if (!listed[need.machine])
                add(need.machine);
        }
    }
    if (needed)
        *needed = games.size() - ofTheList;
    return games;
}

}  // namespace tokenade
