#pragma once

#include "core/session/audit_session.h"

namespace tokenade {

struct ChangeBatch;

// The notice that says in the user's words what a batch did: how many files
// it changed ("Renamed 2 files.", "Put back 2 files (journal NAME)."; the
// folders a batch made for its files are not counted), and,
// each as an example, every file it left as it was with the reason. A batch
// that did not start says why nothing changed.
AuditSession::Notice batchNotice(BatchKind kind, const ChangeBatch& batch);

}  // namespace tokenade
