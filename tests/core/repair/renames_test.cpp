#include "core/repair/changes.h"

#include "core/audit/audit_run.h"
#include "core/repair/collection_area.h"
#include "core/repair/collection_lock.h"
#include "core/repair/journal_files.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <tuple>
#include <vector>

namespace tokenade {
namespace {

using namespace std::string_literals;
using testing::TempTree;

class RenamesTest : public ::testing::Test {
protected:
    Change plan(std::string_view folder, const std::string& from, const std::string& to)
    {
        const std::string path = tree.path(folder);
        return Change{ChangeKind::Rename, path, from, path, to, identityOf(path, from).value_or(FileIdentity{})};
    }
    ChangeBatch apply(const std::vector<Change>& changes)
    {
        return applyChanges(changes, ChangeOptions{journals(), tree.root(), nullptr, {}, {}});
    }
    ChangeBatch undo(const std::string& journal)
    {
        return undoChanges(journal, ChangeOptions{journals(), "", nullptr, {}, {}});
    }
    std::string journals() const { return tree.path("journals"); }

    static std::string results(const ChangeBatch& batch)
    {
        std::string text;
        for (const ChangeOutcome& outcome : batch.outcomes) {
            static const char* const kWords[] = {"made", "done before", "skipped", "refused"};
            text += std::string(kWords[static_cast<int>(outcome.result)]) +
                    (outcome.reason.empty() ? "" : " (" + outcome.reason + ")") + "\n";
        }
        return text;
    }
    static std::string states(const ChangeBatch& batch)
    {
        std::string text;
        for (const JournalLine& line : readJournal(batch.journalPath).lines)
            text += "RPMSU"[static_cast<int>(line.state)];
        return text;
    }

