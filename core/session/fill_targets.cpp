#include "fill_targets.h"

#include "core/session/per_kind.h"
#include "core/sources/folder_scan.h"

#include <algorithm>
#include <set>

namespace tokenade {
namespace {

constexpr std::string_view kKindWords[] = {"roms", "videos"};

bool fitsALine(std::string_view text)
{
    return text.find_first_of("\t\n") == std::string_view::npos;
}

}  // namespace

std::vector<std::string> FillTargets::foldersOf(const AuditResult& result)
{
    const std::vector<std::string> set = folderNames(result.kind == AuditKind::Roms ? kRomFolders : kVideoFolders);
    std::set<std::string> folders(set.begin(), set.end());
    for (const std::string& folder : result.folders) {
        const std::string top = folder.substr(0, folder.find('/'));
        if (std::find(set.begin(), set.end(), top) == set.end())
            continue;
        for (size_t slash = folder.find('/'); slash != std::string::npos; slash = folder.find('/', slash + 1))
            folders.insert(folder.substr(0, slash));
        folders.insert(folder);
    }
    return {folders.begin(), folders.end()};
}

std::string FillTargets::chosen(AuditKind kind, const std::string& collection,
                                const std::vector<std::string>& folders) const
{
    const auto kept = chosen_.find({kind, collection});
    if (kept != chosen_.end() && std::find(folders.begin(), folders.end(), kept->second) != folders.end())
        return kept->second;
    // The set's first folder, as a fill takes it by default.
    const std::string first = folderNames(kind == AuditKind::Roms ? kRomFolders : kVideoFolders).front();
    return std::find(folders.begin(), folders.end(), first) != folders.end() || folders.empty() ? first
                                                                                               : folders.front();
}

void FillTargets::choose(AuditKind kind, const std::string& collection, std::string folder)
{
    chosen_[{kind, collection}] = std::move(folder);
}

std::string FillTargets::toText() const
{
    std::string text;
    for (const auto& [key, folder] : chosen_) {
        if (fitsALine(key.second) && fitsALine(folder))
            text += std::string(kKindWords[static_cast<int>(key.first)]) + "\t" + key.second + "\t" + folder + "\n";
    }
    return text;
}

void FillTargets::fromText(std::string_view text)
{
    chosen_.clear();
    while (!text.empty()) {
        const std::string_view line = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(text.size(), line.size() + 1));
        const size_t first = line.find('\t');
        const size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
        if (second == std::string_view::npos)
            continue;
        const std::string_view word = line.substr(0, first);
        for (AuditKind kind : kAuditKinds) {
            if (word == kKindWords[static_cast<int>(kind)])
                chosen_[{kind, std::string(line.substr(first + 1, second - first - 1))}] =
                    std::string(line.substr(second + 1));
        }
    }
}

}  // namespace tokenade
