#include "core/session/fill_targets.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

// A collector keeps a folder per system: fills may go there, and go there again.
TEST(FillTargets, AnyFolderBelowTheSetAndTheCollectionsLastChoice)
{
    AuditResult result = AuditResult::empty(AuditKind::Roms);
    result.folders = {"roms", "romsConsoles/Sega/Genesis", "romsConsoles/SNES", "videos/other", "romsX/y"};
    const std::vector<std::string> folders = FillTargets::foldersOf(result);
    EXPECT_EQ(folders, (std::vector<std::string>{"roms", "roms16BitConsoles", "romsConsoles", "romsConsoles/SNES",
                                                 "romsConsoles/Sega", "romsConsoles/Sega/Genesis"}));

    FillTargets targets;
    EXPECT_EQ(targets.chosen(AuditKind::Roms, "/c", folders), "roms");
    targets.choose(AuditKind::Roms, "/c", "romsConsoles/Sega/Genesis");
    targets.choose(AuditKind::Videos, "/c", "videos2");
    targets.choose(AuditKind::Roms, "/other\tone", "roms");  // a path no line can hold is not kept
    FillTargets restored;
    restored.fromText(targets.toText() + "garbage\nmovies\t/c\tx\n");
    EXPECT_EQ(restored.toText(), "roms\t/c\tromsConsoles/Sega/Genesis\nvideos\t/c\tvideos2\n");
    EXPECT_EQ(restored.chosen(AuditKind::Roms, "/c", folders), "romsConsoles/Sega/Genesis");
    EXPECT_EQ(restored.chosen(AuditKind::Roms, "/elsewhere", folders), "roms");
    EXPECT_EQ(restored.chosen(AuditKind::Roms, "/c", {"roms", "romsConsoles"}), "roms");  // gone since
}

}  // namespace
}  // namespace tokenade
