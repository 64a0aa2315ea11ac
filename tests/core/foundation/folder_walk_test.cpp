#include "core/foundation/folder_reader.h"
#include "core/foundation/folder_walk.h"

#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <unistd.h>

namespace tokenade {
namespace {

using testing::TempTree;

std::string describe(const WalkEntry& entry)
{
    static const char* const kTypes[] = {"file", "dir", "link", "other"};
    const std::string parent(entry.parent);
    return (parent.empty() ? "" : parent + "/") + std::string(entry.name) + ":" + kTypes[static_cast<int>(entry.type)];
}

class FolderWalkTest : public ::testing::Test {
protected:
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

    // The same from the parallel walk, on two threads, sorted, with its failures.
    std::vector<std::string> walkInParallel(const std::vector<std::string>& roots,
                                            std::vector<FolderFailure>* failures = nullptr, std::stop_token stop = {})
    {
        std::vector<std::string> seen[2];
        auto failed = walkFoldersInParallel(
            roots, 2,
            [&](unsigned thread, const WalkEntry& entry) {
                seen[thread].push_back(std::to_string(entry.root) + ":" + describe(entry));
            },
            stop);
        if (failures)
            *failures = failed;
        seen[0].insert(seen[0].end(), seen[1].begin(), seen[1].end());
        std::sort(seen[0].begin(), seen[0].end());
        return seen[0];
    }

    TempTree tree;
};

TEST_F(FolderWalkTest, EntriesAtEveryDepthWithTheirOwnTypes)
{
    tree.addFile("top/a.zip");
    tree.addFile("top/.hidden");
    tree.addFile("top/sub/deep/b.zip");
    tree.addFile("top/s/e");
    tree.addFile("top/sa/f");  // opened right after "s", whose name begins its own
    tree.addLink("top/link.zip", "a.zip");
    tree.addLink("top/linked-folder", tree.path("elsewhere"));
    tree.addFile("elsewhere/c.zip");
    tree.addFifo("top/pipe");
    tree.addFile("disk/roms/d.zip");
    tree.addLink("roms", tree.path("disk/roms"));  // a root that is a link is walked

    EXPECT_EQ(walkInParallel({tree.path("top"), tree.path("roms")}),
              (std::vector<std::string>{"0:.hidden:file", "0:a.zip:file", "0:link.zip:link", "0:linked-folder:link",
                                        "0:pipe:other", "0:s/e:file", "0:s:dir", "0:sa/f:file", "0:sa:dir",
                                        "0:sub/deep/b.zip:file", "0:sub/deep:dir", "0:sub:dir", "1:d.zip:file"}));
    // Preorder: each folder's entries in byte order, a folder's contents right after it.
    EXPECT_EQ(walk(tree.path("top")),
              (std::vector<std::string>{".hidden:file", "a.zip:file", "link.zip:link", "linked-folder:link",
                                        "pipe:other", "s:dir", "s/e:file", "sa:dir", "sa/f:file", "sub:dir",
                                        "sub/deep:dir", "sub/deep/b.zip:file"}));
}

TEST_F(FolderWalkTest, FoldersThatCannotBeReadAreReportedAndTheWalkGoesOn)
{
    tree.addFile("top/closed/secret.zip");
    tree.addFile("top/open/visible.zip");
    tree.addFile("plain.txt");
    tree.setMode("top/closed", 0);
    const std::string seen = testing::runWithoutPrivileges([&] {
        std::vector<FolderFailure> failures;
        std::string joined;
        for (const auto& entry : walkInParallel({tree.path("top"), tree.path("absent"), tree.path("plain.txt")},
                                                &failures))
            joined += entry + "\n";
        std::sort(failures.begin(), failures.end(), [](auto& a, auto& b) { return a.root < b.root; });
        for (const auto& failure : failures)
            joined += std::to_string(failure.root) + " '" + failure.relative + "' " + std::to_string(failure.error) + "\n";
        return joined;
    });
    EXPECT_EQ(seen, "0:closed:dir\n0:open/visible.zip:file\n0:open:dir\n0 'closed' " + std::to_string(EACCES) +
                        "\n1 '' " + std::to_string(ENOENT) + "\n2 '' " + std::to_string(ENOTDIR) + "\n");
    EXPECT_TRUE(walk(tree.path("absent")).empty());
}

// Deeper than a path may be long, and than a recursive walk or a descriptor
// per level would survive; the visitor or a stop request ends a walk early.
TEST_F(FolderWalkTest, DeepTreesAndEarlyEnds)
{
    tree.addDeepFile("top", 10000, "bottom.zip");
    std::string bottom;
    walkFolder(tree.path("top"), [&](const WalkEntry& entry) {
        if (entry.name == "bottom.zip")
            bottom = std::string(entry.parent);
        return WalkStep::Continue;
    });
    EXPECT_EQ(bottom.size(), 10000u * 2 - 1);  // "d/d/.../d"
    const int deep = openFolder(tree.path("top") + "/" + bottom, false);
    EXPECT_EQ(::faccessat(deep, "bottom.zip", F_OK, 0), 0);
    ::close(deep);

    EXPECT_FALSE(walkFolder(tree.path("top"), [](const WalkEntry&) { return WalkStep::Stop; }));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(walkFolder(tree.path("top"), [](const WalkEntry&) { return WalkStep::Continue; }, stop.get_token()));
    EXPECT_TRUE(walkInParallel({tree.path("top")}, nullptr, stop.get_token()).empty());
}

}  // namespace
}  // namespace tokenade
