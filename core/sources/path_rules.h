#pragma once

#include "core/foundation/path_join.h"  // joinPath, the join of two parts

#include <string>
#include <string_view>

namespace tokenade {

// Path rules for names whose only separator is "/".

// Trailing "/" ignored, then the text after the last "/"; "/" alone stays "/".
std::string_view lastPathComponent(std::string_view path);

// The text after the final period of the last component, unless that period
// is the component's first character. A component ending in a period has an
// empty extension.
std::string_view pathExtension(std::string_view path);

// Replaces the last extension of `path`, in place: trailing "/" removed, then
// the final period of the last component with the extension after it (a name
// without an extension keeps all of it), then "." and `extension`. "a.b"
// gives "a.zip", "x." gives "x.zip", ".hidden" gives ".hidden.zip", and a
// name made only of "/" keeps one ("/" gives "/.zip").
void replacePathExtension(std::string& path, std::string_view extension);

// True when the path extension, in lower case, equals `extension` (given in
// lower case).
bool hasExtension(std::string_view path, std::string_view extension);

// The hidden names a batch of changes gives a file for a while, such as
// ".tokenade-1765288800-4242-0-3.part" (the time, the process, the batch and
// the change): a copy until it is whole, a file halfway through a case-only
// rename. A file found under one was left by a batch cut short.
inline constexpr std::string_view kBatchTemporaryStart = ".tokenade-";
inline constexpr std::string_view kBatchTemporaryEnd = ".part";

// True when `name` (a bare name) is such a temporary name.
inline bool isBatchTemporaryName(std::string_view name)
{
    return name.size() > kBatchTemporaryStart.size() + kBatchTemporaryEnd.size() &&
           name.starts_with(kBatchTemporaryStart) && name.ends_with(kBatchTemporaryEnd);
}

}  // namespace tokenade
