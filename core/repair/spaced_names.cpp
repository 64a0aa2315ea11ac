#include "spaced_names.h"

#include "core/audit/entry_lookup.h"
#include "core/repair/rename_offers.h"
#include "core/sources/path_rules.h"

#include <algorithm>

namespace tokenade {
namespace {

bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// The same name without the spaces at either end of its last component's stem.
std::string trimmed(std::string_view name)
{
    const std::string_view last = lastPathComponent(name);
    const std::string_view stem = stemOf(last);
    const size_t begin = std::min(stem.find_first_not_of(" \t"), stem.size());
    const size_t end = stem.find_last_not_of(" \t") + 1;  // 0 where all are spaces
    const std::string_view kept = begin < end ? stem.substr(begin, end - begin) : std::string_view();
    return std::string(name.substr(0, name.size() - last.size())) + std::string(kept) +
           std::string(last.substr(stem.size()));
}

// The found file named as `name` (letter case aside), or null.
const ResultEntry* foundAs(const AuditResult& result, std::string_view name)
{
    for (const ResultCategory& category : result.categories) {
        if (!category.facts->foundSide)
            continue;
        if (const ResultEntry* entry = entryLike(category.entries, name))
            return entry;
    }
    return nullptr;
}

}  // namespace

std::string spacedNameCaution(const AuditResult& result, std::string_view expected)
{
    const std::string plain = trimmed(expected);
    if (plain == expected)
        return "";
    const std::string_view stem = stemOf(lastPathComponent(expected));
    const bool front = isSpaceOrTab(stem.front());
    const bool back = isSpaceOrTab(stem.back());
    const std::string where = front && back ? "begins and ends" : front ? "begins" : "ends";
    if (const ResultEntry* present = foundAs(result, plain))
        return "\u201C" + std::string(present->name()) + "\u201D is there already: the list line " + where +
               " with a space, which the expected name keeps";
    return "the list line " + where + " with a space, which the expected name keeps";
}

}  // namespace tokenade
