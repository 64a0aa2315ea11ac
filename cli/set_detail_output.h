#pragma once

#include "core/content/sets/set_judgement.h"

#include <nlohmann/json.hpp>

#include <string>

namespace tokenade::cli {

// How `identify` shows a set judged rom by rom (judgeArchive).

// The indented block under an archive's line, for a set that is not
// correct: its summary, then its lines (judgementLines), at most a few, the
// rest counted ("  and 3 more"). "" for a correct set.
std::string setDetailText(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive);

// The judgement for --json: the set, its form and state, how many required
// roms are correct, each required rom that is not (with what was found for a
// wrong one) or is a bad dump, the entries left over and each disk.
nlohmann::ordered_json setDetailJson(const DatIndex& dat, const SetJudgement& judgement, const ZipDirectory& archive);

// The CSV columns a DAT of sets adds, after a comma: the forms the archive
// holds its set in (`forms`, as the text says them), the set judged, its
// state and every line of the judgement joined by "; ". Without a
// judgement, all but the forms are empty.
inline constexpr std::string_view kSetCsvColumns = "form,set,set_state,set_detail";
void appendSetCsvFields(std::string& row, std::string_view forms, const DatIndex& dat, const SetJudgement* judgement,
                        const ZipDirectory& archive);

}  // namespace tokenade::cli
