#pragma once

#include "core/summary/system_counts.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <vector>

class QFontMetricsF;

// Where each thing of the bars goes, for a table of systems drawn `width`
// wide in a font of `metrics`: a legend of the colours the table uses, then
// a row per system, the whole collection's first, its name above a bar of its names (valid, missing,
// unknown) and, by DAT, a bar of its archives and games by content. Each
// bar's parts are in proportion to that bar's total; a part too narrow for
// its number still gets a few pixels so it can be pointed at. A count the
// row cannot know (isKnown) has no part. Painting, clicks, keys and
// tooltips all read this one layout.
struct BarPart {
    size_t row = 0;
    tokenade::SystemCount count = tokenade::SystemCount::Valid;
    size_t value = 0;
    QRectF rect;
};

struct BarsLayout {
    struct LegendEntry {
        tokenade::SystemCount count;
        QRectF swatch;
        QPointF textAt;  // the text's baseline start
    };
    struct Title {
        size_t row;
        QRectF rect;
    };
    std::vector<LegendEntry> legend;
    std::vector<Title> titles;   // top to bottom
    std::vector<QRectF> bars;    // every bar's outline
    std::vector<BarPart> parts;  // top to bottom, each bar's parts left to right
    qreal height = 0;
};

BarsLayout layOutBars(const tokenade::SystemSummary& table, const QFontMetricsF& metrics, qreal width);

// A count's colour: a middle tone that reads on a light and on a dark
// window alike, with the number on it in black or white, whichever reads.
QColor partColour(tokenade::SystemCount count);
QColor numberColourOn(const QColor& part);
// How far apart two colours read, as accessibility guidelines measure it (1 to 21).
qreal contrastRatio(const QColor& one, const QColor& other);

// A row's name as the window says it: its folder or DAT, "No DAT",
// "Whole collection".
QString rowTitle(const tokenade::SystemCounts& row);
// Its title above its bars, with how many of the DAT's games are off the
// list: "mame — 39,440 games not on the list".
QString rowHeading(const tokenade::SystemCounts& row);
// A count's name in the legend and the tooltips ("missing").
QString countName(tokenade::SystemCount count);
// The exact numbers of a part: "Genesis: 12 missing of 40 names (30%)".
QString partTip(const tokenade::SystemCounts& row, const BarPart& part);
