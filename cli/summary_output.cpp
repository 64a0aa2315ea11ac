#include "summary_output.h"

#include "cli/csv_output.h"
#include "core/foundation/grouped_count.h"
#include "core/foundation/utf8_characters.h"
#include "core/results/report_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace tokenade::cli {
namespace {

using Json = nlohmann::ordered_json;

std::vector<SystemColumn> columnsOf(const SystemSummary& summary)
{
    std::vector<SystemColumn> columns;
    for (const SystemColumn& column : kSystemColumns) {
        if (summary.byDat || !column.byContent)
            columns.push_back(column);
    }
    return columns;
}

// How wide a name stands on a terminal, a character a column.
size_t widthOf(std::string_view text)
{
    size_t width = 0;
    forEachCharacter(text, [&](int32_t, std::string_view) { ++width; });
    return width;
}

std::string rowName(const SystemCounts& row)
{
    switch (row.kind) {
    case SystemKind::NoDat: return "(no DAT)";
    case SystemKind::All: return "(all)";
    case SystemKind::Folder:
    case SystemKind::Dat: break;
    }
    return displayName(row.name);
}

std::string countText(const SystemCounts& row, SystemCount count)
{
    return isKnown(row.kind, count) ? groupedCount(row[count]) : "-";
}

std::string padded(const std::string& text, size_t width, bool left)
{
    const std::string fill(width - std::min(width, widthOf(text)), ' ');
    return left ? text + fill : fill + text;
}

std::string textTable(const SystemSummary& summary)
{
    const std::vector<SystemColumn> columns = columnsOf(summary);
    size_t nameWidth = widthOf("system");
    std::vector<size_t> widths;
    for (const SystemColumn& column : columns)
        widths.push_back(column.header.size());
    for (const SystemCounts& row : summary.systems) {
        nameWidth = std::max(nameWidth, widthOf(rowName(row)));
        for (size_t i = 0; i < columns.size(); ++i)
            widths[i] = std::max(widths[i], countText(row, columns[i].count).size());
    }
    std::string text = summary.byDat ? "Systems by DAT\n" : "Systems by rom folder\n";
    text += padded("system", nameWidth, true);
    for (size_t i = 0; i < columns.size(); ++i)
        text += "  " + padded(std::string(columns[i].header), widths[i], false);
    text += "\n";
    for (const SystemCounts& row : summary.systems) {
        text += padded(rowName(row), nameWidth, true);
        for (size_t i = 0; i < columns.size(); ++i)
            text += "  " + padded(countText(row, columns[i].count), widths[i], false);
        text += "\n";
    }
    return text;
}

std::string jsonTable(const SystemSummary& summary, const SummaryPlace& place)
{
    Json systems = Json::array();
    for (const SystemCounts& row : summary.systems) {
        const bool named = row.kind == SystemKind::Folder || row.kind == SystemKind::Dat;
        Json item{{"system", named ? Json(row.name) : Json(nullptr)}, {"kind", systemKindKey(row.kind)}};
        for (const SystemColumn& column : columnsOf(summary))
            item[std::string(column.key)] = isKnown(row.kind, column.count) ? Json(row[column.count]) : Json(nullptr);
        systems.push_back(std::move(item));
    }
    Json json{{"dir", place.directory},
              {"list", place.listPath},
              {"by", summary.byDat ? "dat" : "folder"},
              {"systems", std::move(systems)}};
    // Names that are not UTF-8 get U+FFFD instead of stopping the output.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string csvTable(const SystemSummary& summary)
{
    const std::vector<SystemColumn> columns = columnsOf(summary);
    std::string rows = "system,kind";
    for (const SystemColumn& column : columns)
        rows += "," + std::string(column.key);
    rows += "\r\n";
    for (const SystemCounts& row : summary.systems) {
        appendCsvField(rows, row.name);
        rows.push_back(',');
        appendCsvField(rows, systemKindKey(row.kind));
        for (const SystemColumn& column : columns)
            rows += "," + (isKnown(row.kind, column.count) ? std::to_string(row[column.count]) : "");
        rows += "\r\n";
    }
    return rows;
}

}  // namespace

std::string systemSummaryOutput(const SystemSummary& summary, OutputFormat format, const SummaryPlace& place)
{
    switch (format) {
    case OutputFormat::Json: return jsonTable(summary, place);
    case OutputFormat::Csv: return csvTable(summary);
    case OutputFormat::Text: break;
    }
    return textTable(summary);
}

}  // namespace tokenade::cli
