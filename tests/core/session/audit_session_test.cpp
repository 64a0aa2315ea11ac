#include "core/session/audit_session.h"

#include <gtest/gtest.h>

namespace tokenade {
namespace {

AuditOutcome resultWith(const AuditInputs& inputs, AuditKind kind, const std::string& name)
{
    AuditOutcome outcome{inputs, AuditResult::empty(kind), {}, false};
    outcome.result->storage.emplace_back();
    const std::string_view stored = outcome.result->storage.back().store(name);
    outcome.result->categories[0].entries.push_back({stored.data(), static_cast<uint32_t>(stored.size()), kNoFolder});
    outcome.result->availableOnly = inputs.availableRomVideosOnly;
    return outcome;
}

// A view may keep what it was handed: a new result is a new snapshot, and only a result replaces one.
TEST(AuditSession, AResultReplacesTheSnapshotAndNeverChangesOneHandedOut)
{
    AuditSession session;
    const std::shared_ptr<const AuditResult> before = session.snapshot(AuditKind::Roms);
    EXPECT_FALSE(session.canPickCategory(AuditKind::Roms));
    session.setPaths("/games/Tokenade", "/games/list.txt");
    const AuditInputs inputs = session.startAudit(AuditKind::Roms);
    EXPECT_EQ(inputs.tokenadeDirPath, "/games/Tokenade");
    EXPECT_FALSE(session.canAudit(AuditKind::Roms));
    EXPECT_TRUE(session.canAudit(AuditKind::Videos));

    EXPECT_EQ(session.finishAudit(AuditKind::Roms, resultWith(inputs, AuditKind::Roms, "Tetris.zip")),
              AuditSession::Finish::Adopted);
    EXPECT_FALSE(session.isAnyRunning());
    EXPECT_TRUE(session.canPickCategory(AuditKind::Roms));
    EXPECT_TRUE(before->list(CategoryId::Valid).empty());
    const std::shared_ptr<const AuditResult> tetris = session.snapshot(AuditKind::Roms);
    ASSERT_EQ(tetris->list(CategoryId::Valid).size(), 1u);
    EXPECT_EQ(tetris->list(CategoryId::Valid)[0].name(), "Tetris.zip");

    // An unusable list and a stopped audit leave the result and its paths as they were.
    EXPECT_TRUE(session.canFill(AuditKind::Roms));
    session.setPaths("/elsewhere", "/absent.txt");
    EXPECT_FALSE(session.canFill(AuditKind::Roms));  // it would fill /games/Tokenade, not the field's directory
    EXPECT_NE(session.whyNoChanges(AuditKind::Roms).find("are of /games/Tokenade"), std::string::npos);
    session.startAudit(AuditKind::Roms);
    EXPECT_EQ(session.finishAudit(AuditKind::Roms, AuditOutcome{{}, std::nullopt, {"/absent.txt", "not found"}, false}),
              AuditSession::Finish::ListUnusable);
    session.startAudit(AuditKind::Roms);
    EXPECT_EQ(session.finishAudit(AuditKind::Roms, AuditOutcome{{}, std::nullopt, {}, true}),
              AuditSession::Finish::Stopped);
    EXPECT_EQ(session.snapshot(AuditKind::Roms), tetris);
    EXPECT_EQ(session.madeFrom(AuditKind::Roms)->tokenadeDirPath, "/games/Tokenade");

    // Of two audits at once, the one started first and finished last does not put its older files back.
    const AuditInputs first = session.startAudit(AuditKind::Roms);
    const AuditInputs second = session.startAudit(AuditKind::Roms);
    EXPECT_EQ(session.finishAudit(AuditKind::Roms, resultWith(second, AuditKind::Roms, "Newer.zip")),
              AuditSession::Finish::Adopted);
    EXPECT_EQ(session.finishAudit(AuditKind::Roms, resultWith(first, AuditKind::Roms, "Older.zip")),
              AuditSession::Finish::Superseded);
    EXPECT_EQ(session.snapshot(AuditKind::Roms)->list(CategoryId::Valid)[0].name(), "Newer.zip");
    EXPECT_FALSE(session.isAnyRunning());
}

// Ticking the box changes the question, not the answer: the counts and the
// notice say so until the next video audit, and the extra videos' message
// no longer asks for a tick that is there.
TEST(AuditSession, CheckBoxTurnedAfterAVideoAuditMarksItsResults)
{
    AuditSession session;
    session.finishAudit(AuditKind::Videos, resultWith(session.startAudit(AuditKind::Videos), AuditKind::Videos, "a.xmv"));
    session.finishAudit(AuditKind::Roms, resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "a.zip"));
    session.setAvailableOnly(true);
    EXPECT_EQ(session.segmentLabel(AuditKind::Videos, kVideoCategories[0]), "Valid 1*");
    EXPECT_EQ(session.segmentLabel(AuditKind::Videos, kVideoCategories[2]), "Extra");
    EXPECT_EQ(session.segmentLabel(AuditKind::Roms, kRomCategories[0]), "Valid 1");
    ASSERT_EQ(session.notices(AuditKind::Videos).size(), 1u);
    EXPECT_NE(session.notices(AuditKind::Videos)[0].text.find("not ticked"), std::string::npos);
    const auto extra = session.viewMessage(AuditKind::Videos, kVideoCategories[2]);
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->find("tick it"), std::string::npos);

