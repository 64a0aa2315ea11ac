#pragma once

#include "core/results/audit_result.h"

#include <string>
#include <vector>

namespace tokenade::testing {

// Result entries that view the given names, which must outlive them.
inline ResultList entriesOf(const std::vector<std::string>& names, uint32_t folder = kNoFolder)
{
    ResultList entries;
    for (const std::string& name : names)
        entries.push_back({name.data(), static_cast<uint32_t>(name.size()), folder});
    return entries;
}

}  // namespace tokenade::testing
