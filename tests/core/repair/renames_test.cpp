#include "core/repair/renames.h"

#include "core/repair/collection_lock.h"
#include "core/repair/journal_files.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace tokenade {
namespace {

using namespace std::string_literals;
using testing::TempTree;

class RenamesTest : public ::testing::Test {
protected:
    Rename plan(std::string_view folder, const std::string& from, const std::string& to)
    {
        const std::string path = tree.path(folder);
        return Rename{path, from, to, identityOf(path, from).value_or(FileIdentity{})};
    }

    RenameBatch apply(const std::vector<Rename>& renames) { return applyRenames(renames, journals()); }
    std::string journals() const { return tree.path("journals"); }

    static std::string results(const RenameBatch& batch)
    {
        std::string text;
        for (const RenameOutcome& outcome : batch.outcomes) {
            static const char* const kWords[] = {"made", "done before", "skipped", "refused"};
            text += std::string(kWords[static_cast<int>(outcome.result)]) +
                    (outcome.reason.empty() ? "" : " (" + outcome.reason + ")") + "\n";
        }
        return text;
    }

    static std::string states(const RenameBatch& batch)
    {
        std::string text;
        for (const JournalLine& line : readJournal(batch.journalPath).lines)
            text += "RPMSU"[static_cast<int>(line.state)];
        return text;
    }

    TempTree tree;
};

TEST_F(RenamesTest, MessyNamesRoundTripThroughTheJournal)
{
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Dr Mario (Japan, USA).zip", "Dr. Mario (Japan, USA).zip"},
        {"Tom and Jerry.zip", "Tom & Jerry.zip"},
        {"FULL.zip", "ＦＵＬＬ.zip"},
        {"Zelda\tA Link.zip", "Zelda: A Link.zip"},
        {"Pokemon\nRoja.zip", "Pokémon – Edición Roja.zip"},
        {"Caf\xE9 Bros.zip", "Cafe\xCC\x81 Bros\\\r\x7F.zip"},
        {"Marios Quest.zip", "Mario’s Quest.zip"},
        {"Long.zip", std::string(251, 'L') + ".zip"},  // as long as a name may be
    };
    std::vector<Rename> renames;
    for (const auto& [from, to] : names) {
        tree.addFile("roms/" + from, to);
        renames.push_back(plan("roms", from, to));
    }
    const std::string before = tree.list("roms");

    const RenameBatch batch = apply(renames);
    EXPECT_EQ(batch.notStarted + batch.notRecorded, "");
    for (const auto& [from, to] : names) {
        SCOPED_TRACE(to);
        EXPECT_EQ(tree.read("roms/" + to), to);
        EXPECT_FALSE(tree.exists("roms/" + from));
    }
    const JournalRead journal = readJournal(batch.journalPath);
    ASSERT_EQ(journal.problem, "");
    ASSERT_EQ(journal.lines.size(), renames.size());
    for (size_t i = 0; i < renames.size(); ++i)
        EXPECT_EQ(journal.lines[i].change, renameChange(renames[i]));

    undoRenames(batch.journalPath);
    EXPECT_EQ(tree.list("roms"), before);
}

TEST_F(RenamesTest, FailuresHalfwayLeaveTheirFilesAndTheOthersAreMade)
{
    tree.addFile("roms/Tetris.zip", "tetris");
    tree.addFile("roms/Super Mario Bros .zip", "mario");
    tree.addFile("roms/Zelda.zip", "zelda");
    tree.addFile("roms/Kirby.zip", "kirby");
    const std::vector<Rename> renames = {plan("roms", "Tetris.zip", "Tetris (World).zip"),
                                         plan("roms", "Super Mario Bros .zip", "Super Mario Bros..zip"),
                                         plan("roms", "Zelda.zip", "Zelda (USA).zip"),
                                         plan("absent", "Metroid.zip", "Metroid (USA).zip"),
                                         plan("roms", "Kirby.zip", "Kirby's Adventure.zip")};
    // Between the plan and the renames, the user copies the expected file in.
    tree.addFile("roms/Super Mario Bros..zip", "the user's copy");
    std::remove(tree.path("roms/Zelda.zip").c_str());

    const RenameBatch batch = apply(renames);
    EXPECT_EQ(results(batch), "made\nskipped (another file has that name)\nskipped (the file is no longer there)\n"
                              "skipped (cannot open the folder " + tree.path("absent") + ": No such file or directory)\n"
                              "made\n");
    EXPECT_EQ(states(batch), "MSSSM");
    EXPECT_EQ(tree.read("roms/Super Mario Bros..zip"), "the user's copy");
    EXPECT_EQ(tree.read("roms/Super Mario Bros .zip"), "mario");
    EXPECT_EQ(tree.read("roms/Tetris (World).zip"), "tetris");
    EXPECT_EQ(tree.read("roms/Kirby's Adventure.zip"), "kirby");
}

