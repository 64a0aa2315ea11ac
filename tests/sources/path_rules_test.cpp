#include "sources/path_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace tokenade {
namespace {

struct PathCase {
    std::string path;
    std::string last;
    std::string extension;
    std::string withoutExtension;
    std::string withZip;  // the rewrite: drop the extension, then append "zip"
};

class PathRules : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathRules, ComponentExtensionAndRewrite)
{
    const PathCase& c = GetParam();
    SCOPED_TRACE("path: \"" + c.path + "\"");
    EXPECT_EQ(lastPathComponent(c.path), c.last);
    EXPECT_EQ(pathExtension(c.path), c.extension);
    EXPECT_EQ(deletingPathExtension(c.path), c.withoutExtension);
    EXPECT_EQ(appendingPathExtension(deletingPathExtension(c.path), "zip"), c.withZip);
    std::string inPlace = c.path;
    replacePathExtension(inPlace, "zip");
    EXPECT_EQ(inPlace, c.withZip);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathRules,
    ::testing::Values(PathCase{"alpha", "alpha", "", "alpha", "alpha.zip"},
                      PathCase{"alpha.zip", "alpha.zip", "zip", "alpha", "alpha.zip"},
                      PathCase{"beta.ZIP", "beta.ZIP", "ZIP", "beta", "beta.zip"},
                      PathCase{"a.b.zip", "a.b.zip", "zip", "a.b", "a.b.zip"},
                      PathCase{"a.b", "a.b", "b", "a", "a.zip"},
                      PathCase{"x..zip", "x..zip", "zip", "x.", "x..zip"},
                      PathCase{".zip", ".zip", "", ".zip", ".zip.zip"},
                      PathCase{".hidden", ".hidden", "", ".hidden", ".hidden.zip"},
                      PathCase{"two words ", "two words ", "", "two words ", "two words .zip"},
                      PathCase{"name.", "name.", "", "name", "name.zip"},
                      PathCase{"a/b.zip", "b.zip", "zip", "a/b", "a/b.zip"},
                      PathCase{"roms/zeta", "zeta", "", "roms/zeta", "roms/zeta.zip"},
                      PathCase{"a.b/c", "c", "", "a.b/c", "a.b/c.zip"},
                      PathCase{"name/", "name", "", "name", "name.zip"},
                      PathCase{"scratch///", "scratch", "", "scratch", "scratch.zip"},
                      PathCase{"/", "/", "", "/", "/.zip"},
                      PathCase{"///", "/", "", "/", "/.zip"}));

TEST(PathJoin, OneSeparatorAndBareNameForEmptyDirectory)
{
    EXPECT_EQ(joinPath("/x", "roms"), "/x/roms");
    EXPECT_EQ(joinPath("/x/", "roms"), "/x/roms");
    EXPECT_EQ(joinPath("", "roms"), "roms");
    EXPECT_EQ(joinPath("/", "roms"), "/roms");
}

TEST(PathExtensionMatch, AnyLetterCaseOfTheWantedExtension)
{
    EXPECT_TRUE(hasExtension("a.zip", "zip"));
    EXPECT_TRUE(hasExtension("a.ZiP", "zip"));
    EXPECT_FALSE(hasExtension("a.zip.bak", "zip"));
    EXPECT_FALSE(hasExtension(".zip", "zip"));
    EXPECT_FALSE(hasExtension("zip", "zip"));
    EXPECT_FALSE(hasExtension("a.zi", "zip"));
    EXPECT_FALSE(hasExtension("a.z\xC4\xB0P", "zip"));  // dotted capital I lower-cases to two characters
}

}  // namespace
}  // namespace tokenade
