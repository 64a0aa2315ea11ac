#pragma once

#include "core/results/audit_result.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace tokenade::cli {

// The near misses of a result as text: a heading with its count for pairs,
// ambiguous groups, copies and cut names, each followed, `withNames`, by one
// line an item; "" when they were not looked for.
std::string nearMissText(const AuditResult& result, bool withNames = true);

// The near misses as the JSON members near_misses, ambiguous, copies and cut.
void addNearMissJson(const AuditResult& result, nlohmann::ordered_json& json);

// A name in double quotes, as it shows (displayName).
std::string shown(std::string_view name);

// "roms/Sega/Dr Mario.zip": where a found file lies, below the Tokenade directory.
std::string placeOf(const AuditResult& result, const ResultEntry& entry);

}  // namespace tokenade::cli