    session.finishAudit(AuditKind::Videos, resultWith(session.startAudit(AuditKind::Videos), AuditKind::Videos, "a.xmv"));
    EXPECT_EQ(session.segmentLabel(AuditKind::Videos, kVideoCategories[2]), "Extra 0");
    EXPECT_TRUE(session.notices(AuditKind::Videos).empty());
    session.setAvailableOnly(false);  // back to off: marked again, the other way
    EXPECT_EQ(session.segmentLabel(AuditKind::Videos, kVideoCategories[1]), "Missing 0*");
}

// Never a count that was not made: before the first audit, and for extra
// videos that the last audit did not look for, the view says why instead.
TEST(AuditSession, ViewsAndNoticesSayWhatTheResultsAre)
{
    AuditSession session;
    EXPECT_NE(session.viewMessage(AuditKind::Videos, kVideoCategories[0])->find("Choose the Tokenade directory and the"),
              std::string::npos);
    EXPECT_FALSE(session.canSave(AuditKind::Videos));
    session.setPaths("/games/Tokenade", "");
    EXPECT_NE(session.viewMessage(AuditKind::Videos, kVideoCategories[0])->find("Choose the supported roms list,"),
              std::string::npos);
    session.setPaths("/games/Tokenade", "/games/list.txt");  // nothing left to choose: no stale request
    EXPECT_EQ(session.viewMessage(AuditKind::Videos, kVideoCategories[0]),
              "Nothing audited yet.\n\nAudit Videos to compare the collection with the list.");
    AuditOutcome outcome = resultWith(session.startAudit(AuditKind::Videos), AuditKind::Videos, "Tetris.xmv");
    outcome.result->warnings.push_back({WarningKind::CutLines, "1 list line has a period", 1, {"\"Dr. Mario\" -> \"Dr.xmv\""}});
    session.finishAudit(AuditKind::Videos, std::move(outcome));
    EXPECT_TRUE(session.canSave(AuditKind::Videos));
    EXPECT_EQ(session.viewMessage(AuditKind::Videos, kVideoCategories[0]), std::nullopt);
    EXPECT_NE(session.viewMessage(AuditKind::Videos, kVideoCategories[2]), std::nullopt);
    ASSERT_EQ(session.notices(AuditKind::Videos).size(), 1u);
    EXPECT_EQ(session.notices(AuditKind::Videos)[0].examples[0], "\"Dr. Mario\" -> \"Dr.xmv\"");

    session.setPaths("/games/Other", "/games/list.txt");
    session.reportsSaved(AuditKind::Videos, 4, "/reports");
    const auto notices = session.notices(AuditKind::Videos);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_NE(notices[1].text.find("earlier paths /games/Tokenade"), std::string::npos);
    EXPECT_EQ(notices[2].text, "Saved 4 reports to /reports.");
    EXPECT_EQ(notices[2].folderToOpen, "/reports");
    session.setPaths("/games/Tokenade", "/games/list.txt");  // back to the paths of the result
    EXPECT_EQ(session.notices(AuditKind::Videos).size(), 2u);
    EXPECT_TRUE(session.notices(AuditKind::Roms).empty());
}

// Whether near misses remain after a rename or were never there, the button
// looks the same when there is nothing in its view.
TEST(AuditSession, NearMissButtonCountsEveryNameItsViewLists)
{
    const ResultEntry entry{"x.zip", 5, 0};
    struct Case {
        size_t pairs, ambiguous, copies, cut, byContent;
        std::string label;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 0, 0, 0, "No near misses"},
                                           {0, 0, 0, 1, 0, "1 near miss…"},
                                           {1, 1, 1, 0, 0, "3 near misses…"},
                                           {0, 0, 0, 0, 2, "2 near misses…"},
                                           {1000, 0, 0, 0, 0, "1,000 near misses…"}}) {
        SCOPED_TRACE(c.label);
        AuditSession session;
        AuditOutcome outcome = resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "Tetris.zip");
        NearMisses& near = outcome.result->nearMisses;
        near.pairs.assign(c.pairs, {&entry, &entry, 0});
        near.ambiguous.assign(c.ambiguous, {&entry, &entry});
        near.copies.assign(c.copies, {&entry, &entry});
        near.cut.assign(c.cut, {"Dr. Mario", "Dr.zip", &entry});
        session.finishAudit(AuditKind::Roms, std::move(outcome));
        ChangePlan plan;
        plan.items.resize(c.byContent);
        for (OfferedChange& item : plan.items)
            item.kind = OfferKind::Content;
        plan.items.emplace_back().kind = OfferKind::Follower;  // a video that follows is no near miss
        session.offerRenames(AuditKind::Roms, std::move(plan));
        EXPECT_EQ(session.nearMissLabel(AuditKind::Roms), c.label);
        EXPECT_EQ(session.canShowNearMisses(AuditKind::Roms), c.label != "No near misses");
    }
}

