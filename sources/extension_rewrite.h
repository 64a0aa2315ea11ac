#pragma once

#include "sources/name_list.h"

#include <string_view>

namespace tokenade {

// Replaces the last extension of every entry of `filenames` with `extension`
// (given without the period), appending it where there is none: "alpha",
// "alpha.7z" and "alpha.ZIP" all become "alpha.zip". Entries stay at their
// places; the list is NOT sorted again.
void setExtension(std::string_view extension, NameList& filenames);

}  // namespace tokenade