    TempTree tree;
};

// Each rename that cannot be, or can no longer be, made says why; the others
// are made.
TEST_F(RenamesTest, RenamesThatCannotBeMadeAreRefusedOrSkippedAndTheOthersMade)
{
    for (auto name : {"Tetris.zip", "Mario .zip", "Zelda.zip", "Kirby.zip", "Replaced.zip", "Grown.zip", "Linked.zip",
                      "Rewritten.zip"})
        tree.addFile("roms/"s + name, name);
    tree.addFile("roms/a/b");
    const std::vector<std::pair<Change, std::string>> cases = {
        {plan("roms", "Tetris.zip", "Tetris (World).zip"), "made"},
        {plan("roms", "Mario .zip", "Mario.zip"), "skipped (another file has that name)"},
        {plan("roms", "Zelda.zip", "Zelda (USA).zip"), "skipped (the file is no longer there)"},
        {plan("absent", "Metroid.zip", "Metroid (USA).zip"),
         "skipped (cannot open the folder " + tree.path("absent") + ": No such file or directory)"},
        {plan("roms", "Replaced.zip", "New.zip"), "skipped (another file has that name now)"},
        {plan("roms", "Grown.zip", "New Grown.zip"), "skipped (the file changed since the changes were planned)"},
        {plan("roms", "Rewritten.zip", "New Rewritten.zip"), "skipped (the file changed since the changes were planned)"},
        {plan("roms", "Linked.zip", "New Linked.zip"), "skipped (the name is no longer that of a regular file)"},
        {plan("roms", "Kirby.zip", "a/b"), "refused (the new name cannot be used: it holds \"/\", so it is a path, "
                                           "not a name)"},
        {plan("roms", "Kirby.zip", ".."), "refused (the new name cannot be used: \"..\" is not a file name)"},
        {plan("roms", "Kirby.zip", "K\0.zip"s), "refused (the new name cannot be used: it holds a NUL byte)"},
        {plan("roms", "Kirby.zip", std::string(256, 'K')),
         "refused (the new name cannot be used: it is 256 bytes long; the file "
         "system takes at most 255)"},
        {plan("roms", "a/b", "b"), "refused (the present name cannot be used: it "
                                   "holds \"/\", so it is a path, not a name)"},
        {plan("roms", "Kirby.zip", "Kirby.zip"), "refused (the file already has that name)"},
        {Change{ChangeKind::Rename, "roms", "Kirby.zip", "roms", "K.zip", {}},
         "refused (the folder \"roms\" is not an absolute path)"},
        {plan("roms", "Kirby.zip", "Kirby's Adventure.zip"), "made"},
    };
    // Between the plan and the batch the user copies a file in, deletes one,
    // replaces one (a new file cannot have the old one's inode), grows one,
    // rewrites one in place with its mtime put back and links one.
    tree.addFile("roms/Mario.zip", "the user's copy");
    std::remove(tree.path("roms/Zelda.zip").c_str());
    tree.addFile("roms/other", "new");
    std::rename(tree.path("roms/other").c_str(), tree.path("roms/Replaced.zip").c_str());
    tree.addFile("roms/Grown.zip", "Grown.zip and more");
    tree.rewriteKeepingTime("roms/Rewritten.zip", "Rewritten.zap");
    std::remove(tree.path("roms/Linked.zip").c_str());
    tree.addLink("roms/Linked.zip", "Grown.zip");

    std::vector<Change> changes;
    std::string expected;
    for (const auto& [change, result] : cases) {
        changes.push_back(change);
        expected += result + "\n";
    }
    const ChangeBatch batch = apply(changes);
    EXPECT_EQ(results(batch), expected);
    EXPECT_FALSE(batch.complete());
    EXPECT_EQ(states(batch), "MSSSSSSSRRRRRRRM");
    EXPECT_EQ(tree.read("roms/Mario.zip"), "the user's copy");
    EXPECT_EQ(tree.list("roms"), "Grown.zip\nKirby's Adventure.zip\nLinked.zip\nMario "
                                 ".zip\nMario.zip\nReplaced.zip\nRewritten.zip\n"
                                 "Tetris (World).zip\na\n");
}

TEST_F(RenamesTest, UndoAfterAPartialBatchRestoresTheTreeAndTwiceIsHarmless)
{
    tree.addFile("roms/Tetris.zip", "tetris");
    tree.addFile("roms/Tetris (World).zip", "already there");
    tree.addFile("roms/x/Dr Mario.zip", "mario");
    tree.addFile("roms/x/Kirby.zip", "kirby");
    const std::string before = tree.list("roms") + tree.list("roms/x");
    // Kirby's name is freed and then taken by Dr. Mario: undo must go last first.
    const ChangeBatch batch =
        apply({plan("roms", "Tetris.zip", "Tetris (World).zip"), plan("roms/x", "Kirby.zip", "Kirby (USA).zip"),
               plan("roms/x", "Dr Mario.zip", "Kirby.zip")});
    ASSERT_EQ(results(batch), "skipped (another file has that name)\nmade\nmade\n");
    EXPECT_EQ(latestJournal(journals()), batch.journalPath);
    const auto summary = newestBatch(journals(), tree.root() + "/roms/..");
    ASSERT_TRUE(summary && summary->journalPath == batch.journalPath);
    EXPECT_EQ(summary->changes.size(), 2u);  // the skipped one has nothing to undo
    EXPECT_TRUE(summary->touchesRoms && !summary->touchesVideos && summary->kind == ChangeKind::Rename);
    EXPECT_LE(std::abs(summary->madeAt - ::time(nullptr)), 60);  // the time in the journal's name
    EXPECT_EQ(newestBatch(journals(), tree.path("roms")), std::nullopt);  // another collection's
    std::ofstream(batch.journalPath, std::ios::app) << "3\tundone\trename\t/ro";  // as a kill leaves it

    const ChangeBatch undone = undo(batch.journalPath);
    EXPECT_EQ(results(undone), "made\nmade\n");
    EXPECT_EQ(undone.outcomes[0].change.from, "Kirby (USA).zip");
    EXPECT_EQ(tree.list("roms") + tree.list("roms/x"), before);
    EXPECT_EQ(tree.read("roms/x/Kirby.zip"), "kirby");
    EXPECT_EQ(states(batch), "SUU");
    EXPECT_EQ(latestJournal(journals()), std::nullopt);
    struct stat journal { };
    ASSERT_EQ(::stat(batch.journalPath.c_str(), &journal), 0);
    EXPECT_EQ(journal.st_mode & 0777,
              0600u);  // rewritten twice, still the user's alone
    EXPECT_EQ(results(undo(batch.journalPath)), "done before\ndone before\n");
    EXPECT_EQ(tree.list("roms") + tree.list("roms/x"), before);

    // The newest journal with changes left is the one to undo; other files are
    // passed over.
    tree.addFile("roms/Zelda.zip");
    const ChangeBatch next = apply({plan("roms", "Zelda.zip", "Zelda (USA).zip")});
    tree.addFile("journals/9999-12-31T00-00-00.000Z-1.renames", "not a journal");
    EXPECT_EQ(latestJournal(journals()), next.journalPath);
}

// Undo trusts the files, not the journal: a name taken since stays taken, and
// of a batch cut short only what was made is reversed.
TEST_F(RenamesTest, UndoNeverReplacesAFileAndReversesOnlyWhatWasMade)
{
    tree.addFile("roms/Tetris.zip", "tetris");
    tree.addFile("roms/Kirby.zip", "kirby");
    const ChangeBatch batch =
        apply({plan("roms", "Tetris.zip", "Tetris (World).zip"), plan("roms", "Kirby.zip", "Kirby (USA).zip")});
    tree.addFile("roms/Tetris.zip", "a new download");
    EXPECT_EQ(results(undo(batch.journalPath)), "skipped (another file has that name)\nmade\n");
    EXPECT_EQ(tree.read("roms/Tetris.zip"), "a new download");
    EXPECT_EQ(tree.read("roms/Tetris (World).zip"), "tetris");
    EXPECT_EQ(latestJournal(journals()), batch.journalPath);  // one rename is still to undo

    // A version 1 journal left by a batch cut short: only what the files show was made is reversed.
    tree.addFile("cut/Metroid.zip");
    tree.addFile("cut/Zelda.zip");
    const std::vector<Change> renames = {plan("cut", "Metroid.zip", "Metroid (USA).zip"),
                                         plan("cut", "Zelda.zip", "Zelda (USA).zip")};
    const JournalPath journal = createJournal(
        journals(), journalText({{JournalState::Planned, renames[0], "", "", {}, {}},
                                 {JournalState::Planned, renames[1], "", "", {}, {}}}));
    std::rename(tree.path("cut/Metroid.zip").c_str(), tree.path("cut/Metroid (USA).zip").c_str());
    EXPECT_EQ(results(undo(journal.path)), "made\n");
    EXPECT_EQ(tree.list("cut"), "Metroid.zip\nZelda.zip\n");
}

// A stop asked for during a batch ends it between files, and says so.
TEST_F(RenamesTest, StopEndsTheBatchBetweenFiles)
{
    for (auto name : {"a.zip", "b.zip", "c.zip"})
        tree.addFile("roms/"s + name);
    std::stop_source stop;
    const auto stopAfterOne = [&](const ChangeProgress& done) { done.filesDone == 1 && stop.request_stop(); };
    const ChangeOptions options{journals(), tree.root(), nullptr, stopAfterOne, stop.get_token()};
    const ChangeBatch batch = applyChanges(
        {plan("roms", "a.zip", "a1.zip"), plan("roms", "b.zip", "b1.zip"), plan("roms", "c.zip", "c1.zip")}, options);
    EXPECT_NE(batch.stopped, "");
    EXPECT_EQ(tree.list("roms"), "a1.zip\nb.zip\nc.zip\n");
    EXPECT_EQ(results(undo(batch.journalPath)), "made\n");
}

// Undo acts only on what the batch made, inside its collection: a copy
// written into since, a journal that is no regular file or is too long, a
// hand-written journal naming files elsewhere are each left alone, with why.
TEST_F(RenamesTest, UndoCannotBeFooled)
{
    tree.addFile("Downloads/Tetris.zip", "tetris");
    tree.addFile("roms/keep.zip");
    const std::string roms = tree.path("roms");
    const ChangeBatch batch = apply({Change{ChangeKind::Copy, tree.path("Downloads"), "Tetris.zip", roms,
                                            "Tetris (World).zip", *identityOf(tree.path("Downloads"), "Tetris.zip")}});
    std::fstream(tree.path("roms/Tetris (World).zip"), std::ios::in | std::ios::out) << "TETRIS";  // dd conv=notrunc
    const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 60, 0}};
    ::utimensat(AT_FDCWD, tree.path("roms/Tetris (World).zip").c_str(), later, 0);
    EXPECT_EQ(results(undo(batch.journalPath)), "skipped (the copy has changed since it was made: kept)\n");
    EXPECT_EQ(tree.read("roms/Tetris (World).zip"), "TETRIS");