// An audit started while files are changed could read half a batch and
// finish after the audit that follows the renames.
TEST(AuditSession, NoAuditOrUndoWhileABatchRuns)
{
    AuditSession session;
    session.startChanges();
    EXPECT_FALSE(session.canAudit(AuditKind::Roms));
    EXPECT_FALSE(session.canAudit(AuditKind::Videos));
    session.finishChanges();
    EXPECT_TRUE(session.canAudit(AuditKind::Roms));
    EXPECT_FALSE(session.canUndo());  // the newest batch is looked for anew
    session.setUndoable(BatchSummary{});
    EXPECT_TRUE(session.canUndo());
    session.startAudit(AuditKind::Videos);
    EXPECT_FALSE(session.canUndo());
}

// A batch leaves results that are no longer the files: a rename takes the
// other kind's files along, an undo reverses those it touched. The notice
// stays through the audit that follows. An audit reads the fields, so a
// result of another collection, or of paths changed since, is left as it is
// and says why: the undo of a fill made on a mistyped directory once
// audited the videos of the right one with it and showed them all missing.
TEST(AuditSession, AfterABatchOnlyResultsOfItsCollectionAreAuditedAgain)
{
    using Kinds = std::vector<AuditKind>;
    const AuditSession::Notice notice{"Removed 1 copy.", {}, {}};
    AuditSession session;
    session.setPaths("/games/col", "/games/list.txt");
    session.finishAudit(AuditKind::Roms, resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "a.zip"));
    session.setPaths("/games/coll", "/games/list.txt");  // mended, and the videos audited there
    session.finishAudit(AuditKind::Videos, resultWith(session.startAudit(AuditKind::Videos), AuditKind::Videos, "a.xmv"));
    BatchSummary fill;
    fill.collection = "/games/col";
    fill.touchesRoms = true;
    EXPECT_EQ(session.undoEnded(notice, fill), Kinds{});
    ASSERT_EQ(session.notices(AuditKind::Roms).size(), 2u);  // the stale paths', then the undo's
    EXPECT_NE(session.notices(AuditKind::Roms)[1].text.find("were not audited again"), std::string::npos);
    EXPECT_EQ(session.notices(AuditKind::Videos).size(), 0u);  // untouched

    session.setPaths("/games/col", "/games/list.txt");
    EXPECT_EQ(session.undoEnded(notice, fill), Kinds{AuditKind::Roms});
    EXPECT_EQ(session.batchEnded(AuditKind::Roms, BatchKind::Renames, notice), Kinds{AuditKind::Roms});
    session.setPaths("/games/coll", "/games/list.txt");
    EXPECT_EQ(session.batchEnded(AuditKind::Videos, BatchKind::Fill, notice), Kinds{AuditKind::Videos});
    EXPECT_EQ(session.batchEnded(AuditKind::Videos, BatchKind::Renames, notice), Kinds{AuditKind::Videos});
    session.startAudit(AuditKind::Videos);
    EXPECT_EQ(session.notices(AuditKind::Videos).size(), 1u);
    session.startAudit(AuditKind::Videos);
    EXPECT_TRUE(session.notices(AuditKind::Videos).empty());
}

// A notice must not send the user to a command that cannot help, nor leave
// an undo or a DAT that failed without a word.
TEST(AuditSession, NoticesSayWhatWasDoneAndWhatIsOff)
{
    AuditSession session;
    const BatchSummary fill{.collection = "/games/col", .touchesRoms = true};
    EXPECT_TRUE(session.undoEnded({"Removed 1 copy.", {}, {}}, fill).empty());  // before any audit
    ASSERT_EQ(session.notices(AuditKind::Roms).size(), 1u);
    EXPECT_EQ(session.notices(AuditKind::Roms)[0].text, "Removed 1 copy.");

    AuditOutcome outcome = resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "a.zip");
    outcome.result->warnings.push_back(
        {WarningKind::BatchLeftovers, "An interrupted batch left 2 temporary files; Undo removes them.", 2, {}});
    session.finishAudit(AuditKind::Roms, std::move(outcome));
    EXPECT_NE(session.notices(AuditKind::Roms)[0].text.find("so Undo cannot remove them"), std::string::npos);
    session.setUndoable(BatchSummary{});
    EXPECT_EQ(session.notices(AuditKind::Roms)[0].text, "An interrupted batch left 2 temporary files; Undo removes them.");

    session.setDatPath("/games/cut.dat");
    session.datUnusable("/games/cut.dat", "/games/cut.dat:3:1: cut short");
    ASSERT_EQ(session.notices(AuditKind::Roms).size(), 2u);
    EXPECT_EQ(session.notices(AuditKind::Roms)[1].text.rfind("Identification by content is off", 0), 0u);
    session.setDatPath("/games/other.dat");
    EXPECT_EQ(session.notices(AuditKind::Roms).size(), 1u);
}

