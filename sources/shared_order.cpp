#include "shared_order.h"

#include "platform/foundation/unicode_key.h"
#include "sources/path_rules.h"


namespace tokenade {
namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

int caseInsensitiveCompare(std::string_view first, std::string_view second)
{
    return sign(unicodeKey(first).compare(unicodeKey(second)));
}

int compareSringsCaseInsensitive(std::string_view first, std::string_view second, void*)
{
    return caseInsensitiveCompare(lastPathComponent(first), lastPathComponent(second));
}

void sortNames(NameList& names, SortBy by)
{
    KeyedNames keyed(std::move(names), by);
    keyed.sort();
    names = keyed.takeNames();
}

}  // namespace tokenade
