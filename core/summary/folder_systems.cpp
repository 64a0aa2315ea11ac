#include "system_summary.h"

#include <map>

namespace tokenade {

std::string_view systemOfFolder(std::string_view folder)
{
    const size_t first = folder.find('/');
    if (first == std::string_view::npos)
        return folder;
    return folder.substr(0, folder.find('/', first + 1));
}

SystemSummary summarizeByFolder(const AuditResult& result)
{
    // Folders come sorted, but "a/b c" sorts before "a/b/c": the map keeps
    // the systems in byte order whatever their folders' order.
    std::map<std::string, SystemCounts, std::less<>> bySystem;
    const auto countFound = [&](CategoryId category, SystemCount count) {
        for (const ResultEntry& entry : result.list(category)) {
            const std::string_view system = systemOfFolder(result.folderOf(entry));
            auto at = bySystem.find(system);
            if (at == bySystem.end())
                at = bySystem.emplace(std::string(system), SystemCounts{SystemKind::Folder, std::string(system)}).first;
            ++at->second[count];
        }
    };
    countFound(CategoryId::Valid, SystemCount::Valid);
    countFound(CategoryId::Unknown, SystemCount::Unknown);

    SystemSummary summary;
    for (auto& [name, counts] : bySystem)
        summary.systems.push_back(std::move(counts));
    SystemCounts all{SystemKind::All, ""};
    all[SystemCount::Valid] = result.list(CategoryId::Valid).size();
    all[SystemCount::Missing] = result.list(CategoryId::Missing).size();
    all[SystemCount::Unknown] = result.list(CategoryId::Unknown).size();
    summary.systems.push_back(std::move(all));
    return summary;
}

}  // namespace tokenade
