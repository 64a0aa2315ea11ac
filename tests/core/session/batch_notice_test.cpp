#include "core/session/batch_notice.h"

#include "core/repair/changes.h"
#include "core/repair/journal_files.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

ChangeOutcome outcome(std::string from, ChangeResult result, std::string reason = {})
{
    return {Change{ChangeKind::Rename, "/c/roms", std::move(from), "", "x.zip", {}}, result, std::move(reason)};
}

ChangeBatch batch(std::vector<ChangeOutcome> outcomes, std::string journal = {}, std::string notRecorded = {})
{
    ChangeBatch made;
    made.journalPath = std::move(journal);
    made.notRecorded = std::move(notRecorded);
    made.outcomes = std::move(outcomes);
    return made;
}

ChangeOutcome made(ChangeKind kind)
{
    return {Change{kind, "", "", "", "", {}}, ChangeResult::Made, {}};
}

ChangeBatch notStarted(std::string why)
{
    ChangeBatch refused;
    refused.notStarted = std::move(why);
    return refused;
}

BatchSummary batchOf(ChangeKind kind, size_t changes, int64_t madeAt)
{
    return {"", "", "", kind, std::vector<Change>(changes), madeAt, false, false};
}

TEST(BatchNotice, SaysWhatWasChangedAndNamesEveryFileLeftAlone)
{
    struct Case {
        const char* name;
        BatchKind kind;
        ChangeBatch batch;
        std::string text;
        std::vector<std::string> examples;
    };
    const std::string journal = "/state/renames/2026-12-07T10-00-00.000Z-7.renames";
    const std::vector<Case> cases{
        {"all made", BatchKind::Renames,
         batch({outcome("Dr Mario.zip", ChangeResult::Made), outcome("Tom and Jerry.zip", ChangeResult::Made)}, journal),
         "Renamed 2 files.", {}},
        {"undo, one gone, one back already", BatchKind::Undo,
         batch({outcome("Pok\xC3\xA9mon.zip", ChangeResult::Made), outcome("Tom & Jerry.zip", ChangeResult::DoneBefore),
                outcome("\xE3\x83\x9E.zip", ChangeResult::Skipped, "its old name is taken")},
               journal, "disk full"),
         "Renamed 1 file back (journal 2026-12-07T10-00-00.000Z-7.renames). 1 file was back already. 1 file could not "
         "be put back:",
         {"\u201C\xE3\x83\x9E.zip\u201D: its old name is taken", "The journal was not updated: disk full"}},
        {"a fill's folder is no file", BatchKind::Fill,
         batch({{Change{ChangeKind::Folder, "", "", "/c", "roms", {}}, ChangeResult::Made, {}},
                outcome("Dr.zip", ChangeResult::Made), outcome("Tetris.zip", ChangeResult::Skipped, "full")}),
         "Copied 1 file. 1 file could not be copied:", {"\u201CTetris.zip\u201D: full"}},
        {"undo of each kind", BatchKind::Undo,
         batch({made(ChangeKind::Copy), made(ChangeKind::Copy), made(ChangeKind::Move), made(ChangeKind::Folder)}),
         "Removed 2 copies, moved 1 file back.", {}},
        {"not started", BatchKind::Renames, notStarted("cannot create the journal: read-only; nothing was renamed"),
         "Cannot create the journal: read-only; nothing was renamed.", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AuditSession::Notice notice = batchNotice(c.kind, c.batch);
        EXPECT_EQ(notice.text, c.text);
        EXPECT_EQ(notice.examples, c.examples);
    }
}

TEST(BatchNotice, UndoCommandSaysWhatAndWhen)
{
    ::setenv("TZ", "UTC", 1);
    const int64_t now = 1765288800;  // 2025-12-09 14:00 UTC
    EXPECT_EQ(undoCommandText(batchOf(ChangeKind::Copy, 6, now - 60), now), "Undo Fill of 6 games (today 13:59)");
    EXPECT_EQ(undoCommandText(batchOf(ChangeKind::Move, 1, now - 86400), now), "Undo Set Aside of 1 file (yesterday 14:00)");
    EXPECT_EQ(undoCommandText(batchOf(ChangeKind::Rename, 6, now - 3 * 86400), now),
              "Undo Renames of 6 files (2025-12-06 14:00)");
}

// A Cancel once ended in "Copied 1 file." with no word of the five it never
// reached; those are no failures to list either.
TEST(BatchNotice, ABatchStoppedShortSaysHowFarItCameAndWhatStays)
{
    const auto stoppedFill = [](size_t done, std::string stopped) {
        ChangeBatch cut;
        cut.stopped = std::move(stopped);
        for (size_t i = 0; i < 6; ++i)
            cut.outcomes.push_back(i < done ? outcome("a.zip", ChangeResult::Made)
                                            : outcome("b.zip", ChangeResult::Skipped, "not reached: " + cut.stopped));
        return cut;
    };
    EXPECT_EQ(batchNotice(BatchKind::Fill, stoppedFill(1, "stopped on request"), true).text,
              "Cancelled after 1 of 6 files; the copied one stays (Undo removes it).");
    EXPECT_EQ(batchNotice(BatchKind::Renames, stoppedFill(2, "stopped on request"), true).text,
              "Cancelled after 2 of 6 files; the 2 renamed keep their names (Undo renames them back).");
    const AuditSession::Notice full = batchNotice(BatchKind::Fill, stoppedFill(0, "the disk is full"));
    EXPECT_EQ(full.text, "Stopped (the disk is full) before the first of 6 files; nothing was changed.");
    EXPECT_TRUE(full.examples.empty());
}

}  // namespace
}  // namespace tokenade
