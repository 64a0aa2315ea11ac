#include "core/sources/folder_scan.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace tokenade {
namespace {

using testing::TempTree;

// "name @ folder" for every found name, in the scan's order.
std::vector<std::string> located(const FoundNames& found)
{
    std::vector<std::string> names;
    for (const KeyedName& name : found.names.all())
        names.push_back(std::string(name.name()) + " @ " + found.folders[name.origin]);
    return names;
}

TEST(FolderScan, RegularArchivesAtAnyDepthWithTheirFolders)
{
    TempTree tree;
    for (auto path : {"roms/Zelda.zip", "roms/Nintendo/SNES/A-F/Earthbound (USA).ZIP", "romsConsoles/Zelda.zip",
                      "roms/readme.txt", "roms/.zip", "roms/old.zip.bak", "roms/._gamma.zip", "elsewhere/omega.zip",
                      "outside/hidden.zip"})
        tree.addFile(path);
    tree.addFolder("roms/set.zip");
    tree.addLink("roms/link.zip", "Zelda.zip");
    tree.addLink("roms/folder-link", tree.path("outside"));
    tree.addLink("roms/loop", ".");
    EXPECT_EQ(located(cacheTokenadeRomDirs(tree.root())),
              (std::vector<std::string>{"._gamma.zip @ roms", "Earthbound (USA).ZIP @ roms/Nintendo/SNES/A-F",
                                        "Zelda.zip @ roms", "Zelda.zip @ romsConsoles"}));
}

TEST(FolderScan, MissingAndUnreadableFoldersAreNamed)
{
    TempTree tree;
    tree.addFile("videos/a.xmv");
    tree.addFile("videos/closed/b.xmv");
    tree.addFile("videos3", "not a folder");
    tree.addFile("disk/c.XMV");
    tree.addLink("videosextra", tree.path("disk"));  // a video folder that is a link is scanned
    tree.setMode("videos/closed", 0);
    const std::string outcome = testing::runWithoutPrivileges([&] {
        const FoundNames found = cacheTokenadeVideoDirs(tree.root());
        std::string text;
        for (const auto& name : located(found))
            text += name + "\n";
        for (int error : found.folderErrors)
            text += std::to_string(error) + " ";
        for (const auto& folder : found.unreadable)
            text += "\n" + folder;
        return text;
    });
    EXPECT_EQ(outcome, "a.xmv @ videos\nc.XMV @ videosextra\n0 " + std::to_string(ENOENT) + " " +
                           std::to_string(ENOTDIR) + " " + std::to_string(ENOENT) + " 0 \nvideos/closed");
    EXPECT_TRUE(cacheTokenadeRomDirs(tree.path("absent")).names.empty());
}

TEST(FolderScan, EmptyDirectoryValueMeansTheCurrentFolder)
{
    TempTree tree;
    tree.addFile("roms/here.zip");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(tree.root().c_str()), 0);
    std::atomic<size_t> seen{0};
    const FoundNames found = cacheTokenadeRomDirs("", ScanControl{&seen, {}});
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(located(found), (std::vector<std::string>{"here.zip @ roms"}));
    EXPECT_EQ(seen.load(), 1u);  // every entry met is counted, for the progress line
}

}  // namespace
}  // namespace tokenade
