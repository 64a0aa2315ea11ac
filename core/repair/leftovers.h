#pragma once

#include "core/repair/disk.h"

#include <string>

namespace tokenade {

// Removes what batches cut short (killed) left behind, as their journals in
// `journalFolder` name it: on `collection`, each file under the temporary
// name of a copy or a move (a copy, whole or partial, that never took its
// name; the file it came from is still where it was); and, of any
// collection, each journal half written (".NAME.renames.part") by a process
// that is gone. The journals stay as they are, for undo. To be called with
// the collection locked, so that no batch of it is under way; touches only
// paths inside the collection (CollectionArea); what cannot be removed stays
// for undo, or the next batch, to try again.
void removeLeftovers(Disk& disk, const std::string& journalFolder, const std::string& collection);

}  // namespace tokenade
