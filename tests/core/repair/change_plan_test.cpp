#include "core/repair/change_plan.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

// A folder holds itself and what lies below it, never a sibling that begins
// with its name ("roms" and "romsConsoles"); a path ends in no slash but "/".
TEST(ChangePlanPaths, WithinIsByWholeComponentsAndPathsEndWithoutASlash)
{
    EXPECT_TRUE(isWithin("/T/roms", "/T/roms") && isWithin("/T/roms/Sega/a.zip", "/T/roms") && isWithin("/T", "/"));
    EXPECT_FALSE(isWithin("/T/romsConsoles", "/T/roms") || isWithin("/T", "/T/roms"));
    EXPECT_EQ(resolvedPath("/").value_or("") + "|" + resolvedPath("/tmp/./absent/../x/").value_or(""), "/|/tmp/x");
}

}  // namespace
}  // namespace tokenade
