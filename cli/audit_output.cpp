#include "audit_output.h"

#include "cli/near_miss_output.h"
#include "core/results/report_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

namespace tokenade::cli {
namespace {

void put(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

nlohmann::ordered_json namesOf(const ResultList& entries)
{
    nlohmann::ordered_json names = nlohmann::ordered_json::array();
    for (const ResultEntry& entry : entries)
        names.push_back(std::string(entry.name()));
    return names;
}

// Where each file of a category lies, parallel to its names.
nlohmann::ordered_json foldersOf(const AuditResult& result, const ResultList& entries)
{
    nlohmann::ordered_json folders = nlohmann::ordered_json::array();
    for (const ResultEntry& entry : entries)
        folders.push_back(result.folderOf(entry));
    return folders;
}

// Extra videos are only spoken of when the audit expected the videos of the
// archives present: otherwise the category is always empty and meaningless.
bool isReported(CategoryId id, bool availableOnly)
{
    return id != CategoryId::Extra || availableOnly;
}

}  // namespace

bool isShown(const AuditReport& report, const ResultCategory& category)
{
    const CategoryId id = category.facts->id;
    return isReported(id, report.result.availableOnly) &&
           (report.only.empty() || std::find(report.only.begin(), report.only.end(), id) != report.only.end());
}

CategoryChoice parseCategoryList(std::string_view list, AuditKind kind, bool availableOnly)
{
    const auto categories = categoriesOf(kind);
    std::string offered;  // "valid, missing, unknown", for the message
    for (const CategoryFacts& facts : categories) {
        if (isReported(facts.id, availableOnly))
            offered += (offered.empty() ? "" : ", ") + std::string(facts.key);
    }
    CategoryChoice choice;
    size_t start = 0;
    while (true) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string_view item = list.substr(start, end - start);
        const auto facts = std::find_if(categories.begin(), categories.end(), [&](const CategoryFacts& category) {
            return category.key == item && isReported(category.id, availableOnly);
        });
        if (facts == categories.end()) {
            if (item == "extra")
                return {{}, "--only extra goes with videos --available-only"};
            return {{}, "--only: \"" + std::string(item) + "\" is not a category; choose from " + offered};
        }
        if (std::find(choice.ids.begin(), choice.ids.end(), facts->id) == choice.ids.end())
            choice.ids.push_back(facts->id);
        if (end == list.size())
            return choice;
        start = end + 1;
    }
}

void writeHumanText(const AuditReport& report, std::FILE* out)
{
    const AuditResult& result = report.result;
    put(out, result.kind == AuditKind::Roms ? "ROM audit\n" : "Video audit\n");
    for (const ResultCategory& category : result.categories) {
        if (!isShown(report, category))
            continue;
        const std::string key(category.facts->key);
        put(out, "  " + key + ":" + std::string(9 - key.size(), ' ') + std::to_string(category.entries.size()) + "\n");
    }
    for (const ResultCategory& category : result.categories) {
        if (!isShown(report, category) || report.summary)
            continue;
        put(out, "\n");
        writeReportText(category.facts->windowHeader, category.entries, "\n",
                        [&](std::string_view piece) { put(out, piece); });
        put(out, "\n");
    }
    put(out, nearMissText(result, !report.summary));
}

std::string jsonText(const AuditReport& report)
{
    const AuditResult& result = report.result;
    nlohmann::ordered_json categories = nlohmann::ordered_json::object();
    nlohmann::ordered_json folders = nlohmann::ordered_json::object();
    for (const ResultCategory& category : result.categories) {
        if (!isShown(report, category))
            continue;
        const std::string key(category.facts->key);
        categories[key] = report.summary ? nlohmann::ordered_json(category.entries.size()) : namesOf(category.entries);
        if (category.facts->foundSide)
            folders[key] = foldersOf(result, category.entries);
    }
    nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
    for (const AuditWarning& warning : result.warnings)
        warnings.push_back({{"kind", warningKey(warning.kind)},
                            {"count", warning.count},
                            {"examples", warning.examples},
                            {"message", warning.message}});
    nlohmann::ordered_json json;
    json["audit"] = result.kind == AuditKind::Roms ? "roms" : "videos";
    json["dir"] = report.directory;
    json["list"] = report.listPath ? nlohmann::ordered_json(*report.listPath) : nlohmann::ordered_json(nullptr);
    json["available_only"] = result.availableOnly;
    json["warnings"] = std::move(warnings);
    json[report.summary ? "counts" : "categories"] = std::move(categories);
    if (!report.summary)
        json["folders"] = std::move(folders);
    if (result.nearMisses.searched)
        addNearMissJson(result, json);
    // Names that are not UTF-8 get U+FFFD instead of stopping the output.
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string warningLines(const AuditResult& result)
{
    std::string lines;
    for (const AuditWarning& warning : result.warnings) {
        lines += "tokenade-audit: warning: " + warning.message;
        for (size_t i = 0; i < warning.examples.size(); ++i)
            lines += (i == 0 ? " For example: " : "; ") + warning.examples[i];
        lines += "\n";
    }
    return lines;
}

}  // namespace tokenade::cli
