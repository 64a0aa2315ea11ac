#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tokenade {

// Why a file could not be written.
struct WriteError {
    std::string path;
    std::string reason;  // the system's own words, such as "Permission denied"
};

// Writes `contents` to `path` so that the file either keeps its former
// content or holds exactly the new one: a temporary file beside it is written,
// flushed to disk and renamed over it. On failure the temporary file is
// removed and the error is returned; on success nothing is returned. Does not
// create missing folders.
std::optional<WriteError> writeFileAtomically(const std::string& path, std::string_view contents);

}  // namespace tokenade
