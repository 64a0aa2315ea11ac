#pragma once

#include "core/results/audit_warning.h"
#include "core/sources/folder_scan.h"
#include "core/sources/roms_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// That the directory does not exist, is not a folder, or holds none of the
// folders of a set (`folderErrors` as a scan gives them; `kind` says which
// set; `consequence` ends the sentence: "every game shows as missing").
// Nothing when one of the folders is there.
std::optional<AuditWarning> missingFoldersWarning(const std::string& directory,
                                                  const std::vector<std::string>& folderSet,
                                                  const std::vector<int>& folderErrors, WarningKind kind,
                                                  std::string_view consequence);

// That folders (relative to the directory) could not be read, so their
// files may show as missing. Nothing for none.
std::optional<AuditWarning> unreadableFoldersWarning(std::vector<std::string> folders);

// That a batch of changes cut short left files under its temporary names
// (`files`, relative to the directory), which undo removes. Nothing for none.
std::optional<AuditWarning> leftoversWarning(std::vector<std::string> files);

// What the user should know about the lines of a supported roms list, given
// the names they expect (`expected`, sorted, each name's origin its line):
// lines that expect the same file as an earlier one, lines of spaces or tabs
// only, other lines with spaces or tabs at either end, and lines whose
// extension rewrite cut text that does not look like an extension.
std::vector<AuditWarning> listWarnings(const RomsList& list, const KeyedNames& expected);

// True when the text after a period looks like a file extension: 2 to 4
// ASCII letters or digits beginning with a letter, or "7z" in any case.
bool looksLikeExtension(std::string_view text);

// True when the extension rewrite of a list line cuts what is not an
// extension: its last component has a period, not first nor last, and the
// text after it does not look like one ("Dr. Mario (Japan, USA)"). A final
// period only gives way to the extension ("Super Mario Bros." expects
// "Super Mario Bros.zip"), so "H.E.R.O." is not cut.
bool periodCutsName(std::string_view line);

}  // namespace tokenade
