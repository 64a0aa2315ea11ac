#pragma once

#include "core/repair/change.h"

#include <string>
#include <string_view>
#include <vector>

namespace tokenade {

// The text of a journal: the record of one batch of changes to a
// collection, kept so that the batch can be undone, and readable by a person.
// Its text fields are written as journal_fields.h says.
//
// Version 2, written by this program, is a log: records are only ever
// appended, each in one write, so that a batch cut short at any point leaves
// every record it wrote before the change it announces. The first line names
// the format, its version and the fields, the second the collection:
//
//   tokenade-auditor renames 2<TAB>step<TAB>state<TAB>kind<TAB>folder<TAB>from<TAB>to folder<TAB>to<TAB>temporary<TAB>device<TAB>inode<TAB>size<TAB>mtime<TAB>made<TAB>note
//   collection<TAB>/home/ana/Tokenade
//
// and, for a batch that sets files aside outside the collection, a third:
//
//   set-aside<TAB>/media/usb/aside
//
// (undo acts only on paths inside those two folders), then records of those fourteen fields, every line ending in "\n":
//   step    1, 2, ...: the change the record is about. The first record of
//           each step, in order, is its plan (planned or refused); later ones
//           give its new state and repeat the plan's fields.
//   kind    rename | copy | link | move | folder
//   temporary
//           the free name, in the folder the file goes to (for undoing a move
//           across file systems: in the folder it came from), that a copy or
//           a case-only rename goes through; chosen and written before it is
//           made, so that no file under it is unknown to the journal
//   device, inode, size, mtime
//           the file as planned (decimal; mtime as "1733480000.123456789")
//   made    "device:inode:size:mtime" of the file the change made (a copy;
//           while restoring, the copy made back), "device:inode:size" of a
//           folder made or a file renamed, or "-"
// A version 1 journal (renames only, rewritten whole when undone) has the
// header "tokenade-auditor renames 1<TAB>state<TAB>folder<TAB>from<TAB>to<TAB>device<TAB>inode<TAB>size<TAB>mtime<TAB>note"
// and one line of those nine fields per rename.
//
// States: "refused" was never tried; "planned" was written before the batch
// and is left when the batch was cut short, so the change may or may not have
// been made; "copied": the copy is complete under its temporary name and is
// about to take its own; "placing": on a file system with neither a
// no-replace rename nor hard links, an empty placeholder is about to be made
// under the name the file goes to, for the file to be renamed over it;
// "made"; "skipped": tried and not made; "undone"; "restoring": undo has
// copied a moved file back under the temporary name; "returning": undo is
// about to make a placeholder under the name the file had.
// The note says why for "refused" and "skipped", and why an undo failed.
enum class JournalState { Refused, Planned, Made, Skipped, Undone, Copied, Restoring, Placing, Returning };

struct JournalLine {
    JournalState state = JournalState::Planned;
    Change change;
    std::string note;
    std::string temporary;
    FileIdentity made{};      // what the change made (a copy with its mtime); zero when nothing
    FileIdentity restored{};  // likewise of what undo copied back

    bool operator==(const JournalLine&) const = default;
};

// A version 1 journal of rename lines (their kind, temporary and made are not written).
std::string journalText(const std::vector<JournalLine>& lines);

// The first lines of a version 2 journal; `setAsideFolder` "" for none.
std::string journalHeader(const std::string& collection, const std::string& setAsideFolder = "");
// One record of a version 2 journal about `line`, the change of `step` (1 and up).
std::string journalRecord(size_t step, const JournalLine& line);

// What a journal holds: its lines (each step's latest record), or `problem`
// saying why the text is not a journal this program reads: another format, a
// newer version, a line damaged, cut short, or not about its step (with its
// number, as an editor counts, and what is wrong); then `lines` is empty.
// The last record of a version 2 journal may lack its "\n": a batch killed
// while appending it leaves that, so it is passed over, and `length` ends
// before it. Version 1 journals are rewritten whole, so there it is damage.
struct JournalRead {
    int version = 0;
    std::string collection;      // version 2 only
    std::string setAsideFolder;  // version 2 only; "" when the batch set nothing aside outside the collection
    std::vector<JournalLine> lines;
    std::string problem;
    size_t length = 0;  // the bytes read, up to the end of the last whole line
};

JournalRead parseJournal(std::string_view text);

// True when some change may still be undone: any but those refused, skipped
// before any copy was made, or undone.
bool hasChangesToUndo(const std::vector<JournalLine>& lines);

}  // namespace tokenade
