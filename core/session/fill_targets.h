#pragma once

#include "core/results/audit_result.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tokenade {

// The folders a fill may copy into, and the one each collection's fills of
// each kind went to last, so that a collector who keeps a folder per system
// ("romsConsoles/Genesis") finds it chosen again. Kept between runs as text.
class FillTargets {
public:
    // The folders of `result`'s kind that a fill may copy into, relative to
    // the Tokenade directory, in byte order: each folder of the kind's set,
    // and every folder below one that holds a file of the result, with the
    // folders between. Reads nothing but `result`; an empty folder on disk
    // is not among them.
    static std::vector<std::string> foldersOf(const AuditResult& result);

    // The folder the last fill of `kind` on `collection` went to, when it is
    // one of `folders`; else the first of them.
    std::string chosen(AuditKind kind, const std::string& collection, const std::vector<std::string>& folders) const;
    void choose(AuditKind kind, const std::string& collection, std::string folder);

    // A line per collection and kind; a path that a line cannot hold is not kept.
    std::string toText() const;
    // Replaces what is kept with `text` as toText wrote it; lines it did not write are passed over.
    void fromText(std::string_view text);

private:
    std::map<std::pair<AuditKind, std::string>, std::string> chosen_;
};

}  // namespace tokenade
