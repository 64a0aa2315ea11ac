#include "core/repair/changes.h"

#include "core/repair/journal_files.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

namespace tokenade {
namespace {

using testing::FaultyDisk;
using testing::TempTree;

Change change(ChangeKind kind, const std::string& folder, const std::string& from, const std::string& toFolder,
              const std::string& to)
{
    return Change{kind, folder, from, toFolder, to, identityOf(folder, from).value_or(FileIdentity{})};
}

// A collection and a source folder with messy names, and one batch of
// changes planned on them; a new one for every run.
struct Scene {
    // In memory where the machine allows, and the moves across file systems
    // to the ordinary temporary folder.
    TempTree tree{testing::fastTemporaryBase()};
    TempTree journals{testing::fastTemporaryBase()};
    TempTree elsewhere;
    std::vector<Change> changes;
    bool acrossFileSystems = false;
    bool withoutNoReplace = false;  // on a file system that refuses the no-replace rename
    bool withoutLinks = false;      // nor hard links, as exFAT and FAT through FUSE
    bool foldsNames = false;        // names alike in case and width are one
    std::string setAsideFolder;

    std::string collection() const { return tree.path("Tokenade"); }
    std::string state(bool inodes = true) const
    {
        inodes = inodes && !acrossFileSystems;
        return tree.state(inodes) + "--\n" + elsewhere.state(inodes);
    }
};

using Planner = std::function<void(Scene&)>;

void renames(Scene& scene)
{
    const std::string roms = scene.tree.path("Tokenade/roms");
    const std::string longest = std::string(251, 'L') + ".zip";  // as long as a name may be
    for (auto name : {"Dr Mario (Japan, USA).zip", "tetris (world).zip", "Kirby.zip", "Pokemon Red.zip",
                      "Pokemon\tBlue.zip", "Caf\xE9 Bros.zip"})
        scene.tree.addFile("Tokenade/roms/" + std::string(name), name);
    scene.changes = {change(ChangeKind::Rename, roms, "Dr Mario (Japan, USA).zip", roms, "Dr. Mario (Japan, USA).zip"),
                     change(ChangeKind::Rename, roms, "tetris (world).zip", roms, "Tetris (World).zip"),  // case only
                     change(ChangeKind::Rename, roms, "Kirby.zip", roms, "Kirby’s Adventure.zip"),
                     change(ChangeKind::Rename, roms, "Pokemon Red.zip", roms, "Kirby.zip"),  // a name just freed
                     change(ChangeKind::Rename, roms, "Pokemon\tBlue.zip", roms, "Pokémon –\nBlue\r\x7F.zip"),
                     change(ChangeKind::Rename, roms, "Caf\xE9 Bros.zip", roms, longest)};
}

// The same changes where the file system has no no-replace rename, and where
// it has no hard links either (exFAT and FAT through FUSE): there a rename
// goes over a placeholder announced in the journal.
Planner withoutNoReplace(Planner plan)
{
    return [plan](Scene& scene) { scene.withoutNoReplace = true, plan(scene); };
}

Planner onExfat(Planner plan)
{
    return [plan](Scene& scene) { scene.withoutNoReplace = scene.withoutLinks = true, plan(scene); };
}

// Where the file system takes two names for one, a rename between them goes through its temporary
// name, whether the program's key tells them apart (width, folded by ZFS with formKC) or not (case).
const std::vector<std::pair<std::string, std::string>> kNamesAlike = {
    {"tetris (world).zip", "Tetris (World).zip"}, {"\xEF\xBC\xB2-Type (Japan).zip", "R-Type (Japan).zip"}};

void renamesFoldingNames(Scene& scene)
{
    scene.foldsNames = true;
    renames(scene);
    scene.tree.addFile("Tokenade/roms/\xEF\xBC\xB2-Type (Japan).zip", "r-type");
    const std::string roms = scene.tree.path("Tokenade/roms");
    scene.changes.push_back(change(ChangeKind::Rename, roms, "\xEF\xBC\xB2-Type (Japan).zip", roms, "R-Type (Japan).zip"));
}

void fill(Scene& scene)
{
    const std::string source = scene.tree.path("Downloads/sub");
    scene.tree.addFile("Downloads/sub/Tom and Jerry (USA).zip", std::string(300000, 't'));
    scene.tree.addFile("Downloads/sub/Zelda - A Link.zip", "zelda");
    scene.tree.addFile("Downloads/sub/Metroid.zip", "metroid");
    scene.tree.addFile("Tokenade/roms/keep.zip", "keep");
    const std::string target = scene.tree.path("Tokenade/roms");
    scene.changes = {change(ChangeKind::Copy, source, "Tom and Jerry (USA).zip", target, "Tom & Jerry (USA).zip"),
                     change(ChangeKind::Copy, source, "Zelda - A Link.zip", scene.tree.path("Tokenade/roms16BitConsoles/new"),
                            "Zelda: A Link.zip")};
    for (const char* name : {"Metroid (USA).zip", "Metroid (Europe).zip"}) {  // the ctime of the first link is ours
        if (!scene.withoutLinks)
            scene.changes.push_back(change(ChangeKind::Link, source, "Metroid.zip", target, name));
    }
}

void setAside(Scene& scene, const std::string& target)
{
    for (auto path : {"Tokenade/roms/Sega/neogeo.zip", "Tokenade/roms/Sega/ドラゴン.zip", "Tokenade/videos/extra.xmv"})
        scene.tree.addFile(path, path);
    const std::string roms = scene.tree.path("Tokenade/roms/Sega");
    scene.changes = {change(ChangeKind::Move, roms, "neogeo.zip", target + "/roms/Sega", "neogeo.zip"),
                     change(ChangeKind::Move, roms, "ドラゴン.zip", target + "/roms/Sega", "ドラゴン.zip"),
                     change(ChangeKind::Move, scene.tree.path("Tokenade/videos"), "extra.xmv", target + "/videos",
                            "extra.xmv")};
}

void setAsideHere(Scene& scene)
{
    setAside(scene, scene.tree.path("Tokenade/_set-aside/2026-12-07"));
}

void setAsideElsewhere(Scene& scene)
{
    scene.acrossFileSystems = true;
    scene.setAsideFolder = scene.elsewhere.path("aside");
    setAside(scene, scene.setAsideFolder);
}

struct Fault {
    int error;
    FaultyDisk::Mode mode;
};

const std::vector<Fault> kFaults = {{EIO, FaultyDisk::Mode::Instead},    {ENOSPC, FaultyDisk::Mode::Instead},
                                    {EPERM, FaultyDisk::Mode::Instead}, {EXDEV, FaultyDisk::Mode::Instead},
                                    {EINTR, FaultyDisk::Mode::Instead},  {EINVAL, FaultyDisk::Mode::Instead},
                                    {EIO, FaultyDisk::Mode::After},      {ENOSPC, FaultyDisk::Mode::Partly}};

ChangeOptions optionsFor(const Scene& scene, Disk* disk)
{
    return ChangeOptions{scene.journals.root(), scene.collection(), disk, {}, {}, scene.setAsideFolder};
}

// Whether a batch that did not do all it set out to do names the failure.
bool namesTheFailure(const ChangeBatch& batch, int error)
{
    if (batch.complete())
        return true;
    std::string said = batch.notStarted + batch.stopped;
    for (const ChangeOutcome& outcome : batch.outcomes)
        said += outcome.reason;
    return said.find(std::strerror(error)) != std::string::npos ||
           (error == ENOSPC && said.find("the disk is full") != std::string::npos) ||
           (error == EINVAL && (said.find("no rename that cannot replace") != std::string::npos ||
                                said.find("cannot hold this name") != std::string::npos));
}

bool leavesNoTemporary(const Scene& scene)
{
    return scene.state().find(".tokenade-") == std::string::npos;
}

size_t filesIn(const Scene& scene)
{
    size_t files = 0;
    for (const TempTree* tree : {&scene.tree, &scene.elsewhere}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tree->root()))
            files += entry.is_regular_file();
    }
    return files;
}

