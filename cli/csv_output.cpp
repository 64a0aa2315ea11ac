#include "csv_output.h"

#include <string>
#include <string_view>

namespace tokenade::cli {
namespace {

constexpr size_t kPieceSize = size_t(1) << 20;

bool needsQuotes(std::string_view field)
{
    return field.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

void flush(std::string& piece, std::FILE* out)
{
    std::fwrite(piece.data(), 1, piece.size(), out);
    piece.clear();
}

}  // namespace

// Appends `field` in double quotes, each inner double quote doubled, when it
// holds a comma, a double quote, CR or LF, or begins or ends with a space
// (which many readers would trim); else as it is.
void appendCsvField(std::string& row, std::string_view field)
{
    if (!needsQuotes(field)) {
        row.append(field);
        return;
    }
    row.push_back('"');
    for (const char c : field) {
        if (c == '"')
            row.push_back('"');
        row.push_back(c);
    }
    row.push_back('"');
}

void writeCsv(const AuditReport& report, std::FILE* out)
{
    std::string piece = "category,name,folder\r\n";
    for (const ResultCategory& category : report.result.categories) {
        if (!isShown(report, category))
            continue;
        for (const ResultEntry& entry : category.entries) {
            piece.append(category.facts->key);  // a plain word: never quoted
            piece.push_back(',');
            appendCsvField(piece, entry.name());
            piece.push_back(',');
            appendCsvField(piece, report.result.folderOf(entry));
            piece.append("\r\n");
            if (piece.size() >= kPieceSize)
                flush(piece, out);
        }
    }
    flush(piece, out);
}

}  // namespace tokenade::cli
