#include "journal_format.h"

#include "core/repair/journal_fields.h"

#include <algorithm>
#include <array>

namespace tokenade {
namespace {

constexpr std::string_view kFormat = "tokenade-auditor renames ";
constexpr std::string_view kFieldsV1 = "\tstate\tfolder\tfrom\tto\tdevice\tinode\tsize\tmtime\tnote";
constexpr std::string_view kFieldsV2 =
    "\tstep\tstate\tkind\tfolder\tfrom\tto folder\tto\ttemporary\tdevice\tinode\tsize\tmtime\tmade\tnote";
constexpr size_t kFieldCountV1 = 9;
constexpr size_t kFieldCountV2 = 14;
constexpr std::string_view kCollection = "collection\t";
constexpr std::string_view kSetAside = "set-aside\t";

constexpr std::array<std::string_view, 9> kStateWords = {"refused", "planned",   "made",    "skipped",  "undone",
                                                         "copied",  "restoring", "placing", "returning"};
constexpr std::array<std::string_view, 5> kKindWords = {"rename", "copy", "link", "move", "folder"};

template <typename Enum, size_t N>
bool parseWord(std::string_view word, const std::array<std::string_view, N>& words, Enum& value)
{
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == word) {
            value = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

void appendFields(std::string& out, std::initializer_list<const std::string*> fields)
{
    for (const std::string* field : fields) {
        out += '\t';
        appendEscaped(out, *field);
    }
}

void appendIdentity(std::string& out, const FileIdentity& identity)
{
    out += '\t' + std::to_string(identity.device) + '\t' + std::to_string(identity.inode) + '\t' +
           std::to_string(identity.size) + '\t';
    appendModified(out, identity);
}

bool parseIdentity(const std::vector<std::string_view>& fields, size_t first, FileIdentity& identity)
{
    return parseNumber(fields[first], identity.device) && parseNumber(fields[first + 1], identity.inode) &&
           parseNumber(fields[first + 2], identity.size) && parseModified(fields[first + 3], identity);
}

std::string madeText(const FileIdentity& made)
{
    if (made == FileIdentity{})
        return "-";
    std::string text = std::to_string(made.device) + ":" + std::to_string(made.inode) + ":" + std::to_string(made.size);
    if (made.modifiedSeconds != 0 || made.modifiedNanoseconds != 0) {
        text += ':';
        appendModified(text, made);
    }
    return text;
}

// Three numbers, or four with the mtime (journals before it was kept have three).
bool parseMade(std::string_view text, FileIdentity& made)
{
    made = {};
    if (text == "-")
        return true;
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    return (parts.size() == 3 || parts.size() == 4) && parseNumber(parts[0], made.device) &&
           parseNumber(parts[1], made.inode) && parseNumber(parts[2], made.size) &&
           (parts.size() == 3 || parseModified(parts[3], made));
}

bool parseLineV1(std::string_view text, JournalLine& line)
{
    const std::vector<std::string_view> fields = fieldsOf(text);
    Change& change = line.change;
    if (fields.size() != kFieldCountV1 || !parseWord(fields[0], kStateWords, line.state) ||
        line.state > JournalState::Undone || !unescape(fields[1], change.folder) || !unescape(fields[2], change.from) ||
        !unescape(fields[3], change.to) || !parseIdentity(fields, 4, change.identity) || !unescape(fields[8], line.note))
        return false;
    change.toFolder = change.folder;
    return true;
}

bool parseRecord(std::string_view text, size_t& step, JournalLine& line)
{
    const std::vector<std::string_view> fields = fieldsOf(text);
    Change& change = line.change;
    FileIdentity made;
    if (fields.size() != kFieldCountV2 || !parseNumber(fields[0], step) ||
        !parseWord(fields[1], kStateWords, line.state) || !parseWord(fields[2], kKindWords, change.kind) ||
        !unescape(fields[3], change.folder) || !unescape(fields[4], change.from) ||
        !unescape(fields[5], change.toFolder) || !unescape(fields[6], change.to) ||
        !unescape(fields[7], line.temporary) || !parseIdentity(fields, 8, change.identity) ||
        !parseMade(fields[12], made) || !unescape(fields[13], line.note))
        return false;
    (line.state == JournalState::Restoring ? line.restored : line.made) = made;
    return true;
}

// Folds the record of `step` into the lines read so far; the problem, or "".
std::string foldRecord(std::vector<JournalLine>& lines, size_t step, JournalLine&& record)
{
    const bool isPlan = record.state == JournalState::Planned || record.state == JournalState::Refused;
    if (step == lines.size() + 1 && isPlan) {
        lines.push_back(std::move(record));
        return "";
    }
    if (step == 0 || step > lines.size())
        return "its step " + std::to_string(step) + " has no plan before it";
    JournalLine& line = lines[step - 1];
    if (record.change != line.change || record.temporary != line.temporary)
        return "it is not about the change of step " + std::to_string(step);
    const FileIdentity made = line.made;
    const FileIdentity restored = line.restored;
    line = std::move(record);
    // A record carries one of the two identities; the other stays as it was.
    (line.state == JournalState::Restoring ? line.made : line.restored) =
        line.state == JournalState::Restoring ? made : restored;
    return "";
}

JournalRead problem(std::string text)
{
    JournalRead read;
    read.problem = std::move(text);
    return read;
}

std::string lineProblem(size_t number, std::string_view what)
{
    return "line " + std::to_string(number) + " " + std::string(what);
}

}  // namespace

std::string journalText(const std::vector<JournalLine>& lines)
{
    std::string text = std::string(kFormat) + "1" + std::string(kFieldsV1) + "\n";
    for (const JournalLine& line : lines) {
        const Change& change = line.change;
        text += kStateWords[static_cast<size_t>(line.state)];
        appendFields(text, {&change.folder, &change.from, &change.to});
        appendIdentity(text, change.identity);
        appendFields(text, {&line.note});
        text += '\n';
    }
    return text;
}

std::string journalHeader(const std::string& collection, const std::string& setAsideFolder)
{
    std::string text = std::string(kFormat) + "2" + std::string(kFieldsV2) + "\n" + std::string(kCollection);
    appendEscaped(text, collection);
    text += "\n";
    if (!setAsideFolder.empty()) {
        text += kSetAside;
        appendEscaped(text, setAsideFolder);
        text += "\n";
    }
    return text;
}

std::string journalRecord(size_t step, const JournalLine& line)
{
    const Change& change = line.change;
    std::string text = std::to_string(step) + "\t" + std::string(kStateWords[static_cast<size_t>(line.state)]) + "\t" +
                       std::string(kKindWords[static_cast<size_t>(change.kind)]);
    appendFields(text, {&change.folder, &change.from, &change.toFolder, &change.to, &line.temporary});
    appendIdentity(text, change.identity);
    text += '\t' + madeText(line.state == JournalState::Restoring ? line.restored : line.made);
    appendFields(text, {&line.note});
    return text + "\n";
}

JournalRead parseJournal(std::string_view text)
{
    size_t end = text.find('\n');
    if (end == std::string_view::npos || !text.starts_with(kFormat))
        return problem("it is not a renames journal");
    const std::string_view header = text.substr(0, end);
    const std::string_view version = header.substr(kFormat.size(), header.find('\t') - kFormat.size());
    JournalRead read;
    read.version = version == "1" ? 1 : version == "2" ? 2 : 0;
    if (read.version == 0)
        return problem("it is in version " + std::string(version) + " of the journal format, which this version "
                       "of the program does not read");

    size_t number = 2;  // as an editor counts, the header being line 1
    size_t start = end + 1;
    if (read.version == 2) {
        end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (end == std::string_view::npos || !line.starts_with(kCollection) ||
            !unescape(line.substr(kCollection.size()), read.collection))
            return problem(lineProblem(number, "does not name the collection"));
        start = end + 1;
        ++number;
        end = text.find('\n', start);
        const std::string_view next = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (end != std::string_view::npos && next.starts_with(kSetAside)) {
            if (!unescape(next.substr(kSetAside.size()), read.setAsideFolder))
                return problem(lineProblem(number, "does not name the set-aside folder"));
            start = end + 1;
            ++number;
        }
    }
    for (; start < text.size(); ++number, start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string_view::npos && read.version == 2)
            break;
        if (end == std::string_view::npos)
            return problem(lineProblem(number, "is cut short"));
        const std::string_view line = text.substr(start, end - start);
        JournalLine parsed;
        size_t step = 0;
        if (read.version == 1 ? !parseLineV1(line, parsed) : !parseRecord(line, step, parsed))
            return problem(lineProblem(number, "is damaged"));
        if (read.version == 1) {
            read.lines.push_back(std::move(parsed));
        } else if (const std::string why = foldRecord(read.lines, step, std::move(parsed)); !why.empty()) {
            return problem(lineProblem(number, "does not fit: " + why));
        }
    }
    read.length = std::min(start, text.size());
    return read;
}

bool hasChangesToUndo(const std::vector<JournalLine>& lines)
{
    for (const JournalLine& line : lines) {
        if (line.state != JournalState::Refused && line.state != JournalState::Skipped &&
            line.state != JournalState::Undone)
            return true;
    }
    return false;
}

}  // namespace tokenade