// The files that a batch's made copies and links add.
size_t filesAdded(const ChangeBatch& batch)
{
    return std::count_if(batch.outcomes.begin(), batch.outcomes.end(), [](const ChangeOutcome& outcome) {
        const ChangeKind kind = outcome.change.kind;
        return outcome.result == ChangeResult::Made && (kind == ChangeKind::Copy || kind == ChangeKind::Link);
    });
}

// Whether a failure of this call may keep a step from tidying up after
// itself: a lookup that cannot tell what a name holds, or a call that did its
// work before it failed. Undo removes what is left then.
bool mayLeaveSomething(const FaultyDisk& disk, const Fault& fault)
{
    return fault.mode == FaultyDisk::Mode::After || disk.failed() == "fstatat";
}

using FaultInjectionTest = ::testing::TestWithParam<std::pair<const char*, Planner>>;

// A disk whose `call`th call fails with `fault`, refusing no-replace renames
// where the scene asks for that. Its `call`th open gets descriptor 0, which
// a process started without standard input gets: where the fault changes
// nothing (EINTR, made again), every open gets it in turn.
void arm(FaultyDisk& disk, const Scene& scene, size_t call, const Fault& fault)
{
    disk.handZeroTo(call);
    if (scene.withoutNoReplace)
        disk.refuseNoReplace();
    if (scene.withoutLinks)
        disk.refuseLinks();
    if (scene.foldsNames)
        disk.foldNames(kNamesAlike);
    disk.failCall(call, fault.error, fault.mode);
}

