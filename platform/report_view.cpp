#include "report_view.h"

#include "results/report_text.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>

// The lines of a report: header lines, then the names of a result list, all
// of one row size (the widest line's), so that the view never measures rows
// one by one.
class ReportLines : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(QStringList header, const tokenade::ResultList* names)
    {
        beginResetModel();
        header_ = std::move(header);
        names_ = names;
        endResetModel();
    }

    int lineCount() const { return static_cast<int>(header_.size() + (names_ ? names_->size() : 0)); }

    QString line(int row) const
    {
        if (row < header_.size())
            return header_[row];
        const std::string shown = tokenade::displayName((*names_)[static_cast<size_t>(row - header_.size())].name());
        return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    }

    // The line with the most bytes stands for the widest: measuring every
    // line would cost more than showing them.
    QString longestLine() const
    {
        QString longest;
        for (const QString& line : header_)
            longest = line.size() > longest.size() ? line : longest;
        if (names_ && !names_->empty()) {
            const auto widest = std::max_element(names_->begin(), names_->end(),
                                                 [](const auto& a, const auto& b) { return a.size < b.size; });
            const QString name = line(static_cast<int>(header_.size() + (widest - names_->begin())));
            longest = name.size() > longest.size() ? name : longest;
        }
        return longest;
    }

    void setRowSize(QSize size)
    {
        rowSize_ = size;
        if (lineCount() > 0)
            emit dataChanged(index(0), index(lineCount() - 1), {Qt::SizeHintRole});
    }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : lineCount(); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= lineCount())
            return {};
        if (role == Qt::DisplayRole)
            return line(index.row());
        if (role == Qt::SizeHintRole)
            return rowSize_;
        return {};
    }

private:
    QStringList header_;
    const tokenade::ResultList* names_ = nullptr;
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

void ReportView::showReport(const QString& header, const tokenade::ResultList* names)
{
    QStringList headerLines = header.split(QLatin1Char('\n'));
    if (names && !names->empty())
        headerLines.removeLast();  // the names begin where the header's last line break leaves off
    lines_->setLines(std::move(headerLines), names);
    fitRowsToText();
}

void ReportView::showText(const QString& text)
{
    lines_->setLines(text.split(QLatin1Char('\n')), nullptr);
    fitRowsToText();
}

QString ReportView::toPlainText() const
{
    QStringList all;
    for (int row = 0; row < lines_->lineCount(); ++row)
        all << lines_->line(row);
    return all.join(QLatin1Char('\n'));
}

int ReportView::lineCount() const
{
    return lines_->lineCount();
}

void ReportView::fitRowsToText()
{
    const QFontMetrics metrics(font());
    const QString longest = lines_->longestLine();
    const int width = longest.isEmpty() ? 0 : metrics.horizontalAdvance(longest) + 2 * metrics.averageCharWidth();
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
        selected << lines_->line(row.row());
    QApplication::clipboard()->setText(selected.join(QLatin1Char('\n')));
}
