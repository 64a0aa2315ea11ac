#pragma once

#include "core/results/audit_warning.h"
#include "core/results/categories.h"
#include "core/results/near_misses.h"
#include "core/sources/name_arena.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tokenade {

// A result entry that stands for no file: a missing name.
inline constexpr uint32_t kNoFolder = UINT32_MAX;

// One name of a result: a view into the bytes that the result keeps, and the
// folder of the file it stands for.
struct ResultEntry {
    const char* bytes = nullptr;
    uint32_t size = 0;
    uint32_t folder = kNoFolder;  // index into AuditResult::folders

    std::string_view name() const { return std::string_view(bytes, size); }
};

using ResultList = std::vector<ResultEntry>;

// The whole list lines of the missing names that a period in the line cut
// short ("Dr. Mario (Japan, USA)" for "Dr.zip"), by entry.
using CutLines = std::unordered_map<const ResultEntry*, std::string>;

// A category of a result: its fixed facts and its names, in merge order.
struct ResultCategory {
    const CategoryFacts* facts;
    ResultList entries;
};

// The outcome of one audit: its categories in display order, each with its
// names; the folders the found files lie in; what the user should know about
// how it was made. The result owns every byte its entries view, so it can be
// moved from thread to thread whole. Move-only.
struct AuditResult {
    AuditKind kind = AuditKind::Roms;
    bool availableOnly = false;  // a video audit that expected videos of the archives present only
    std::vector<ResultCategory> categories;
    std::vector<std::string> folders;  // relative to the Tokenade directory, e.g. "roms/Sega"
    std::vector<AuditWarning> warnings;
    NearMisses nearMisses;             // files there under another name, when they were looked for
    CutLines cutLines;                 // of the missing category: the lines a period cut short
    std::vector<NameArena> storage;    // the bytes of every name

    // A result with every category of `kind` and no names: what the window
    // holds before the first audit.
    static AuditResult empty(AuditKind kind);

    // The names of a category; an empty list for one this kind of audit lacks.
    const ResultList& list(CategoryId id) const;
    // The folder of an entry relative to the Tokenade directory; "" for none.
    std::string_view folderOf(const ResultEntry& entry) const;
};

}  // namespace tokenade