std::string failureName(const char* what, size_t call, const FaultyDisk& disk, const Fault& fault)
{
    return std::string(what) + " " + std::to_string(call) + " (" + disk.failed() + ") fails with " +
           std::strerror(fault.error) + (fault.mode == FaultyDisk::Mode::After ? " after it" : "");
}

// Each call of a batch fails once, in turn, with each errno: the batch names
// the failure, and what undo restores is the tree as it was, with nothing
// left under a temporary name.
TEST_P(FaultInjectionTest, EveryCallOfTheBatchFailsOnceInTurn)
{
    size_t runs = 0;
    size_t call = 1;
    for (bool failed = true; failed; ++call) {  // until the batch makes fewer calls than that
        for (const Fault& fault : kFaults) {
            Scene scene;
            GetParam().second(scene);
            const std::string before = scene.state();
            const std::string contents = scene.state(false);
            const size_t files = filesIn(scene);
            FaultyDisk disk;
            arm(disk, scene, call, fault);
            const ChangeBatch batch = applyChanges(scene.changes, optionsFor(scene, &disk));
            EXPECT_EQ(disk.openDescriptors(), 0u);
            if (!(failed = !disk.failed().empty())) {
                EXPECT_TRUE(batch.complete()) << batch.notStarted << batch.stopped;
                const auto summary = newestBatch(scene.journals.root(), scene.collection());
                EXPECT_TRUE(summary && summary->kind == scene.changes.back().kind && summary->touchesRoms);
                break;
            }
            // A move that the system says crosses file systems is copied
            // even on one device (two mounts of one file system do that).
            const bool copiedBack = fault.error == EXDEV;
            SCOPED_TRACE(failureName("call", call, disk, fault));
            EXPECT_TRUE(namesTheFailure(batch, fault.error)) << batch.notStarted << batch.stopped;
            // A step that fails leaves no name behind: no temporary, no placeholder, no second link.
            if (!mayLeaveSomething(disk, fault) && fault.error != EXDEV) {
                EXPECT_EQ(filesIn(scene), files + filesAdded(batch)) << scene.state();
            }
            // A full disk stops the batch, for every copy after it would fail
            // too; a copy that fails otherwise is skipped and the rest goes on.
            if (disk.failed() == "copy") {
                EXPECT_EQ(batch.stopped.empty(), fault.error != ENOSPC) << batch.stopped;
            }
            // A batch without a journal leaves none, whole or in part, but
            // where the half-written one could not be removed.
            if (batch.journalPath.empty() && disk.failed() != "unlink" && !mayLeaveSomething(disk, fault)) {
                EXPECT_EQ(scene.journals.state(), "");
            }
            if (!batch.journalPath.empty()) {
                FaultyDisk plain;
                const ChangeBatch undone = undoChanges(batch.journalPath, optionsFor(scene, &plain));
                EXPECT_TRUE(undone.complete()) << undone.notStarted << undone.stopped;
            }
            EXPECT_EQ(scene.state(!copiedBack), copiedBack ? contents : before);
            ASSERT_TRUE(leavesNoTemporary(scene)) << scene.state();
            ++runs;
        }
    }
    EXPECT_GT(call, 10u);
    std::printf("%s: %zu calls, %zu runs\n", GetParam().first, call - 2, runs);
}

