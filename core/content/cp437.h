#pragma once

#include <string>
#include <string_view>

namespace tokenade {

// `bytes` read as code page 437, the encoding of zip entry names that do not
// say they are UTF-8, in UTF-8. ASCII stays as it is.
std::string cp437ToUtf8(std::string_view bytes);

}  // namespace tokenade
