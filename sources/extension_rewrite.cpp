#include "extension_rewrite.h"

#include "sources/path_rules.h"

namespace tokenade {

void setExtension(std::string_view extension, NameList& filenames)
{
    for (std::string& name : filenames)
        replacePathExtension(name, extension);
}

}  // namespace tokenade
