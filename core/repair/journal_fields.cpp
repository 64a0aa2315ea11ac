#include "journal_fields.h"

#include "core/foundation/text_decoding.h"

namespace tokenade {
namespace {

void appendHexByte(std::string& out, unsigned char byte)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The character that a backslash and `letter` stand for, or '\0' for none.
char escapedBy(char letter)
{
    switch (letter) {
    case '\\': return '\\';
    case 't': return '\t';
    case 'n': return '\n';
    case 'r': return '\r';
    default: return '\0';
    }
}

}  // namespace

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
        if (const char plain = escapedBy(field[i]); plain != '\0') {
            out += plain;
            continue;
        }
        if (field[i] != 'x' || i + 2 >= field.size())
            return false;
        const int high = hexValue(field[i + 1]);
        const int low = hexValue(field[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool parseModified(std::string_view text, FileIdentity& identity)
{
    const size_t point = text.find('.');
    return point != std::string_view::npos && text.size() - point - 1 == 9 &&
           parseNumber(text.substr(0, point), identity.modifiedSeconds) &&
           parseNumber(text.substr(point + 1), identity.modifiedNanoseconds) && identity.modifiedNanoseconds >= 0;
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

void appendModified(std::string& out, const FileIdentity& identity)
{
    const std::string nanoseconds = std::to_string(identity.modifiedNanoseconds);
    out += std::to_string(identity.modifiedSeconds) + ".";
    out.append(nanoseconds.size() < 9 ? 9 - nanoseconds.size() : 0, '0');
    out += nanoseconds;
}

}  // namespace tokenade