// No change is offered on a directory that is not a collection, whatever is ticked.
TEST(AuditSession, ARefusedCollectionOffersNoChange)
{
    AuditSession session;
    session.finishAudit(AuditKind::Roms, resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "a.zip"));
    EXPECT_TRUE(session.canFill(AuditKind::Roms));
    session.refuseChanges(AuditKind::Roms, "The Tokenade directory /games/col does not exist.");
    EXPECT_FALSE(session.canFill(AuditKind::Roms));
    EXPECT_FALSE(session.canSetAside(AuditKind::Roms, CategoryId::Unknown, 1));
    session.finishAudit(AuditKind::Roms, resultWith(session.startAudit(AuditKind::Roms), AuditKind::Roms, "a.zip"));
    EXPECT_EQ(session.changesRefused(AuditKind::Roms), "");  // until asked of the new result
}

// Only files that are there and no game's can be set aside: never the valid
// ones, nor missing names, nor extra archives, which no audit has.
TEST(AuditSession, SetAsideOffersFoundFilesOfNoGameOnly)
{
    AuditSession session;
    EXPECT_FALSE(session.canSetAside(AuditKind::Roms, CategoryId::Unknown, 1));  // not audited
    for (AuditKind kind : kAuditKinds)
        session.finishAudit(kind, resultWith(session.startAudit(kind), kind, "x"));
    EXPECT_TRUE(session.canSetAside(AuditKind::Roms, CategoryId::Unknown, 1));
    EXPECT_TRUE(session.canSetAside(AuditKind::Videos, CategoryId::Extra, 2));
    EXPECT_FALSE(session.canSetAside(AuditKind::Roms, CategoryId::Extra, 1));
    EXPECT_FALSE(session.canSetAside(AuditKind::Videos, CategoryId::Unknown, 0));
}

// Offers by content are of one result and one DAT: a newer result, another
// DAT, or a DAT or list that could not be read offers none.
TEST(AuditSession, AnIdentificationBelongsToOneResultAndOneDat)
{
    constexpr AuditKind Roms = AuditKind::Roms;
    AuditSession session;
    session.setDatPath("/dats/arcade.dat");
    EXPECT_FALSE(session.identificationWanted());  // nothing audited yet
    session.setPaths("/games/Tokenade", "/games/list.txt");
    session.finishAudit(Roms, resultWith(session.startAudit(Roms), Roms, "a.zip"));
    const std::optional<IdentifyInputs> wanted = session.identificationWanted();
    ASSERT_TRUE(wanted);
    EXPECT_EQ(wanted->directory, "/games/Tokenade");
    EXPECT_EQ(wanted->listPath, "/games/list.txt");
    EXPECT_EQ(wanted->datPaths, std::vector<std::string>{"/dats/arcade.dat"});
    EXPECT_FALSE(wanted->sourceFolder);

    const std::shared_ptr<const AuditResult> first = session.snapshot(Roms);
    EXPECT_TRUE(session.identified(first, *wanted, std::make_shared<BasisAndArchives>()));
    EXPECT_EQ(session.identification(), nullptr);  // no basis: the DAT could not be read
    auto found = std::make_shared<BasisAndArchives>();
    found->read.basis.emplace();
    EXPECT_TRUE(session.identified(first, *wanted, found));
    EXPECT_EQ(session.identification(), found);
    session.setDatPath("/dats/other.dat");
    EXPECT_EQ(session.identification(), nullptr);
    session.setDatPath("/dats/arcade.dat");
    EXPECT_EQ(session.identification(), found);

    session.finishAudit(Roms, resultWith(session.startAudit(Roms), Roms, "a.zip"));
    EXPECT_EQ(session.identification(), nullptr);
    EXPECT_FALSE(session.identified(first, *wanted, found));  // late, for a result replaced since
    session.setDatPath("");
    EXPECT_FALSE(session.identificationWanted());
    session.setDatPath("/dats/arcade.dat");
    session.refuseChanges(Roms, "The Tokenade directory /games/Tokenade does not exist.");
    EXPECT_FALSE(session.identificationWanted());
}

}  // namespace
}  // namespace tokenade
