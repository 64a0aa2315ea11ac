#pragma once

#include "core/content/dat_index.h"

#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// Merged DATs often list a game twice. A repeat with the same name and the
// same roms (in any order) is the same game: it is dropped, so that its
// archives are not ambiguous between two copies of one game. Repeats whose
// roms differ are kept; repeatedGameNames tells them. Of several DATs read
// as one, a game a later DAT repeats is kept in the first DAT's place and
// the later DAT noted in DatIndex::alsoIn. Call before DatIndex::finish,
// which it leaves to the caller.
void mergeRepeatedGames(DatIndex& index);

// The names given to more than one game of one DAT of a finished index,
// each once, in the order of their first game.
std::vector<std::string_view> repeatedGameNames(const DatIndex& index);

// The warning for the command line, "" when no name is repeated:
// "2 games of the DAT are listed more than once with different roms, so
// their archives cannot be told apart: \"alpha\", \"beta\"" (three named at most).
std::string repeatedGamesWarning(const DatIndex& index);

}  // namespace tokenade
