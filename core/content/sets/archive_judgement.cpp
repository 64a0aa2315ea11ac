#include "archive_judgement.h"

#include "core/content/sets/set_disks.h"
#include "core/sources/folder_scan.h"

#include <algorithm>

namespace tokenade {

std::optional<SetJudgement> judgeArchive(const ContentBasis& basis, const IdentifiedArchives& identified, size_t index,
                                         const std::string& directory, SetFormMask allowed)
{
    if (!basis.sets)
        return std::nullopt;
    const SetRules& rules = *basis.sets;
    const FoundArchive& archive = identified.archives.archives[index];
    const Identification& found = identified.found[index];
    if (found.state == ContentState::NotAZip || found.state == ContentState::Ambiguous)
        return std::nullopt;
    const uint32_t named = rules.machineNamed(lineTitle(archive.name));
    uint32_t machine = found.game;
    SetFormMask forms = found.forms;
    // What the archive has of a set speaks first; its name, when it has nothing.
    if (found.game == kNoGame && named != kNoGame) {
        machine = named;
        forms = allowed;
    }
    if (machine == kNoGame || forms == 0)
        return std::nullopt;
    const SetForm form = firstForm(forms);
    if (rules.contents(machine, form).archive != machine)
        return std::nullopt;
    SetJudgement judgement = judgeSet(rules, machine, form, archive.contents);
    std::vector<std::string> folders{identified.archives.folders[archive.folder]};
    for (std::string& folder : folderNames(kRomFolders)) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    addDisks(rules, judgement, judgeDisks(rules, machine, form, directory, folders));
    return judgement;
}

}  // namespace tokenade
