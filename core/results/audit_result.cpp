#include "audit_result.h"

namespace tokenade {

AuditResult AuditResult::empty(AuditKind kind)
{
    AuditResult result;
    result.kind = kind;
    for (const CategoryFacts& facts : categoriesOf(kind))
        result.categories.push_back({&facts, {}});
    return result;
}

const ResultList& AuditResult::list(CategoryId id) const
{
    for (const ResultCategory& category : categories) {
        if (category.facts->id == id)
            return category.entries;
    }
    static const ResultList none;
    return none;
}

std::string_view AuditResult::folderOf(const ResultEntry& entry) const
{
    return entry.folder < folders.size() ? std::string_view(folders[entry.folder]) : std::string_view();
}

}  // namespace tokenade
