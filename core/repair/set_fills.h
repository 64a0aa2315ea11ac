#pragma once

#include "core/repair/content_offers.h"

#include <string>

namespace tokenade {

// The forms a fill by content takes arcade sets in: the collection's
// (collectionForm), or any when nothing tells it. kAnySetForm for a DAT
// without families.
SetFormMask fillForms(const ContentFindings& content);

// For each fill of `plan` that is ticked and can be made and brings a
// machine of a DAT of families, the archives its set needs that the
// collection lacks (missingNeeds, in the collection's form, else in the form
// the copied archive holds it in): per such need that no archive of the
// collection is named for and no other item brings, a source archive that
// holds it whole (SourceByContent::holdingGame), copied (or linked, `kind`)
// into `targetFolder` under the need's short name, ticked as the fill it
// serves, with the reason ("content: holds Neo-Geo MV-6F, the BIOS that
// kof98a needs"). A need the source lacks is not offered. Returns, per item
// added, the archive as it was read.
ReadArchives addSetNeedFills(ChangePlan& plan, const SourceByContent& source, const std::string& sourceFolder,
                             const std::string& targetFolder, ChangeKind kind);

}  // namespace tokenade
