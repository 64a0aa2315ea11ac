#include "set_fills.h"

#include "core/content/sets/set_gathering.h"
#include "core/foundation/path_join.h"
#include "core/foundation/unicode_key.h"
#include "core/repair/plain_name.h"

#include <climits>
#include <set>

namespace tokenade {

SetFormMask fillForms(const ContentFindings& content)
{
    if (!content.basis.sets)
        return kAnySetForm;
    const auto form = collectionForm(*content.basis.sets, content.collection.found, kAnySetForm);
    return form ? maskOf(*form) : kAnySetForm;
}

ReadArchives addSetNeedFills(ChangePlan& plan, const SourceByContent& source, const std::string& sourceFolder,
                             const std::string& targetFolder, ChangeKind kind)
{
    const ContentFindings& content = source.content();
    ReadArchives read;
    if (!content.basis.sets)
        return read;
    const SetRules& rules = *content.basis.sets;
    const GameLines& lines = *content.basis.lines;
    const IdentifiedArchives& identified = *content.source;
    const SetFormMask collectionForms = fillForms(content);
    // What the collection has, or will have once the plan is made, by
    // machine and by archive name: a need is brought once, and never beside
    // an archive of its name (mending that one is no fill's business).
    std::vector<bool> held = machinesHeld(rules, content.collection.found);
    std::set<std::string> named;
    for (const FoundArchive& archive : content.collection.archives.archives)
        named.insert(unicodeKey(archive.name));
    std::vector<std::pair<uint32_t, SetForm>> filled;
    for (const OfferedChange& item : plan.items) {
        const uint32_t line = lines.lineNamed(item.expected);
        const Identification* one = source.identificationAt(item.shownSource);
        if (item.kind != OfferKind::Fill || !item.tickedByDefault || !item.refusal.empty() || line == kNoLine ||
            lines.gameOfLine[line] == kNoGame || !one || !one->holdsGame())
            continue;
        const uint32_t machine = lines.gameOfLine[line];
        held[machine] = true;
        filled.emplace_back(machine, firstForm(collectionForms == kAnySetForm ? one->forms : collectionForms));
    }
    for (const auto& [machine, form] : filled) {
        for (const SetNeed& need : missingNeeds(rules, machine, form, held)) {
            const std::string name = std::string(rules.dat().games[need.machine].name) + ".zip";
            const FoundArchive* archive = source.holdingGame(need.machine);
            if (held[need.machine] || named.count(unicodeKey(name)) || !archive)
                continue;
            held[need.machine] = true;
            const size_t index = static_cast<size_t>(archive - identified.archives.archives.data());
            OfferedChange item;
            item.kind = OfferKind::Fill;
            item.expected = name;
            item.reason = contentReason(content.basis, identified.found[index].game) + ", the " +
                          std::string(needKindKey(need.kind)) + " that " + std::string(rules.dat().games[machine].name) +
                          " needs";
            item.shownSource = identified.archives.pathOf(*archive);
            item.change = Change{kind, joinPath(sourceFolder, identified.archives.folders[archive->folder]),
                                 archive->name, targetFolder, name, FileIdentity{}};
            // A DAT's short name becomes a file name: a hostile one never leaves the folder.
            if (const auto why = whyNotAPlainName(name, NAME_MAX))
                item.refusal = "the needed archive's name cannot be a file name: " + *why;
            read.emplace_back(plan.items.size(), archive);
            plan.items.push_back(std::move(item));
        }
    }
    return read;
}

}  // namespace tokenade