    tree.addFile("elsewhere/mine.zip", "mine");
    const std::string elsewhere = tree.path("elsewhere");
    const FileIdentity mine = *identityOf(elsewhere, "mine.zip");
    const auto made = [&](ChangeKind kind, const std::string& folder, const std::string& from, const std::string& to) {
        JournalLine line{JournalState::Planned, {kind, folder, from, folder, to, mine}, "", "", {}, {}};
        const std::string planned = journalRecord(1, line);
        line.state = JournalState::Made;
        line.made = mine;
        return planned + journalRecord(1, line);
    };
    for (const std::string& record : {made(ChangeKind::Copy, elsewhere, "x.zip", "mine.zip"),
                                      made(ChangeKind::Rename, roms + "/../elsewhere", "mine.zip", "y.zip"),
                                      made(ChangeKind::Copy, roms, "x.zip", "../elsewhere/mine.zip")}) {
        const JournalPath forged = createJournal(journals(), journalHeader(roms) + record);
        EXPECT_EQ(results(undo(forged.path)), "skipped (it lies outside the collection " + roms + ": left as it is)\n")
            << record;
    }
    EXPECT_EQ(tree.read("elsewhere/mine.zip"), "mine");

    tree.addFifo("journals/fifo.renames");
    tree.addFile("journals/huge.renames");
    ::truncate(tree.path("journals/huge.renames").c_str(), off_t{3} << 30);
    for (const auto& [journal, why] : {std::pair{tree.path("journals/fifo.renames"), "it is not a regular file"},
                                       {"/dev/zero", "it is not a regular file"},
                                       {tree.path("journals/huge.renames"), "it is 3221225472 bytes long"},
                                       {"", "no path was given"}})
        EXPECT_NE(undo(journal).notStarted.find(why), std::string::npos) << undo(journal).notStarted;
}