// Each call of the undo fails once, in turn: a second undo then gives back
// the tree as it was.
TEST_P(FaultInjectionTest, EveryCallOfTheUndoFailsOnceInTurn)
{
    size_t runs = 0;
    size_t call = 1;
    for (bool failed = true; failed; ++call) {
        for (const Fault& fault : kFaults) {
            Scene scene;
            GetParam().second(scene);
            const std::string before = scene.state();
            FaultyDisk plain;
            const ChangeBatch batch = applyChanges(scene.changes, optionsFor(scene, &plain));
            const size_t filesMade = filesIn(scene);
            FaultyDisk disk;
            arm(disk, scene, call, fault);
            const ChangeBatch undone = undoChanges(batch.journalPath, optionsFor(scene, &disk));
            EXPECT_EQ(disk.openDescriptors(), 0u);
            if (!(failed = !disk.failed().empty())) {
                EXPECT_TRUE(undone.complete()) << undone.notStarted << undone.stopped;
                EXPECT_EQ(scene.state(), before);
                break;
            }
            SCOPED_TRACE(failureName("undo call", call, disk, fault));
            EXPECT_TRUE(namesTheFailure(undone, fault.error)) << undone.notStarted << undone.stopped;
            EXPECT_TRUE(disk.failed() != "fsync" || fault.error == EINTR || !undone.complete());  // never in silence
            const bool journalFull = fault.error == ENOSPC && disk.failed() == "write" && !undone.complete();
            EXPECT_TRUE(!journalFull || undone.stopped.find("free some space") != std::string::npos) << undone.stopped;
            // A file stays under its temporary name only where the journal cannot be
            // written; a copy stays only where the file put back may not be on the
            // disk yet, or where the copy cannot be removed.
            if (!mayLeaveSomething(disk, fault)) {
                EXPECT_TRUE(disk.failed() == "write" || disk.failed() == "fdatasync" || leavesNoTemporary(scene));
                EXPECT_TRUE(disk.failed() == "fsync" || disk.failed() == "unlink" || filesIn(scene) <= filesMade);
            }
            const ChangeBatch again = undoChanges(batch.journalPath, optionsFor(scene, &plain));
            EXPECT_TRUE(again.complete()) << again.notStarted << again.stopped;
            EXPECT_EQ(scene.state(), before);
            ASSERT_TRUE(leavesNoTemporary(scene)) << scene.state();
            ++runs;
        }
    }
    std::printf("%s undo: %zu calls, %zu runs\n", GetParam().first, call - 2, runs);
}

// Where a rename goes over a placeholder, an empty file of the user's under
// the new name is no placeholder: it stays, and the rename is skipped.
TEST(PlaceholderTest, AnEmptyFileUnderTheNewNameStays)
{
    Scene scene;
    onExfat(renames)(scene);
    scene.tree.addFile("Tokenade/roms/Kirby’s Adventure.zip");
    FaultyDisk disk;
    arm(disk, scene, 0, Fault{0, FaultyDisk::Mode::Instead});
    const ChangeBatch batch = applyChanges(scene.changes, optionsFor(scene, &disk));
    EXPECT_EQ(batch.outcomes[2].reason, "another file has that name");
    EXPECT_TRUE(scene.tree.exists("Tokenade/roms/Kirby’s Adventure.zip"));
}

// A copy that a reflink makes takes no room: only the bytes really copied
// are weighed against the free space.
TEST(FreeSpaceTest, OnlyCopiesThatTakeRoomNeedIt)
{
    for (const bool shares : {false, true}) {
        Scene scene;
        fill(scene);
        FaultyDisk disk;
        disk.pretendFullWithSharedBlocks(shares);
        const ChangeBatch batch = applyChanges(scene.changes, optionsFor(scene, &disk));
        EXPECT_EQ(batch.notStarted.find("the copies take 300000 bytes") != std::string::npos, !shares)
            << batch.notStarted;
        EXPECT_EQ(batch.complete(), shares);
    }
}

INSTANTIATE_TEST_SUITE_P(Batches, FaultInjectionTest,
                         ::testing::Values(std::pair<const char*, Planner>{"Renames", renames},
                                           std::pair<const char*, Planner>{"RenamesWithoutNoReplace", withoutNoReplace(renames)},
                                           std::pair<const char*, Planner>{"RenamesOnExfat", onExfat(renames)},
                                           std::pair<const char*, Planner>{"RenamesFoldingNames", renamesFoldingNames},
                                           std::pair<const char*, Planner>{"Fill", fill},
                                           std::pair<const char*, Planner>{"FillOnExfat", onExfat(fill)},
                                           std::pair<const char*, Planner>{"SetAside", setAsideHere},
                                           std::pair<const char*, Planner>{"SetAsideOnExfat", onExfat(setAsideHere)},
                                           std::pair<const char*, Planner>{"SetAsideElsewhere", setAsideElsewhere}),
                         [](const auto& info) { return std::string(info.param.first); });

}  // namespace
}  // namespace tokenade
