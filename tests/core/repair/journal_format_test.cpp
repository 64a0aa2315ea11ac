#include "core/repair/journal_format.h"

#include "core/foundation/text_decoding.h"
#include "core/repair/collection_lock.h"
#include "core/repair/journal_files.h"
#include "core/repair/open_folders.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

using namespace std::string_literals;

const std::string kHeader = "tokenade-auditor renames 1\tstate\tfolder\tfrom\tto\tdevice\tinode\tsize\tmtime\tnote\n";

JournalLine v1(JournalState state, std::string folder, std::string from, std::string to, FileIdentity identity,
               std::string note)
{
    return JournalLine{state, Change{ChangeKind::Rename, folder, from, folder, to, identity}, note, "", {}, {}};
}

TEST(RenameJournalTest, AnyNameSurvivesAndTheTextIsUtf8)
{
    const std::vector<JournalLine> lines = {
        v1(JournalState::Made, "/roms/Pokémon\tRed", "Tom and Jerry.zip", "Tom & Jerry.zip", {2049, 77, 5, -1, 5}, ""),
        v1(JournalState::Skipped, "/", "Zelda\nA Link\r.zip", "\\x41\\.zip", {1, 2, 3, 4, 999999999}, "File exists"),
        v1(JournalState::Refused, "/ｒｏｍｓ", "Caf\xE9\x01\x7F.zip", "a/b\0c"s, {}, "it holds \"/\"\n"),
        v1(JournalState::Undone, "/roms", "Cafe\xCC\x81.zip", "\xC0\xAF\xED\xA0\x80.zip", {}, ""),
    };
    const std::string text = journalText(lines);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    EXPECT_TRUE(text.starts_with(kHeader + "made\t/roms/Pokémon\\tRed\tTom and Jerry.zip\tTom & Jerry.zip\t2049\t77\t5\t"
                                           "-1.000000005\t\n"));
    const JournalRead read = parseJournal(text);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.lines, lines);
}

TEST(RenameJournalTest, DamagedJournalsAreRefusedWhole)
{
    const std::string good = "made\t/roms\ta.zip\tb.zip\t1\t2\t3\t4.000000005\t\n";
    const std::string log = journalHeader("/c") + journalRecord(1, v1(JournalState::Planned, "/r", "a", "b", {}, ""));
    const std::string torn = "1\tmade\trename\t/ro";  // what a kill while appending leaves
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "it is not a renames journal"},
        {"valid_roms.txt\n", "it is not a renames journal"},
        {"tokenade-auditor renames 3\tstate\n" + good,
         "it is in version 3 of the journal format, which this version of the program does not read"},
        {kHeader + good + "made\t/roms\ta.zip\tb.zip\t1\t2\t3\t4.000000005\n", "line 3 is damaged"},
        {kHeader + "done\t/roms\ta.zip\tb.zip\t1\t2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta\\q.zip\tb.zip\t1\t2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta\\x4\tb.zip\t1\t2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta\\x4g.zip\tb.zip\t1\t2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta.zip\tb.zip\\\t1\t2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta.zip\tb.zip\t1\t2\t3\t4.5\t\n", "line 2 is damaged"},
        {kHeader + "made\t/roms\ta.zip\tb.zip\t1\tx2\t3\t4.000000005\t\n", "line 2 is damaged"},
        {kHeader + good.substr(0, good.size() - 1), "line 2 is cut short"},
        {log + torn + "\n", "line 4 is damaged"},
        {log + journalRecord(2, v1(JournalState::Made, "/r", "a", "b", {}, "")),
         "line 4 does not fit: its step 2 has no plan before it"},
    };
    for (const auto& [text, problem] : cases) {
        SCOPED_TRACE(text);
        const JournalRead read = parseJournal(text);
        EXPECT_EQ(read.problem, problem);
        EXPECT_TRUE(read.lines.empty());
    }
    EXPECT_EQ(parseJournal(kHeader).problem, "");
    EXPECT_EQ(parseJournal(log + torn).length, log.size());  // read, up to the torn record
}

// A set-aside folder, a copy's mtime and a placeholder announced survive the text.
TEST(RenameJournalTest, VersionTwoKeepsWhatUndoChecks)
{
    JournalLine line = v1(JournalState::Planned, "/c/roms", "a.zip", "b.zip", {1, 2, 3, 4, 5}, "");
    const std::string planned = journalRecord(1, line);
    line.state = JournalState::Placing;
    line.made = {7, 8, 3, 1733480000, 0};  // exFAT keeps no nanoseconds
    const JournalRead read = parseJournal(journalHeader("/c", "/media/aside") + planned + journalRecord(1, line));
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.setAsideFolder, "/media/aside");
    EXPECT_EQ(read.lines, std::vector<JournalLine>{line});
    EXPECT_TRUE(hasChangesToUndo(read.lines));
    EXPECT_EQ(parseJournal(journalHeader("/c") + planned).setAsideFolder, "");
}

TEST(RenameJournalTest, FolderFollowsTheStateHomeThenTheHome)
{
    EXPECT_EQ(renameJournalFolderFor("/state", "/home/ana"), "/state/tokenade-auditor/renames");
    EXPECT_EQ(renameJournalFolderFor("state", "/home/ana"), "/home/ana/.local/state/tokenade-auditor/renames");
    EXPECT_EQ(renameJournalFolderFor("", "/home/ana"), "/home/ana/.local/state/tokenade-auditor/renames");
    EXPECT_EQ(renameJournalFolderFor(nullptr, nullptr), "");
    EXPECT_EQ(renameJournalFolderFor(nullptr, "relative"), "");
    EXPECT_NE(createJournal("relative", "").problem.find("is not an absolute path"), std::string::npos);
    EXPECT_EQ(parentOf("/x") + "|" + parentOf("/a/b") + "|" + collectionOfFolder("/a/T/roms/Sega/A"), "/|/a|/a/T");
}

}  // namespace
}  // namespace tokenade