// A drive mounted again may number its files anew (exFAT and FAT through
// FUSE): a file of the recorded size and time under another number may be
// the batch's or not, so each kind of change is left, saying what to do;
// a folder it made under another number is left too.
TEST_F(RenamesTest, UndoLeavesAFileUnderAnotherNumberAndSaysWhatToDoByHand)
{
    tree.addFile("roms/Zelda.zip", "zelda");
    tree.addFile("roms/Kirby.zip", "kirby");
    tree.addFile("Downloads/Tetris.zip", "tetris");
    const std::string roms = tree.path("roms");
    const ChangeBatch batch =
        apply({plan("roms", "Zelda.zip", "Zelda (USA).zip"),
               Change{ChangeKind::Copy, tree.path("Downloads"), "Tetris.zip", roms, "Tetris.zip",
                      *identityOf(tree.path("Downloads"), "Tetris.zip")},
               Change{ChangeKind::Move, roms, "Kirby.zip", tree.path("_set-aside"), "Kirby.zip",
                      *identityOf(roms, "Kirby.zip")}});
    std::rename(tree.path("_set-aside").c_str(), tree.path("old").c_str());  // the folder it made, too
    tree.addFolder("_set-aside");
    std::rename(tree.path("old/Kirby.zip").c_str(), tree.path("_set-aside/Kirby.zip").c_str());
    for (const std::string name : {"roms/Zelda (USA).zip", "roms/Tetris.zip", "_set-aside/Kirby.zip"}) {
        struct stat old{};
        ::stat(tree.path(name).c_str(), &old);
        tree.addFile(name + ".new", tree.read(name));
        const timespec times[2] = {old.st_atim, old.st_mtim};
        ::utimensat(AT_FDCWD, tree.path(name + ".new").c_str(), times, 0);
        std::rename(tree.path(name + ".new").c_str(), tree.path(name).c_str());
    }
    const std::string unsure = "skipped (it has the size and time of the batch's file but another file number, as "
                               "after an exFAT or FAT drive is mounted again: undo cannot be sure it is the same "
                               "file and leaves it; if it is, ";
    EXPECT_EQ(results(undo(batch.journalPath)),
              "skipped (another folder has that name now)\n" + unsure + "rename it back to Zelda.zip by hand)\n" + unsure +
                  "delete it by hand)\n" + unsure + "move it back to " + roms + "/Kirby.zip by hand)\n");
    EXPECT_EQ(tree.list("roms"), "Tetris.zip\nZelda (USA).zip\n");
}

