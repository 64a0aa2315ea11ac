#pragma once

#include "core/results/audit_result.h"

#include <string>
#include <string_view>

namespace tokenade {

// Why a change that gives a file the name `expected` (a name that the list
// behind `result` expects) is offered unticked, or "" when nothing speaks
// against it: the list line keeps spaces or tabs at either end, which a
// file is seldom meant to carry ("Star Fox (USA) .zip"), and more so when
// the game is there already under the name without them. Reads nothing but
// `result`.
std::string spacedNameCaution(const AuditResult& result, std::string_view expected);

}  // namespace tokenade
