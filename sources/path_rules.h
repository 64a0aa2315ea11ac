#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// Path rules for names whose only separator is "/".

// The directory, one "/", then the name; no "/" is doubled, and an empty
// directory gives the bare name.
std::string joinPath(std::string_view directory, std::string_view name);

// Trailing "/" ignored, then the text after the last "/"; "/" alone stays "/".
std::string_view lastPathComponent(std::string_view path);

// The text after the final period of the last component, unless that period
// is the component's first character. A component ending in a period has an
// empty extension.
std::string_view pathExtension(std::string_view path);

// Trailing "/" removed, then the final period of the last component and the
// extension after it; a name without an extension stays as it is, and a name
// made only of "/" stays "/".
std::string deletingPathExtension(std::string_view path);

// Trailing "/" removed, then "." and `extension`; a name made only of "/"
// keeps one "/" ("/" gives "/.zip").
std::string appendingPathExtension(std::string_view path, std::string_view extension);

// appendingPathExtension(deletingPathExtension(path), extension), done in
// place: the stem is always a prefix of the name.
void replacePathExtension(std::string& path, std::string_view extension);

// True when the path extension, in lower case, equals `extension` (given in
// lower case).
bool hasExtension(std::string_view path, std::string_view extension);

}  // namespace tokenade
