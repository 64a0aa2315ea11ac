#include "audit_warning.h"

namespace tokenade {

std::string_view warningKey(WarningKind kind)
{
    switch (kind) {
    case WarningKind::NoRomFolders: return "no-rom-folders";
    case WarningKind::NoVideoFolders: return "no-video-folders";
    case WarningKind::UnreadableFolders: return "unreadable-folders";
    case WarningKind::RepeatedLines: return "repeated-lines";
    case WarningKind::BlankLines: return "blank-lines";
    case WarningKind::SpacedLines: return "spaced-lines";
    case WarningKind::CutLines: return "cut-lines";
    case WarningKind::WrongContent: return "wrong-content";
    case WarningKind::UnmetNeeds: return "unmet-needs";
    case WarningKind::BatchLeftovers: return "batch-leftovers";
    }
    return "";
}

}  // namespace tokenade
