#include "core/repair/change_plan.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

// A folder holds itself and what lies below it, never a sibling that merely
// begins with its name ("roms" and "romsConsoles").
TEST(ChangePlanPaths, WithinIsByWholeComponents)
{
    const struct {
        const char* path;
        const char* folder;
        bool within;
    } cases[] = {
        {"/T/roms", "/T/roms", true},          {"/T/roms/Sega/a.zip", "/T/roms", true},
        {"/T/romsConsoles", "/T/roms", false}, {"/T", "/T/roms", false},
        {"/T/roms", "/", true},                {"/Tokenade 2/roms", "/Tokenade", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isWithin(c.path, c.folder), c.within) << c.path << " in " << c.folder;
}

TEST(ChangePlanPaths, ResolvedPathsEndWithoutASlashButTheRoot)
{
    EXPECT_EQ(resolvedPath("/"), "/");
    EXPECT_EQ(resolvedPath("/tmp/"), "/tmp");
    EXPECT_EQ(resolvedPath("/tmp/./absent/../x/"), "/tmp/x");
}

}  // namespace
}  // namespace tokenade