// What killed batches left, the next batch on the collection removes: a copy
// cut short under its temporary name, a journal half written by a process
// that is gone; never a file under a rename's temporary name (the user's own).
TEST_F(RenamesTest, NextBatchRemovesWhatAKilledOneLeft)
{
    tree.addFile("Downloads/Tetris.zip", "tetris");
    for (auto name : {"roms/Kirby.zip", "roms/.t-1.part", "roms/.t-2.part", "journals/.1Z-999999999.renames.part"})
        tree.addFile(name);
    const std::string roms = tree.path("roms");
    const Change copy{ChangeKind::Copy, tree.path("Downloads"), "Tetris.zip", roms, "Tetris.zip", {}};
    const Change rename{ChangeKind::Rename, roms, "Tetris.zip", roms, "TETRIS.zip", {}};
    createJournal(journals(), journalHeader(tree.root()) +
                                  journalRecord(1, {JournalState::Planned, copy, "", ".t-1.part", {}, {}}) +
                                  journalRecord(2, {JournalState::Planned, rename, "", ".t-2.part", {}, {}}));
    apply({plan("roms", "Kirby.zip", "Kirby (USA).zip")});
    EXPECT_EQ(tree.list("roms"), ".t-2.part\nKirby (USA).zip\n");
    EXPECT_FALSE(tree.exists("journals/.1Z-999999999.renames.part"));
}

// An audit while a copy is under way sees what a kill there would leave: the
// copy under its temporary name, which it names.
TEST_F(RenamesTest, AnAuditNamesTheTemporaryFileOfACopyCutShort)
{
    TempTree memory(testing::fastTemporaryBase());  // no reflinks there: the copy goes piece by piece
    memory.addFile("Downloads/Tetris.zip", "tetris");
    memory.addFile("list.txt", "Tetris");
    memory.addFolder("roms");
    std::string said;
    ChangeOptions options{journals(), memory.root(), nullptr, {}, {}};
    options.progress = [&](const ChangeProgress& progress) {
        const AuditOutcome audit = runRomAudit(AuditInputs{memory.root(), memory.path("list.txt")}, {});
        for (const AuditWarning& warning : audit.result->warnings)
            said += progress.filesDone == 0 ? warning.message + " " + warning.examples[0] : "";
    };
    applyChanges({Change{ChangeKind::Copy, memory.path("Downloads"), "Tetris.zip",
                         memory.path("roms"), "Tetris.zip", *identityOf(memory.path("Downloads"), "Tetris.zip")}},
                 options);
    EXPECT_TRUE(said.starts_with("An interrupted batch left 1 temporary file; Undo removes it. roms/.tokenade-"))
        << said;
}

// Changes go only to a Tokenade directory, and there also to a rom folder
// that is a link to another drive.
TEST_F(RenamesTest, OnlyACollectionIsChangedWithItsLinkedFolders)
{
    tree.addFile("drive/Tetris.zip");
    tree.addFile("Tokenade/videos/a.xmv");
    tree.addLink("Tokenade/romsConsoles", "../drive");
    for (const auto& [directory, kind, why] :
         {std::tuple{tree.path("Tokenade"), AuditKind::Roms, ""}, {tree.path("Tokenade"), AuditKind::Videos, ""},
          {tree.path("drive"), AuditKind::Roms, " holds none of the folders roms,roms16BitConsoles,romsConsoles"},
          {tree.path("drive/Tetris.zip"), AuditKind::Roms, " is not a folder"},
          {tree.path("absent"), AuditKind::Videos, " does not exist"}, {"", AuditKind::Roms, "no Tokenade directory"}})
    {
        const std::string said = whyNotACollection(directory, kind);
        EXPECT_TRUE(*why ? said.find(why) != std::string::npos : said.empty()) << said;
    }
    const ChangeBatch batch = applyChanges({plan("drive", "Tetris.zip", "Tetris (World).zip")},
                                           ChangeOptions{journals(), tree.path("Tokenade"), nullptr, {}, {}});
    EXPECT_EQ(results(batch), "made\n");
}

