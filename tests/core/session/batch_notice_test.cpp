#include "core/session/batch_notice.h"

#include "core/repair/changes.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

ChangeOutcome outcome(std::string from, ChangeResult result, std::string reason = {})
{
    return {Change{.folder = "/c/roms", .from = std::move(from), .to = "x.zip"}, result, std::move(reason)};
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
         {.journalPath = journal,
          .outcomes = {outcome("Dr Mario.zip", ChangeResult::Made), outcome("Tom and Jerry.zip", ChangeResult::Made)}},
         "Renamed 2 files.", {}},
        {"undo, one gone, one back already", BatchKind::Undo,
         {.journalPath = journal,
          .notRecorded = "disk full",
          .outcomes = {outcome("Pok\xC3\xA9mon.zip", ChangeResult::Made),
                       outcome("Tom & Jerry.zip", ChangeResult::DoneBefore),
                       outcome("\xE3\x83\x9E.zip", ChangeResult::Skipped, "its old name is taken")}},
         "Put back 1 file (journal 2026-12-07T10-00-00.000Z-7.renames). 1 file was back already. 1 file could not be "
         "put back:",
         {"\u201C\xE3\x83\x9E.zip\u201D: its old name is taken", "The journal was not updated: disk full"}},
        {"a fill's folder is no file", BatchKind::Fill,
         {.outcomes = {{Change{.kind = ChangeKind::Folder, .toFolder = "/c", .to = "roms"}, ChangeResult::Made, {}},
                       outcome("Dr.zip", ChangeResult::Made), outcome("Tetris.zip", ChangeResult::Skipped, "full")}},
         "Copied 1 file. 1 file could not be copied:", {"\u201CTetris.zip\u201D: full"}},
        {"not started", BatchKind::Renames, {.notStarted = "cannot create the journal: read-only; nothing was renamed"},
         "Cannot create the journal: read-only; nothing was renamed.", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AuditSession::Notice notice = batchNotice(c.kind, c.batch);
        EXPECT_EQ(notice.text, c.text);
        EXPECT_EQ(notice.examples, c.examples);
    }
}

}  // namespace
}  // namespace tokenade
