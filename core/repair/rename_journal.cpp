#include "rename_journal.h"

#include "core/foundation/text_decoding.h"

#include <array>
#include <charconv>

namespace tokenade {
namespace {

constexpr std::string_view kFormat = "tokenade-auditor renames ";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kFields = "\tstate\tfolder\tfrom\tto\tdevice\tinode\tsize\tmtime\tnote";
constexpr size_t kFieldCount = 9;

constexpr std::array<std::string_view, 5> kStateWords = {"refused", "planned", "made", "skipped", "undone"};

void appendHexByte(std::string& out, unsigned char byte)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

void appendEscaped(std::string& out, std::string_view field)
{
    for (size_t i = 0; i < field.size();) {
        const auto byte = static_cast<unsigned char>(field[i]);
        const size_t utf8Length = byte >= 0x80 ? utf8SequenceLength(field.substr(i)) : 0;
        if (utf8Length > 0) {
            out.append(field.substr(i, utf8Length));
            i += utf8Length;
            continue;
        }
        if (byte == '\\')
            out += "\\\\";
        else if (byte == '\t')
            out += "\\t";
        else if (byte == '\n')
            out += "\\n";
        else if (byte == '\r')
            out += "\\r";
        else if (byte < 0x20 || byte >= 0x7F)
            appendHexByte(out, byte);
        else
            out += static_cast<char>(byte);
        ++i;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool unescape(std::string_view field, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return false;
        switch (field[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 'x': {
            if (i + 2 >= field.size())
                return false;
            const int high = hexValue(field[i + 1]);
            const int low = hexValue(field[i + 2]);
            if (high < 0 || low < 0)
                return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

template <typename Number>
bool parseNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseModified(std::string_view text, FileIdentity& identity)
{
    const size_t point = text.find('.');
    return point != std::string_view::npos && text.size() - point - 1 == 9 &&
           parseNumber(text.substr(0, point), identity.modifiedSeconds) &&
           parseNumber(text.substr(point + 1), identity.modifiedNanoseconds) && identity.modifiedNanoseconds >= 0;
}

bool parseState(std::string_view word, JournalState& state)
{
    for (size_t i = 0; i < kStateWords.size(); ++i) {
        if (kStateWords[i] == word) {
            state = static_cast<JournalState>(i);
            return true;
        }
    }
    return false;
}

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

bool parseLine(std::string_view line, JournalLine& parsed)
{
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() != kFieldCount)
        return false;
    Rename& rename = parsed.rename;
    return parseState(fields[0], parsed.state) && unescape(fields[1], rename.folder) &&
           unescape(fields[2], rename.from) && unescape(fields[3], rename.to) &&
           parseNumber(fields[4], rename.identity.device) && parseNumber(fields[5], rename.identity.inode) &&
           parseNumber(fields[6], rename.identity.size) && parseModified(fields[7], rename.identity) &&
           unescape(fields[8], parsed.note);
}

void appendModified(std::string& out, const FileIdentity& identity)
{
    const std::string nanoseconds = std::to_string(identity.modifiedNanoseconds);
    out += std::to_string(identity.modifiedSeconds) + ".";
    out.append(nanoseconds.size() < 9 ? 9 - nanoseconds.size() : 0, '0');
    out += nanoseconds;
}

JournalRead problem(std::string text)
{
    return JournalRead{{}, std::move(text)};
}

}  // namespace

std::string journalText(const std::vector<JournalLine>& lines)
{
    std::string text = std::string(kFormat) + std::string(kVersion) + std::string(kFields) + "\n";
    for (const JournalLine& line : lines) {
        const Rename& rename = line.rename;
        text += kStateWords[static_cast<size_t>(line.state)];
        for (const std::string* field : {&rename.folder, &rename.from, &rename.to}) {
            text += '\t';
            appendEscaped(text, *field);
        }
        text += '\t' + std::to_string(rename.identity.device) + '\t' + std::to_string(rename.identity.inode) + '\t' +
                std::to_string(rename.identity.size) + '\t';
        appendModified(text, rename.identity);
        text += '\t';
        appendEscaped(text, line.note);
        text += '\n';
    }
    return text;
}

JournalRead parseJournal(std::string_view text)
{
    const size_t headerEnd = text.find('\n');
    if (headerEnd == std::string_view::npos || !text.starts_with(kFormat))
        return problem("it is not a renames journal");
    const std::string_view header = text.substr(0, headerEnd);
    const std::string_view version = header.substr(kFormat.size(), header.find('\t') - kFormat.size());
    if (version != kVersion)
        return problem("it is in version " + std::string(version) + " of the journal format, which this version "
                       "of the program does not read");

    JournalRead read;
    size_t number = 2;  // as an editor counts, the header being line 1
    for (size_t start = headerEnd + 1; start < text.size(); ++number) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return problem("line " + std::to_string(number) + " is cut short");
        JournalLine line;
        if (!parseLine(text.substr(start, end - start), line))
            return problem("line " + std::to_string(number) + " is damaged");
        read.lines.push_back(std::move(line));
        start = end + 1;
    }
    return read;
}

bool hasRenamesToUndo(const std::vector<JournalLine>& lines)
{
    for (const JournalLine& line : lines) {
        if (line.state == JournalState::Made || line.state == JournalState::Planned)
            return true;
    }
    return false;
}

}  // namespace tokenade
