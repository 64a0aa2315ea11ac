#include "bar_layout.h"

#include "core/foundation/grouped_count.h"
#include "gui/qt_strings.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <span>

using tokenade::SystemCount;
using tokenade::SystemCounts;

namespace {

constexpr qreal kMargin = 8;
constexpr qreal kRowGap = 10;
constexpr qreal kBarGap = 3;
constexpr qreal kMinPart = 4;  // wide enough to point at and to see
constexpr std::array<SystemCount, 3> kNames{SystemCount::Valid, SystemCount::Missing, SystemCount::Unknown};
// The DAT's games off the list are not drawn: a DAT of tens of thousands of
// machines would leave the list's own sets too thin to see. The row's
// heading says how many there are.
constexpr std::array<SystemCount, 3> kContent{SystemCount::Correct, SystemCount::Incomplete, SystemCount::NeedsOther};

size_t knownTotal(const SystemCounts& row, std::span<const SystemCount> counts)
{
    size_t total = 0;
    for (const SystemCount count : counts) {
        if (tokenade::isKnown(row.kind, count))
            total += row[count];
    }
    return total;
}

// The parts of one bar: each non-zero known count in proportion, the
// narrow ones widened and the wide ones narrowed to make room for them.
void layOutBar(const SystemCounts& row, size_t rowIndex, std::span<const SystemCount> counts, const QRectF& bar,
               std::vector<BarPart>& parts)
{
    const size_t total = knownTotal(row, counts);
    if (total == 0)
        return;
    std::vector<BarPart> these;
    for (const SystemCount count : counts) {
        if (tokenade::isKnown(row.kind, count) && row[count] != 0)
            these.push_back({rowIndex, count, row[count], {}});
    }
    std::vector<qreal> widths;
    qreal narrowed = 0;
    qreal wide = 0;
    for (const BarPart& part : these) {
        const qreal width = bar.width() * static_cast<qreal>(part.value) / static_cast<qreal>(total);
        widths.push_back(std::max(width, kMinPart));
        if (width < kMinPart)
            narrowed += kMinPart - width;
        else
            wide += width;
    }
    qreal left = bar.left();
    for (size_t i = 0; i < these.size(); ++i) {
        qreal width = widths[i];
        if (width > kMinPart && wide > 0)
            width -= narrowed * width / wide;
        these[i].rect = QRectF(left, bar.top(), width, bar.height());
        left += width;
        parts.push_back(these[i]);
    }
}

void layOutLegend(const tokenade::SystemSummary& table, const QFontMetricsF& metrics, qreal width, BarsLayout& layout)
{
    const qreal swatch = metrics.height() * 0.8;
    qreal x = kMargin;
    qreal y = kMargin;
    for (const tokenade::SystemColumn& column : tokenade::kSystemColumns) {
        if ((column.byContent && !table.byDat) || column.count == SystemCount::NotOnList)
            continue;
        const qreal entry = swatch + 4 + metrics.horizontalAdvance(countName(column.count)) + 12;
        if (x > kMargin && x + entry > width - kMargin) {
            x = kMargin;
            y += metrics.height() + 4;
        }
        const qreal middle = y + metrics.height() / 2;
        layout.legend.push_back({column.count, QRectF(x, middle - swatch / 2, swatch, swatch),
                                 QPointF(x + swatch + 4, y + metrics.ascent())});
        x += entry;
    }
    layout.height = y + metrics.height() + kRowGap;
}

}  // namespace

BarsLayout layOutBars(const tokenade::SystemSummary& table, const QFontMetricsF& metrics, qreal width)
{
    BarsLayout layout;
    layOutLegend(table, metrics, width, layout);
    const qreal barHeight = metrics.height() + 6;
    qreal y = layout.height;
    // The whole collection, last in the table, comes first: it alone knows
    // every missing game, and it is what the eye looks for.
    std::vector<size_t> order;
    for (size_t i = 0; i < table.systems.size(); ++i)
        order.insert(table.systems[i].kind == tokenade::SystemKind::All ? order.begin() : order.end(), i);
    for (const size_t i : order) {
        const SystemCounts& row = table.systems[i];
        layout.titles.push_back({i, QRectF(kMargin, y, width - 2 * kMargin, metrics.height())});
        y += metrics.height() + kBarGap;
        const QRectF names(kMargin, y, width - 2 * kMargin, barHeight);
        layout.bars.push_back(names);
        layOutBar(row, i, kNames, names, layout.parts);
        y += barHeight;
        if (table.byDat && knownTotal(row, kContent) != 0) {
            const QRectF content(kMargin, y + kBarGap, width - 2 * kMargin, barHeight);
            layout.bars.push_back(content);
            layOutBar(row, i, kContent, content, layout.parts);
            y += kBarGap + barHeight;
        }
        y += kRowGap;
    }
    layout.height = y + kMargin - kRowGap;
    return layout;
}

QColor partColour(SystemCount count)
{
    switch (count) {
    case SystemCount::Valid: return QColor(0x2e, 0x9d, 0x4f);
    case SystemCount::Missing: return QColor(0xd6, 0x45, 0x45);
    case SystemCount::Unknown: return QColor(0xd9, 0xa2, 0x1b);
    case SystemCount::Correct: return QColor(0x3b, 0x7d, 0xd8);
    case SystemCount::Incomplete: return QColor(0xe0, 0x7b, 0x2c);
    case SystemCount::NeedsOther: return QColor(0x9b, 0x59, 0xb6);
    case SystemCount::NotOnList: return QColor(0x8a, 0x90, 0x99);
    }
    return Qt::gray;
}

qreal relativeLuminance(const QColor& colour)
{
    const auto linear = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

qreal contrastRatio(const QColor& one, const QColor& other)
{
    const qreal a = relativeLuminance(one);
    const qreal b = relativeLuminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor numberColourOn(const QColor& part)
{
    return contrastRatio(part, Qt::black) >= contrastRatio(part, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
}

QString rowTitle(const SystemCounts& row)
{
    switch (row.kind) {
    case tokenade::SystemKind::NoDat: return QStringLiteral("No DAT");
    case tokenade::SystemKind::All: return QStringLiteral("Whole collection");
    default: return toQString(row.name);
    }
}

QString rowHeading(const SystemCounts& row)
{
    if (!tokenade::isKnown(row.kind, SystemCount::NotOnList) || row[SystemCount::NotOnList] == 0)
        return rowTitle(row);
    return QStringLiteral("%1 \u2014 %2 games not on the list")
        .arg(rowTitle(row), toQString(tokenade::groupedCount(row[SystemCount::NotOnList])));
}

QString countName(SystemCount count)
{
    for (const tokenade::SystemColumn& column : tokenade::kSystemColumns) {
        if (column.count == count)
            return toQString(column.header);
    }
    return {};
}

QString partTip(const SystemCounts& row, const BarPart& part)
{
    const bool names = std::find(kNames.begin(), kNames.end(), part.count) != kNames.end();
    const size_t total = names ? knownTotal(row, kNames) : knownTotal(row, kContent);
    const int percent = total == 0 ? 0 : static_cast<int>((part.value * 1000 / total + 5) / 10);
    return QStringLiteral("%1: %2 %3 of %4 %5 (%6%)")
        .arg(rowTitle(row), toQString(tokenade::groupedCount(part.value)), countName(part.count),
             toQString(tokenade::groupedCount(total)), names ? QStringLiteral("names") : QStringLiteral("counted"))
        .arg(percent);
}
