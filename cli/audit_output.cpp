#include "audit_output.h"

#include "results/report_text.h"

#include <nlohmann/json.hpp>

namespace tokenade::cli {
std::string humanText(const AuditOutcome& outcome)
{
    std::string text = outcome.audit == AuditKind::Roms ? "ROM audit\n" : "Video audit\n";
    for (size_t i = 0; i < outcome.categories.size(); ++i) {
        const std::string name(outcome.categories[i].name);
        text += "  " + name + ":" + std::string(9 - name.size(), ' ') + std::to_string(outcome.lists[i]->size()) + "\n";
    }
    for (size_t i = 0; i < outcome.categories.size(); ++i) {
        text += "\n";
        text += reportText(outcome.categories[i].windowHeader, *outcome.lists[i], "\n");
        text += "\n";
    }
    return text;
}

std::string jsonText(const AuditOutcome& outcome)
{
    nlohmann::ordered_json categories = nlohmann::ordered_json::object();
    for (size_t i = 0; i < outcome.categories.size(); ++i)
        categories[std::string(outcome.categories[i].name)] = *outcome.lists[i];

    nlohmann::ordered_json json;
    json["audit"] = outcome.audit == AuditKind::Roms ? "roms" : "videos";
    json["dir"] = outcome.directory;
    json["list"] = outcome.listPath ? nlohmann::ordered_json(*outcome.listPath) : nlohmann::ordered_json(nullptr);
    json["available_only"] = outcome.availableOnly;
    json["categories"] = std::move(categories);
    // Names that are not UTF-8 get U+FFFD instead of stopping the output.
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace tokenade::cli
