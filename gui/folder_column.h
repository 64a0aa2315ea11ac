#pragma once

#include <QStyledItemDelegate>

class ReportLines;

// Draws a report line's name, then, for a found file, its folder in a second
// column at the lines' name width (for a cut missing name, its whole list
// line), in a colour halfway between the text and the background so that it
// reads as secondary. `lines` must outlive it.
class FolderColumn : public QStyledItemDelegate {
public:
    FolderColumn(const ReportLines& lines, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ReportLines& lines_;
};
