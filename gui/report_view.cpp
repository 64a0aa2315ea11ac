#include "report_view.h"

#include "gui/folder_column.h"
#include "gui/qt_strings.h"
#include "gui/report_lines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace {

QStringList headerLines(const QString& header, bool namesFollow)
{
    QStringList lines = header.split(QLatin1Char('\n'));
    if (namesFollow)
        lines.removeLast();  // the names begin where the header's last line break leaves off
    return lines;
}

// Relative luminance of a colour, 0 for black to 1 for white.
double luminance(const QColor& colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

}  // namespace

ReportView::ReportView(QWidget* parent)
    : QListView(parent)
    , lines_(new ReportLines(this))
{
    setModel(lines_);
    setItemDelegate(new FolderColumn(*lines_, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    copy_ = addCommand(tr("Copy"), {QKeySequence::Copy}, "copyNames");
    copyFullPath_ = addCommand(tr("Copy Full Path"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, "copyFullPath");
    openFolder_ = addCommand(tr("Open Containing Folder"), {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                             "openContainingFolder");
    setAside_ = addCommand(tr("Set Aside…"), {}, "setAside");
    setAside_->setEnabled(false);
    connect(copy_, &QAction::triggered, this, &ReportView::copySelection);
}

void ReportView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListView::selectionChanged(selected, deselected);
    emit namesSelected();
}

QAction* ReportView::addCommand(const QString& text, const QList<QKeySequence>& keys, const char* name)
{
    auto* command = new QAction(text, this);
    command->setObjectName(toQString(name));
    command->setShortcuts(keys);
    command->setShortcutContext(Qt::WidgetShortcut);
    addAction(command);
    return command;
}

void ReportView::showReport(const QString& header, std::shared_ptr<const tokenade::AuditResult> result,
                            tokenade::CategoryId id)
{
    const bool namesFollow = !result->list(id).empty();
    lines_->showCategory(headerLines(header, namesFollow), std::move(result), id);
    shown_ = id;
    copyFullPath_->setEnabled(lines_->hasFolders());
    openFolder_->setEnabled(lines_->hasFolders());
    measureNames();
    fitRowsToText();
}

void ReportView::showHoldings(std::shared_ptr<const tokenade::ContentHoldings> holdings)
{
    lines_->setHoldings(std::move(holdings));
    measureNames();
    viewport()->update();
}

void ReportView::showText(const QString& text)
{
    lines_->showText(text.split(QLatin1Char('\n')));
    shown_.reset();
    copyFullPath_->setEnabled(false);
    openFolder_->setEnabled(false);
    measureNames();
    fitRowsToText();
}

void ReportView::showOnly(const QString& header, std::span<const uint32_t> first, std::span<const uint32_t> then)
{
    lines_->showOnly(headerLines(header, true), first, then);
    fitRowsToText();
}

void ReportView::showAll(const QString& header)
{
    lines_->showAll(headerLines(header, true));
    fitRowsToText();
}

void ReportView::showMore(const QString& header, std::span<const uint32_t> first, std::span<const uint32_t> then)
{
    lines_->showMore(headerLines(header, true), first, then);
    fitRowsToText();
}

std::vector<const tokenade::ResultEntry*> ReportView::selectedNames() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<const tokenade::ResultEntry*> names;
    for (const QModelIndex& row : rows) {
        if (const tokenade::ResultEntry* entry = lines_->entryAt(row.row()))
            names.push_back(entry);
    }
    return names;
}

const tokenade::ResultEntry* ReportView::currentName() const
{
    return currentIndex().isValid() ? lines_->entryAt(currentIndex().row()) : nullptr;
}

void ReportView::setBackground(const QColor& background)
{
    QPalette colours = palette();
    const QColor text = luminance(background) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, background);
        colours.setColor(group, QPalette::Window, background);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::WindowText, text);
    }
    // Disabled text stays apart from the enabled, but as readable.
    colours.setColor(QPalette::Disabled, QPalette::Base, background);
    colours.setColor(QPalette::Disabled, QPalette::Text, text == Qt::black ? QColor(80, 80, 80) : QColor(190, 190, 190));
    setPalette(colours);
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

// Once per list: the widest name and folder, which set the two columns.
void ReportView::measureNames()
{
    const QFontMetrics metrics(font());
    nameWidth_ = 0;
    for (const QString& name : lines_->longestNames())
        nameWidth_ = std::max(nameWidth_, metrics.horizontalAdvance(name) + 2 * metrics.averageCharWidth());
    const QString folder = lines_->longestFolder();
    folderWidth_ = folder.isEmpty() ? 0 : metrics.horizontalAdvance(folder) + metrics.averageCharWidth();
}

// The header may change with every slice of a filter: only its lines are measured again.
void ReportView::fitRowsToText()
{
    const QFontMetrics metrics(font());
    const QString header = lines_->longestHeaderLine();
    const int headerWidth = header.isEmpty() ? 0 : metrics.horizontalAdvance(header) + 2 * metrics.averageCharWidth();
    const int width = std::max(headerWidth, nameWidth_ + folderWidth_);
    if (width != rowSize_.width() || rowHeight() != rowSize_.height() || nameWidth_ != lines_->nameWidth()) {
        rowSize_ = QSize(width, rowHeight());
        lines_->setRowSize(rowSize_, nameWidth_);
    }
}

void ReportView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureNames();
        fitRowsToText();
    }
}

void ReportView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy_->trigger();
        return;
    }
    QListView::keyPressEvent(event);
}

// The names of the selected lines, one a line; header lines only when
// nothing but header lines is selected.
void ReportView::copySelection() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList names;
    QStringList header;
    for (const QModelIndex& row : rows)
        (lines_->entryAt(row.row()) ? names : header) << lines_->line(row.row());
    QApplication::clipboard()->setText((names.isEmpty() ? header : names).join(QLatin1Char('\n')));
}
