#include "sources/folder_scan.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace tokenade {
namespace {

using testing::TempTree;

class FolderScanTest : public ::testing::Test {
protected:
    void addArchive(std::string_view path) { tree.addFile(path); }
    NameList scanRoms() { return cacheTokenadeRomDirs(tree.root()); }

    TempTree tree;
};

TEST_F(FolderScanTest, ArchivesAtAnyDepthOnlyRegularZipFiles)
{
    addArchive("roms/alpha.zip");
    addArchive("roms/sub/deep/beta.ZIP");
    addArchive("romsConsoles/alpha.zip");
    addArchive("roms/readme.txt");
    addArchive("roms/.zip");
    addArchive("roms/old.zip.bak");
    tree.addFolder("roms/set.zip");
    addArchive("roms/._gamma.zip");
    addArchive("elsewhere/omega.zip");
    EXPECT_EQ(scanRoms(), (NameList{"._gamma.zip", "alpha.zip", "alpha.zip", "beta.ZIP"}));
}

TEST_F(FolderScanTest, LinksAreNeitherCollectedNorEntered)
{
    addArchive("outside/hidden.zip");
    addArchive("roms/real.zip");
    tree.addLink("roms/link.zip", "real.zip");
    tree.addLink("roms/folder-link", tree.path("outside"));
    tree.addLink("roms/dangling.zip", "nowhere.zip");
    tree.addLink("roms/root", "/");
    tree.addLink("roms/loop", ".");
    EXPECT_EQ(scanRoms(), (NameList{"real.zip"}));
}

TEST_F(FolderScanTest, RomFolderThatIsALinkIsScanned)
{
    addArchive("disk/alpha.zip");
    tree.addLink("roms", tree.path("disk"));
    EXPECT_EQ(scanRoms(), (NameList{"alpha.zip"}));
}

TEST_F(FolderScanTest, MissingFoldersGiveFewerNamesNotAnError)
{
    addArchive("videos/a.xmv");
    addArchive("videos2/b.XMV");
    addArchive("videosextra/c.xmv");
    tree.addFile("videos3", "not a folder");
    EXPECT_EQ(cacheTokenadeVideoDirs(tree.root()), (NameList{"a.xmv", "b.XMV", "c.xmv"}));
    EXPECT_TRUE(cacheTokenadeRomDirs(tree.root()).empty());
    EXPECT_TRUE(cacheTokenadeRomDirs(tree.path("absent")).empty());
}

TEST_F(FolderScanTest, EmptyDirectoryValueMeansTheCurrentFolder)
{
    addArchive("roms/here.zip");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(tree.root().c_str()), 0);
    const NameList names = cacheTokenadeRomDirs("");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(names, (NameList{"here.zip"}));
}

TEST_F(FolderScanTest, FolderSetsSplitAtCommas)
{
    EXPECT_EQ(folderNames(kRomFolders), (std::vector<std::string>{"roms", "roms16BitConsoles", "romsConsoles"}));
    EXPECT_EQ(folderNames(kVideoFolders).size(), 5u);
}

}  // namespace
}  // namespace tokenade
