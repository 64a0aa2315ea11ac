#pragma once

#include "core/repair/rename.h"

#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The text of a renames journal: the record of one batch of renames, kept so
// that the batch can be undone, and readable by a person.
//
// The first line names the format, its version and the fields:
//
//   tokenade-auditor renames 1<TAB>state<TAB>folder<TAB>from<TAB>to<TAB>device<TAB>inode<TAB>size<TAB>mtime<TAB>note
//
// then one line per planned rename, in the order of the plan, holding those
// nine fields separated by one tab each, every line ending in "\n":
//   state   refused | planned | made | skipped | undone
//   folder, from, to, note
//           text in which "\\" stands for a backslash, "\t" for a tab, "\n"
//           for a line feed, "\r" for a carriage return, and "\xHH" (two
//           lowercase hex digits) for any other byte below 0x20, for 0x7F and
//           for each byte that is not part of well-formed UTF-8; every other
//           byte stands for itself. So any file name survives and the journal
//           is UTF-8 text.
//   device, inode, size
//           decimal numbers
//   mtime   seconds "." nanoseconds (nine digits), e.g. "1733480000.123456789"
//
// States: "refused" was never tried (not a plain name); "planned" was written
// before the renames and is left only when the batch was cut short or its
// outcome could not be written back, so the rename may or may not have been
// made; "made" was renamed; "skipped" was tried and not renamed; "undone" was
// renamed and then reversed. The note says why for "refused" and "skipped",
// and why an undo failed for "made".
enum class JournalState { Refused, Planned, Made, Skipped, Undone };

struct JournalLine {
    JournalState state = JournalState::Planned;
    Rename rename;
    std::string note;

    bool operator==(const JournalLine&) const = default;
};

std::string journalText(const std::vector<JournalLine>& lines);

// The lines of a journal, or `problem` saying why the text is not one (an
// unknown format or version, a damaged line); then `lines` is empty.
struct JournalRead {
    std::vector<JournalLine> lines;
    std::string problem;
};

JournalRead parseJournal(std::string_view text);

// True when some line may still be renamed: made, or planned in a batch that
// was cut short.
bool hasRenamesToUndo(const std::vector<JournalLine>& lines);

}  // namespace tokenade
