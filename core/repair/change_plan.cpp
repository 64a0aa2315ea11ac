#include "change_plan.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace tokenade {

std::vector<bool> ChangePlan::defaultTicks() const
{
    std::vector<bool> ticks;
    for (const OfferedChange& item : items)
        ticks.push_back(item.tickedByDefault && item.refusal.empty());
    return ticks;
}

std::vector<Change> ChangePlan::chosen(const std::vector<bool>& ticks) const
{
    std::vector<Change> changes;
    for (size_t i = 0; i < items.size() && i < ticks.size(); ++i) {
        if (ticks[i] && items[i].refusal.empty())
            changes.push_back(items[i].change);
    }
    return changes;
}

uint64_t ChangePlan::bytesToCopy(const std::vector<bool>& ticks) const
{
    uint64_t bytes = 0;
    for (size_t i = 0; i < items.size() && i < ticks.size(); ++i) {
        if (ticks[i] && items[i].refusal.empty() && items[i].change.kind == ChangeKind::Copy)
            bytes += static_cast<uint64_t>(items[i].change.identity.size);
    }
    return bytes;
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error)
        return std::nullopt;
    std::string text = resolved.string();
    while (text != "/" && text.ends_with('/'))
        text.pop_back();
    return text;
}

bool isWithin(const std::string& path, const std::string& folder)
{
    if (folder == "/")
        return true;
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace tokenade
