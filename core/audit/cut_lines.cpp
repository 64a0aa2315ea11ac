#include "cut_lines.h"

#include "core/audit/entry_lookup.h"
#include "core/audit/input_warnings.h"
#include "core/sources/path_rules.h"

#include <algorithm>

namespace tokenade {

CutLines cutLinesOf(const ResultList& missing, const RomsList& list, std::string_view extension)
{
    CutLines cut;
    for (std::string_view line : list.lines) {
        if (!periodCutsName(line))
            continue;
        std::string expected(line);
        replacePathExtension(expected, extension);
        const std::span<const ResultEntry> alike = entriesLike(missing, expected);
        const auto free = [&](const ResultEntry& entry) { return !cut.count(&entry); };
        auto entry = std::find_if(alike.begin(), alike.end(),
                                  [&](const ResultEntry& e) { return e.name() == expected && free(e); });
        if (entry == alike.end())
            entry = std::find_if(alike.begin(), alike.end(), free);
        if (entry != alike.end())
            cut.emplace(&*entry, line);
    }
    return cut;
}

}  // namespace tokenade
