#include "core/audit/input_warnings.h"

#include "core/sources/extension_rewrite.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tokenade {
namespace {

// Each warning as "kind count: example | example".
std::string describe(const std::vector<AuditWarning>& warnings)
{
    std::string text;
    for (const AuditWarning& warning : warnings) {
        text += std::string(warningKey(warning.kind)) + " " + std::to_string(warning.count) + ":";
        for (const std::string& example : warning.examples)
            text += " " + example + " |";
        text += "\n";
    }
    return text;
}

std::string warningsForLines(std::vector<std::string_view> lines)
{
    const RomsList list{nullptr, lines};
    KeyedNames expected = setExtension("zip", lines);
    expected.sort();
    return describe(listWarnings(list, expected));
}

TEST(InputWarnings, ListLinesThatExpectNoFileAnybodyHas)
{
    EXPECT_EQ(warningsForLines({"Tetris", "alpha.7z", "beta.ZIP", "Street Fighter II (v1.1).smc"}), "");
    EXPECT_EQ(warningsForLines({"Alpha", "ALPHA"}), "repeated-lines 1: \"ALPHA\" -> \"ALPHA.zip\" |\n");
    EXPECT_EQ(warningsForLines({"Dr. Mario (Japan, USA)", "Super Mario Bros.", "H.E.R.O.", "Smash T.V.", "tetris", "Tetris", "TETRIS.zip",
                                "  \t", " Zelda", "Kirby\t", "10-Yard Fight (Japan, v1.1)", "roms/a.b/Pac-Man"}),
              "repeated-lines 2: \"Tetris\" -> \"Tetris.zip\" | \"TETRIS.zip\" -> \"TETRIS.zip\" |\n"
              "blank-lines 1: \"  \t\" -> \"  \t.zip\" |\n"
              "spaced-lines 2: \" Zelda\" -> \" Zelda.zip\" | \"Kirby\t\" -> \"Kirby\t.zip\" |\n"
              "cut-lines 2: \"Dr. Mario (Japan, USA)\" -> \"Dr.zip\" | \"10-Yard Fight (Japan, v1.1)\" -> \"10-Yard Fight (Japan, v1.zip\" |\n");
    for (const char* extension : {"7z", "7Z", "zip", "sfc", "ZIP", "a1", "smc", "Apk", "ipsw"})
        EXPECT_TRUE(looksLikeExtension(extension)) << extension;
    for (const char* text : {"", "z", "1zip", "zipper", " Mario (USA)", "7zip", "z_p"})
        EXPECT_FALSE(looksLikeExtension(text)) << text;
}

TEST(InputWarnings, DirectoryWithoutTheFoldersAndFoldersThatCannotBeRead)
{
    testing::TempTree tree;
    tree.addFile("file");
    const std::vector<std::string> set{"roms", "romsConsoles"};
    const std::vector<int> absent{ENOENT, ENOTDIR};
    const auto message = [&](const std::string& directory, const std::vector<int>& errors) {
        const auto warning = missingFoldersWarning(directory, set, errors, WarningKind::NoRomFolders, "every game is missing");
        return warning ? warning->message : "";
    };
    EXPECT_EQ(message(tree.root(), absent), "None of the folders roms, romsConsoles is in " + tree.root() +
                                                ": every game is missing.");
    EXPECT_EQ(message(tree.path("file"), absent),
              "The Tokenade directory " + tree.path("file") + " is not a folder: every game is missing.");
    EXPECT_EQ(message(tree.path("gone"), absent),
              "The Tokenade directory " + tree.path("gone") + " does not exist: every game is missing.");
    EXPECT_EQ(message(tree.root(), {ENOENT, 0}), "");
    EXPECT_EQ(describe({*unreadableFoldersWarning({"roms/b", "roms/a", "roms/c", "roms/d"})}),
              "unreadable-folders 4: roms/a | roms/b | roms/c |\n");
    EXPECT_FALSE(unreadableFoldersWarning({}).has_value());
}

}  // namespace
}  // namespace tokenade
