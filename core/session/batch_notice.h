#pragma once

#include "core/session/audit_session.h"

namespace tokenade {

struct BatchSummary;
struct ChangeBatch;
struct ChangeOutcome;

// The notice that says in the user's words what a batch did: how many files
// it changed ("Renamed 2 files."; an undo per kind of change: "Removed 6
// copies, moved 2 files back, renamed 7 files back (journal NAME)."; the
// folders a batch made for its files are not counted), and,
// each as an example, every file it left as it was with the reason. A batch
// that did not start says why nothing changed. A batch that stopped before
// its end says after how many files and what stays ("Cancelled after 1 of 6
// files; the copied one stays (Undo removes it)." when the user `cancelled`
// it); the files it never reached are not named.
AuditSession::Notice batchNotice(BatchKind kind, const ChangeBatch& batch, bool cancelled = false);

// The change of `outcome` was never tried: `batch` stopped before it.
bool wasNotReached(const ChangeBatch& batch, const ChangeOutcome& outcome);

// The words of the command that undoes `batch`, in local time as of `now`
// (seconds since the epoch): "Undo Fill of 6 games (today 14:02)", "Undo
// Renames of 7 files (yesterday 09:15)", "Undo Set Aside of 1 file
// (2026-12-01 14:02)".
std::string undoCommandText(const BatchSummary& batch, int64_t now);

}  // namespace tokenade
