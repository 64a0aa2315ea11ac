#include "folder_column.h"

#include "gui/report_lines.h"

#include <QPainter>

FolderColumn::FolderColumn(const ReportLines& lines, QObject* parent)
    : QStyledItemDelegate(parent)
    , lines_(lines)
{
}

void FolderColumn::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString folder = index.data(ReportLines::FolderRole).toString();
    if (folder.isEmpty())
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor text = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor back = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    QColor muted;
    muted.setRgbF((text.redF() * 2 + back.redF()) / 3, (text.greenF() * 2 + back.greenF()) / 3,
                  (text.blueF() * 2 + back.blueF()) / 3);
    painter->save();
    painter->setPen(muted);
    QRect area = option.rect;
    area.setLeft(area.left() + lines_.nameWidth());
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft, folder);
    painter->restore();
}
