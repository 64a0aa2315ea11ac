#include "system_counts.h"

namespace tokenade {

std::string_view systemKindKey(SystemKind kind)
{
    switch (kind) {
    case SystemKind::Folder: return "folder";
    case SystemKind::Dat: return "dat";
    case SystemKind::NoDat: return "no dat";
    case SystemKind::All: return "all";
    }
    return "";
}

bool isKnown(SystemKind kind, SystemCount count)
{
    switch (kind) {
    case SystemKind::Folder: return count != SystemCount::Missing;
    case SystemKind::NoDat:
        return count == SystemCount::Valid || count == SystemCount::Missing || count == SystemCount::Unknown;
    case SystemKind::Dat:
    case SystemKind::All: return true;
    }
    return false;
}

}  // namespace tokenade