// A batch killed between announcing a placeholder and renaming over it
// leaves an empty file under the new name: undo removes it, or says why not.
TEST_F(RenamesTest, UndoRemovesAPlaceholderAKillLeft)
{
    tree.addFile("roms/Kirby.zip", "kirby");
    const Change rename = plan("roms", "Kirby.zip", "Kirby (USA).zip");
    const JournalPath journal = createJournal(
        journals(), journalHeader(tree.root()) + journalRecord(1, {JournalState::Planned, rename, "", "", {}, {}}) +
                        journalRecord(1, {JournalState::Placing, rename, "", "", {}, {}}));
    tree.addFile("roms/Kirby (USA).zip");
    testing::FaultyDisk failing;
    failing.failFirst("unlink", EIO);
    const ChangeBatch stuck = undoChanges(journal.path, ChangeOptions{journals(), "", &failing, {}, {}});
    EXPECT_EQ(results(stuck), "skipped (cannot remove the placeholder Kirby (USA).zip: "s + std::strerror(EIO) + ")\n");
    EXPECT_EQ(results(undo(journal.path)), "");  // never made: nothing to tell
    EXPECT_EQ(tree.list("roms"), "Kirby.zip\n");
}

// Run by `make check-faults` on an exFAT image: a case-only rename where the
// file system folds case goes through its temporary name, and back.
TEST_F(RenamesTest, CaseOnlyRenameOnACaseFoldingFileSystem)
{
    const char* folder = std::getenv("TOKENADE_CASE_FOLDING_FOLDER");
    if (folder == nullptr)
        GTEST_SKIP() << "TOKENADE_CASE_FOLDING_FOLDER names no folder on a file system that folds case";
    TempTree there(folder);
    there.addFile("roms/tetris (world).zip", "tetris");
    const std::string roms = there.path("roms");
    const Change rename{ChangeKind::Rename, roms, "tetris (world).zip", roms, "Tetris (World).zip",
                        *identityOf(roms, "tetris (world).zip")};
    const ChangeBatch batch = applyChanges({rename}, ChangeOptions{journals(), there.root(), nullptr, {}, {}});
    EXPECT_EQ(results(batch), "made\n");
    EXPECT_EQ(there.list("roms"), "Tetris (World).zip\n");
    EXPECT_EQ(results(undo(batch.journalPath)), "made\n");
    EXPECT_EQ(there.list("roms"), "tetris (world).zip\n");
}

// One batch per collection, whatever the path, the state folder or the mount
// it is reached by; none at all, and no lock file, for a path that is not there.
TEST_F(RenamesTest, SecondLockOfTheCollectionUnderAnotherSpellingIsToldWhoHoldsIt)
{
    tree.addFolder("Tokenade/roms");
    tree.addLink("alias", "Tokenade");
    const LockAttempt held = lockCollection(systemDisk(), journals(), tree.path("Tokenade"));
    const LockAttempt second = lockCollection(systemDisk(), tree.path("elsewhere"), tree.path("alias/roms/.."));
    EXPECT_TRUE(!second.lock && second.heldBy.starts_with("repair_tests, process ")) << second.problem;
    const JournalPath journal = createJournal(journals(), journalHeader(tree.path("Tokenade")));
    EXPECT_EQ(undo(journal.path).heldBy, second.heldBy);  // an undo waits for no batch either
    tree.addFolder("bound");
    if (::mount(tree.path("Tokenade").c_str(), tree.path("bound").c_str(), nullptr, MS_BIND, nullptr) == 0) {
        EXPECT_FALSE(lockCollection(systemDisk(), journals(), tree.path("bound")).lock);
        ::umount(tree.path("bound").c_str());
    } else {
        std::printf("no bind mount here (%s): that case is not tried\n", std::strerror(errno));
    }
    ::setenv("XDG_STATE_HOME", tree.path("state").c_str(), 1);
    EXPECT_EQ(lockCollection(systemDisk(), journals(), tree.path("absent")).problem,
              "the Tokenade directory " + tree.path("absent") + " does not exist");
    EXPECT_FALSE(tree.exists("state"));
    EXPECT_FALSE(lockCollection(systemDisk(), journals(), tree.path("Tokenade")).lock);
    ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace tokenade
