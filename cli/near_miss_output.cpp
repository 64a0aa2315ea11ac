#include "near_miss_output.h"

#include "core/audit/name_differences.h"
#include "core/results/report_text.h"
#include "core/sources/path_rules.h"

namespace tokenade::cli {
namespace {

std::string heading(std::string_view what, size_t count, std::string_view why)
{
    return "\n" + std::string(what) + ": " + std::to_string(count) + " (" + std::string(why) + ")\n";
}

std::vector<std::string> differenceWords(uint8_t differences)
{
    std::vector<std::string> words;
    for (std::string_view word : differenceNames(Differences{differences}))
        words.emplace_back(word);
    return words;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

}  // namespace

std::string shown(std::string_view name)
{
    return "\"" + displayName(name) + "\"";
}

std::string placeOf(const AuditResult& result, const ResultEntry& entry)
{
    return joinPath(result.folderOf(entry), entry.name());
}

std::string nearMissText(const AuditResult& result, bool withNames)
{
    const NearMisses& near = result.nearMisses;
    if (!near.searched)
        return "";
    if (!withNames) {
        return heading("Near misses", near.pairs.size(), "files there under another name") +
               heading("Ambiguous", near.ambiguous.size(), "never renamed") +
               heading("Copies", near.copies.size(), "never renamed") +
               heading("Cut names", near.cut.size(), "never renamed");
    }
    std::string text = heading("Near misses", near.pairs.size(), "files there under another name; rename mends them");
    for (const auto& pair : near.pairs)
        text += "  " + shown(placeOf(result, *pair.found)) + " -> " + shown(pair.expected->name()) + "  [" +
                joined(differenceWords(pair.differences)) + "]\n";
    text += heading("Ambiguous", near.ambiguous.size(), "names too alike to pair; never renamed");
    for (const auto& group : near.ambiguous) {
        std::vector<std::string> names;
        for (const ResultEntry* entry : group)
            names.push_back(shown(entry->name()));
        text += "  " + joined(names) + "\n";
    }
    text += heading("Copies", near.copies.size(), "second spellings of games that are there; never renamed");
    for (const auto& copy : near.copies)
        text += "  " + shown(placeOf(result, *copy.file)) + " is a copy of " + shown(copy.copyOf->name()) + "\n";
    text += heading("Cut names", near.cut.size(), "a period in the list line cuts the name it expects; never renamed");
    for (const auto& cut : near.cut)
        text += "  " + shown(cut.line) + " expects " + shown(cut.expected) + ", and " +
                shown(placeOf(result, *cut.found)) + " is there\n";
    return text;
}

void addNearMissJson(const AuditResult& result, nlohmann::ordered_json& json)
{
    const NearMisses& near = result.nearMisses;
    auto pairs = nlohmann::ordered_json::array();
    for (const auto& pair : near.pairs)
        pairs.push_back({{"expected", pair.expected->name()},
                         {"found", pair.found->name()},
                         {"folder", result.folderOf(*pair.found)},
                         {"differences", differenceWords(pair.differences)}});
    auto ambiguous = nlohmann::ordered_json::array();
    for (const auto& group : near.ambiguous) {
        auto names = nlohmann::ordered_json::array();
        for (const ResultEntry* entry : group)
            names.push_back(entry->name());
        ambiguous.push_back(std::move(names));
    }
    auto copies = nlohmann::ordered_json::array();
    for (const auto& copy : near.copies)
        copies.push_back({{"name", copy.file->name()},
                          {"folder", result.folderOf(*copy.file)},
                          {"copy_of", copy.copyOf->name()}});
    auto cut = nlohmann::ordered_json::array();
    for (const auto& name : near.cut)
        cut.push_back({{"line", name.line},
                       {"expected", name.expected},
                       {"found", name.found->name()},
                       {"folder", result.folderOf(*name.found)}});
    json["near_misses"] = std::move(pairs);
    json["ambiguous"] = std::move(ambiguous);
    json["copies"] = std::move(copies);
    json["cut"] = std::move(cut);
}

}  // namespace tokenade::cli