TEST_F(RenamesTest, NamesThatAreNotPlainNamesAreRefused)
{
    tree.addFile("roms/Tetris.zip");
    tree.addFile("roms/a/b");
    const std::vector<std::pair<Rename, std::string>> cases = {
        {plan("roms", "Tetris.zip", "a/b"), "the new name cannot be used: it holds \"/\", so it is a path, not a name"},
        {plan("roms", "Tetris.zip", ".."), "the new name cannot be used: \"..\" is not a file name"},
        {plan("roms", "Tetris.zip", "Tetris\0.zip"s), "the new name cannot be used: it holds a NUL byte"},
        {plan("roms", "Tetris.zip", std::string(256, 'T')),
         "the new name cannot be used: it is 256 bytes long; the file system takes at most 255"},
        {plan("roms", "a/b", "b"), "the present name cannot be used: it holds \"/\", so it is a path, not a name"},
        {plan("roms", "Tetris.zip", "Tetris.zip"), "the file already has that name"},
        {Rename{"roms", "Tetris.zip", "Tetris (World).zip", {}}, "the folder \"roms\" is not an absolute path"},
    };
    std::vector<Rename> renames;
    std::string expected;
    for (const auto& [rename, reason] : cases) {
        renames.push_back(rename);
        expected += "refused (" + reason + ")\n";
    }
    const RenameBatch batch = apply(renames);
    EXPECT_EQ(results(batch), expected);
    EXPECT_EQ(states(batch), std::string(cases.size(), 'R'));
    EXPECT_EQ(tree.list("roms"), "Tetris.zip\na\n");
    EXPECT_EQ(tree.list("roms/a"), "b\n");
}

TEST_F(RenamesTest, FileChangedSinceThePlanIsSkipped)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Replaced.zip", "another file has that name now"},
        {"Grown.zip", "the file changed since the changes were planned"},
        {"Linked.zip", "the name is no longer that of a regular file"},
    };
    std::vector<Rename> renames;
    std::string expected;
    for (const auto& [name, reason] : cases) {
        tree.addFile("roms/" + name, "old");
        renames.push_back(plan("roms", name, "New " + name));
        expected += "skipped (" + reason + ")\n";
    }
    // A new file made before the old one goes cannot have its inode.
    tree.addFile("roms/other", "new");
    std::rename(tree.path("roms/other").c_str(), tree.path("roms/Replaced.zip").c_str());
    tree.addFile("roms/Grown.zip", "old and more");
    std::remove(tree.path("roms/Linked.zip").c_str());
    tree.addLink("roms/Linked.zip", "Grown.zip");

    EXPECT_EQ(results(apply(renames)), expected);
    EXPECT_EQ(tree.list("roms"), "Grown.zip\nLinked.zip\nReplaced.zip\n");
}

TEST_F(RenamesTest, UnwritableJournalRenamesNothing)
{
    tree.addFile("roms/Tetris.zip");
    tree.addFile("journals", "a file where the folder should be");
    const RenameBatch batch = apply({plan("roms", "Tetris.zip", "Tetris (World).zip")});
    EXPECT_NE(batch.notStarted, "");
    EXPECT_TRUE(batch.outcomes.empty());
    EXPECT_EQ(tree.list("roms"), "Tetris.zip\n");
}

