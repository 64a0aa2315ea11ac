#pragma once

#include "cli/cli_options.h"
#include "results/categories.h"
#include "sources/name_list.h"

#include <optional>
#include <span>
#include <string>

namespace tokenade::cli {

// One audit's categories with their lists, in segment order.
struct AuditOutcome {
    AuditKind audit;
    std::string directory;
    std::optional<std::string> listPath;  // the list used; absent when none was found
    bool availableOnly = false;
    std::span<const Category> categories;
    std::span<const NameList* const> lists;
};

// One line per category with its count, then each category's text as the
// window shows it, with LF line ends.
std::string humanText(const AuditOutcome& outcome);

// One JSON object: audit, dir, list, available_only and the names of every
// category in result order.
std::string jsonText(const AuditOutcome& outcome);

}  // namespace tokenade::cli
