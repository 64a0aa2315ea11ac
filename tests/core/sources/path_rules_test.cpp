#include "core/sources/path_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

struct PathCase {
    std::string path;
    std::string last;
    std::string extension;
    std::string withZip;  // the rewrite: the last extension replaced by "zip"
};

class PathRules : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathRules, ComponentExtensionAndRewrite)
{
    const PathCase& c = GetParam();
    SCOPED_TRACE("path: \"" + c.path + "\"");
    EXPECT_EQ(lastPathComponent(c.path), c.last);
    EXPECT_EQ(pathExtension(c.path), c.extension);
    std::string rewritten = c.path;
    replacePathExtension(rewritten, "zip");
    EXPECT_EQ(rewritten, c.withZip);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathRules,
    ::testing::Values(PathCase{"Tetris", "Tetris", "", "Tetris.zip"},
                      PathCase{"beta.ZIP", "beta.ZIP", "ZIP", "beta.zip"},
                      PathCase{"gamma.7z", "gamma.7z", "7z", "gamma.zip"},
                      PathCase{"Dr. Mario (Japan, USA)", "Dr. Mario (Japan, USA)", " Mario (Japan, USA)", "Dr.zip"},
                      PathCase{"Super Mario Bros.", "Super Mario Bros.", "", "Super Mario Bros.zip"},
                      PathCase{"a.b.zip", "a.b.zip", "zip", "a.b.zip"},
                      PathCase{"x..zip", "x..zip", "zip", "x..zip"},
                      PathCase{".zip", ".zip", "", ".zip.zip"},
                      PathCase{"two words ", "two words ", "", "two words .zip"},
                      PathCase{"roms/zeta", "zeta", "", "roms/zeta.zip"},
                      PathCase{"a.b/c", "c", "", "a.b/c.zip"},
                      PathCase{"scratch///", "scratch", "", "scratch.zip"},
                      PathCase{"///", "/", "", "/.zip"}));

TEST(PathRules, JoinAndExtensionMatch)
{
    // An empty part adds nothing; a "/" is never doubled.
    const char* const joins[][3] = {
        {"/x", "roms", "/x/roms"}, {"/x/", "roms", "/x/roms"}, {"", "roms", "roms"}, {"/x", "", "/x"}, {"", "", ""}};
    for (const auto& join : joins)
        EXPECT_EQ(joinPath(join[0], join[1]), join[2]) << join[0] << " + " << join[1];
    for (const char* name : {"a.zip", "a.ZiP", "Pok\xC3\xA9mon.Zip", "dir.Zip/"})
        EXPECT_TRUE(hasExtension(name, "zip")) << name;
    for (const char* name : {"a.zip.bak", ".zip", "roms/.zip", "zip", "a.zi", "a.xip", "a.z\xC4\xB0P"})
        EXPECT_FALSE(hasExtension(name, "zip")) << name;
}

}  // namespace
}  // namespace tokenade