TEST_F(RenamesTest, UndoAfterAPartialBatchRestoresTheTreeAndTwiceIsHarmless)
{
    tree.addFile("roms/Tetris.zip", "tetris");
    tree.addFile("roms/Tetris (World).zip", "already there");
    tree.addFile("roms/x/Dr Mario.zip", "mario");
    tree.addFile("roms/x/Kirby.zip", "kirby");
    const std::string before = tree.list("roms") + tree.list("roms/x");
    // Kirby's name is freed and then taken by Dr. Mario: undo must go last first.
    const RenameBatch batch = apply({plan("roms", "Tetris.zip", "Tetris (World).zip"),
                                     plan("roms/x", "Kirby.zip", "Kirby (USA).zip"),
                                     plan("roms/x", "Dr Mario.zip", "Kirby.zip")});
    ASSERT_EQ(results(batch), "skipped (another file has that name)\nmade\nmade\n");
    EXPECT_EQ(latestJournal(journals()), batch.journalPath);
    std::ofstream(batch.journalPath, std::ios::app) << "3\tundone\trename\t/ro";  // as a kill leaves it

    const RenameBatch undone = undoRenames(batch.journalPath);
    EXPECT_EQ(results(undone), "made\nmade\n");
    EXPECT_EQ(undone.outcomes[0].change.from, "Kirby (USA).zip");
    EXPECT_EQ(tree.list("roms") + tree.list("roms/x"), before);
    EXPECT_EQ(tree.read("roms/x/Kirby.zip"), "kirby");
    EXPECT_EQ(states(batch), "SUU");
    EXPECT_EQ(latestJournal(journals()), std::nullopt);
    struct stat journal {};
    ASSERT_EQ(::stat(batch.journalPath.c_str(), &journal), 0);
    EXPECT_EQ(journal.st_mode & 0777, 0600u);  // rewritten twice, still the user's alone

    EXPECT_EQ(results(undoRenames(batch.journalPath)), "done before\ndone before\n");
    EXPECT_EQ(tree.list("roms") + tree.list("roms/x"), before);

    // The newest journal with renames left is the one to undo; other files are passed over.
    tree.addFile("roms/Zelda.zip");
    const RenameBatch next = apply({plan("roms", "Zelda.zip", "Zelda (USA).zip")});
    tree.addFile("journals/9999-12-31T00-00-00.000Z-1.renames", "not a journal");
    EXPECT_EQ(latestJournal(journals()), next.journalPath);
}

TEST_F(RenamesTest, UndoNeverReplacesAFileThatTookTheOldName)
{
    tree.addFile("roms/Tetris.zip", "tetris");
    tree.addFile("roms/Kirby.zip", "kirby");
    const RenameBatch batch = apply(
        {plan("roms", "Tetris.zip", "Tetris (World).zip"), plan("roms", "Kirby.zip", "Kirby (USA).zip")});
    tree.addFile("roms/Tetris.zip", "a new download");

    EXPECT_EQ(results(undoRenames(batch.journalPath)), "skipped (another file has that name)\nmade\n");
    EXPECT_EQ(tree.read("roms/Tetris.zip"), "a new download");
    EXPECT_EQ(tree.read("roms/Tetris (World).zip"), "tetris");
    EXPECT_EQ(states(batch), "MU");
    EXPECT_EQ(latestJournal(journals()), batch.journalPath);  // one rename is still to undo
}

TEST_F(RenamesTest, BatchCutShortIsUndoneAsFarAsItsFilesShow)
{
    tree.addFile("roms/Tetris.zip");
    tree.addFile("roms/Kirby.zip");
    const std::vector<Rename> renames = {plan("roms", "Tetris.zip", "Tetris (World).zip"),
                                         plan("roms", "Kirby.zip", "Kirby (USA).zip")};
    const JournalPath journal = createJournal(
        journals(), journalText({{JournalState::Planned, renameChange(renames[0]), "", "", {}, {}},
                                 {JournalState::Planned, renameChange(renames[1]), "", "", {}, {}}}));
    std::rename(tree.path("roms/Tetris.zip").c_str(), tree.path("roms/Tetris (World).zip").c_str());
    ASSERT_EQ(latestJournal(journals()), journal.path);

    EXPECT_EQ(results(undoRenames(journal.path)), "made\n");
    EXPECT_EQ(tree.list("roms"), "Kirby.zip\nTetris.zip\n");
    EXPECT_EQ(latestJournal(journals()), std::nullopt);
}

TEST_F(RenamesTest, SecondLockOfTheCollectionUnderAnotherSpellingIsToldWhoHoldsIt)
{
    tree.addFolder("Tokenade/roms");
    tree.addLink("alias", "Tokenade");
    const LockAttempt held = lockCollection(systemDisk(), journals(), tree.path("Tokenade"));
    const LockAttempt second = lockCollection(systemDisk(), tree.path("elsewhere"), tree.path("alias/roms/.."));
    EXPECT_TRUE(!second.lock && second.heldBy.starts_with("repair_tests, process ")) << second.problem;
}

}  // namespace
}  // namespace tokenade
