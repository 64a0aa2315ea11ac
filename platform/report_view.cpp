#include "report_view.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>

// The lines of the text, all of one row size (the widest line's), so that the
// view never measures rows one by one.
class ReportLines : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(QStringList lines)
    {
        beginResetModel();
        lines_ = std::move(lines);
        endResetModel();
    }
    const QStringList& lines() const { return lines_; }

    void setRowSize(QSize size)
    {
        rowSize_ = size;
        if (!lines_.isEmpty())
            emit dataChanged(index(0), index(static_cast<int>(lines_.size()) - 1), {Qt::SizeHintRole});
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(lines_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= lines_.size())
            return {};
        if (role == Qt::DisplayRole)
            return lines_[index.row()];
        if (role == Qt::SizeHintRole)
            return rowSize_;
        return {};
    }

private:
    QStringList lines_;
    QSize rowSize_;
};

ReportView::ReportView(QWidget* parent)
    : QListView(parent)
    , lines_(new ReportLines(this))
{
    setModel(lines_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void ReportView::setPlainText(const QString& text)
{
    lines_->setLines(text.split(QLatin1Char('\n')));
    fitRowsToText();
}

QString ReportView::toPlainText() const
{
    return lines_->lines().join(QLatin1Char('\n'));
}

int ReportView::lineCount() const
{
    return static_cast<int>(lines_->lines().size());
}

void ReportView::fitRowsToText()
{
    // The longest line in characters stands for the widest: measuring every
    // line would cost more than showing them.
    const QStringList& lines = lines_->lines();
    const auto longest = std::max_element(lines.begin(), lines.end(),
                                          [](const QString& a, const QString& b) { return a.size() < b.size(); });
    const QFontMetrics metrics(font());
    const int width = longest == lines.end() ? 0 : metrics.horizontalAdvance(*longest) + 2 * metrics.averageCharWidth();
    lines_->setRowSize(QSize(width, metrics.height() + 2));
}

void ReportView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToText();
}

void ReportView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    QListView::keyPressEvent(event);
}

void ReportView::copySelection() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList selected;
    for (const QModelIndex& row : rows)
        selected << lines_->lines()[row.row()];
    QApplication::clipboard()->setText(selected.join(QLatin1Char('\n')));
}
