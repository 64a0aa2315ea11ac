#include "platform/foundation/folder_walk.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tokenade {
namespace {

using testing::TempTree;

std::string typeName(EntryType type)
{
    switch (type) {
    case EntryType::Regular: return "file";
    case EntryType::Directory: return "dir";
    case EntryType::Symlink: return "link";
    case EntryType::Other: return "other";
    }
    return "?";
}

class FolderWalkTest : public ::testing::Test {
protected:
    static std::string describe(const WalkEntry& entry)
    {
        std::string path(entry.parent);
        if (!path.empty())
            path += "/";
        return path + std::string(entry.name) + ":" + typeName(entry.type);
    }

    // Every entry as "relative/path:type", in preorder.
    std::vector<std::string> walk(const std::string& root)
    {
        std::vector<std::string> seen;
        walkFolder(root, [&](const WalkEntry& entry) {
            seen.push_back(describe(entry));
            return WalkStep::Continue;
        });
        return seen;
    }

    // The same from the parallel walk, on two threads, sorted.
    std::vector<std::string> walkInParallel(const std::string& root)
    {
        std::vector<std::string> seen[2];
        walkFoldersInParallel({root}, 2, [&](unsigned thread, const WalkEntry& entry) {
            seen[thread].push_back(describe(entry));
        });
        seen[0].insert(seen[0].end(), seen[1].begin(), seen[1].end());
        return sorted(seen[0]);
    }

    static std::vector<std::string> sorted(std::vector<std::string> entries)
    {
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    TempTree tree;
};

TEST_F(FolderWalkTest, EntriesAtEveryDepthWithTheirOwnTypes)
{
    tree.addFile("top/a.zip");
    tree.addFile("top/.hidden");
    tree.addFile("top/sub/deep/b.zip");
    tree.addLink("top/link.zip", "a.zip");
    tree.addLink("top/linked-folder", tree.path("elsewhere"));
    tree.addFile("elsewhere/c.zip");
    tree.addFifo("top/pipe");

    EXPECT_EQ(walkInParallel(tree.path("top")), sorted(walk(tree.path("top"))));
    EXPECT_EQ(walkInParallel(tree.path("top")),
              (std::vector<std::string>{".hidden:file", "a.zip:file", "link.zip:link", "linked-folder:link",
                                        "pipe:other", "sub/deep/b.zip:file", "sub/deep:dir", "sub:dir"}));
}

TEST_F(FolderWalkTest, RootThatIsALinkToAFolderIsWalked)
{
    tree.addFile("disk/roms/a.zip");
    tree.addLink("roms", tree.path("disk/roms"));
    EXPECT_EQ(walk(tree.path("roms")), (std::vector<std::string>{"a.zip:file"}));
    EXPECT_EQ(walkInParallel(tree.path("roms")), (std::vector<std::string>{"a.zip:file"}));
}

TEST_F(FolderWalkTest, MissingOrNonFolderRootYieldsNothing)
{
    tree.addFile("plain.txt");
    EXPECT_TRUE(walk(tree.path("absent")).empty());
    EXPECT_TRUE(walk(tree.path("plain.txt")).empty());
    EXPECT_TRUE(walk("").empty());
    EXPECT_TRUE(walkInParallel(tree.path("absent")).empty());
}

TEST_F(FolderWalkTest, UnreadableFolderIsSkippedAndTheWalkGoesOn)
{
    tree.addFile("top/closed/secret.zip");
    tree.addFile("top/open/visible.zip");
    tree.setMode("top/closed", 0);
    const std::string seen = testing::runWithoutPrivileges([&] {
        std::string joined;
        for (const auto& entry : walkInParallel(tree.path("top")))
            joined += entry + "\n";
        return joined;
    });
    EXPECT_EQ(seen, "closed:dir\nopen/visible.zip:file\nopen:dir\n");
}

TEST_F(FolderWalkTest, PreorderVisitsEntriesInByteOrderAndFoldersBeforeTheirSiblings)
{
    tree.addFile("top/b/inner.txt");
    tree.addFile("top/a.txt");
    tree.addFile("top/B.txt");
    tree.addFile("top/c.txt");
    EXPECT_EQ(walk(tree.path("top")),
              (std::vector<std::string>{"B.txt:file", "a.txt:file", "b:dir", "b/inner.txt:file", "c.txt:file"}));
}

TEST_F(FolderWalkTest, VisitorCanStopTheWalk)
{
    tree.addFile("top/a");
    tree.addFile("top/b");
    int visits = 0;
    const bool finished = walkFolder(tree.path("top"), [&](const WalkEntry&) {
        ++visits;
        return WalkStep::Stop;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(visits, 1);
}

// Deeper than PATH_MAX allows in one path, and deeper than a recursive walk
// or a descriptor per level would survive.
TEST_F(FolderWalkTest, TreeTenThousandFoldersDeep)
{
    std::string relative = "top";
    tree.addFolder(relative);
    int fd = ::open(tree.path(relative).c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < 10000; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    const int file = ::openat(fd, "bottom.zip", O_CREAT | O_WRONLY, 0644);
    ::close(file);
    ::close(fd);

    size_t folders = 0;
    std::string bottom;
    walkFolder(tree.path("top"), [&](const WalkEntry& entry) {
        if (entry.type == EntryType::Directory)
            ++folders;
        if (entry.name == "bottom.zip")
            bottom = std::string(entry.parent);
        return WalkStep::Continue;
    });
    EXPECT_EQ(folders, 10000u);
    EXPECT_EQ(bottom.size(), 10000u * 2 - 1);  // "d/d/.../d"
}

}  // namespace
}  // namespace tokenade
