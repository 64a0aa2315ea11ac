#include "report_view.h"

#include "core/results/report_text.h"

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// The lines of a report: header lines, then the names of a result list (all,
// or those at the positions a filter gave), all of one row size (the widest
// line's), so that the view never measures rows one by one.
class ReportLines : public QAbstractListModel {
public:
    static constexpr int FolderRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    void setLines(QStringList header, const tokenade::ResultList* names, const tokenade::AuditResult* folders)
    {
        beginResetModel();
        header_ = std::move(header);
        names_ = names;
        folders_ = folders;
        shown_ = nullptr;
        shownCount_ = names ? names->size() : 0;
        endResetModel();
    }

    void setShown(QStringList header, const std::vector<uint32_t>* shown)
    {
        beginResetModel();
        header_ = std::move(header);
        shown_ = shown;
        shownCount_ = shown ? shown->size() : names_ ? names_->size() : 0;
        endResetModel();
    }

    void showMore(QStringList header)
    {
        if (header.size() == header_.size()) {
            header_ = std::move(header);
            if (!header_.isEmpty())
                emit dataChanged(index(0), index(static_cast<int>(header_.size()) - 1), {Qt::DisplayRole});
        }
        const size_t now = shown_ ? shown_->size() : shownCount_;
        if (now > shownCount_) {
            const int first = lineCount();
            beginInsertRows({}, first, first + static_cast<int>(now - shownCount_) - 1);
            shownCount_ = now;
            endInsertRows();
        }
    }

    int lineCount() const { return static_cast<int>(header_.size() + shownCount_); }

    // The name a line shows; nothing for a header line.
    const tokenade::ResultEntry* entryAt(int row) const
    {
        if (!names_ || row < header_.size() || row >= lineCount())
            return nullptr;
        const size_t at = static_cast<size_t>(row - header_.size());
        const size_t position = shown_ ? (*shown_)[at] : at;
        return position < names_->size() ? &(*names_)[position] : nullptr;
    }

    QString line(int row) const
    {
        if (row < header_.size())
            return header_[row];
        const tokenade::ResultEntry* entry = entryAt(row);
        return entry ? fromUtf8(tokenade::displayName(entry->name())) : QString();
    }

    QString folder(int row) const
    {
        const tokenade::ResultEntry* entry = entryAt(row);
        return entry && folders_ ? fromUtf8(tokenade::displayName(folders_->folderOf(*entry))) : QString();
    }

    // The line with the most bytes stands for the widest: measuring every
    // line would cost more than showing them.
    QString longestHeaderLine() const
    {
        QString longest;
        for (const QString& line : header_)
            longest = line.size() > longest.size() ? line : longest;
        return longest;
    }

    QString longestName() const
    {
        if (!names_ || names_->empty())
            return {};
        const auto widest = std::max_element(names_->begin(), names_->end(),
                                             [](const auto& a, const auto& b) { return a.size < b.size; });
        return fromUtf8(tokenade::displayName(widest->name()));
    }

    QString longestFolder() const
    {
        std::string_view longest;
        if (folders_) {
            for (const std::string& folder : folders_->folders)
                longest = folder.size() > longest.size() ? std::string_view(folder) : longest;
        }
        return fromUtf8(tokenade::displayName(longest));
    }

    void setRowSize(QSize size, int nameWidth)
    {
        rowSize_ = size;
        nameWidth_ = nameWidth;
        if (lineCount() > 0)
            emit dataChanged(index(0), index(lineCount() - 1), {Qt::SizeHintRole});
    }
    int nameWidth() const { return nameWidth_; }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : lineCount(); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= lineCount())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return line(index.row());
        case FolderRole:
            return folder(index.row());
        case Qt::AccessibleTextRole: {
            const QString folder = this->folder(index.row());
            return folder.isEmpty() ? line(index.row()) : line(index.row()) + QStringLiteral(", in ") + folder;
        }
        case Qt::SizeHintRole:
            return rowSize_;
        default:
            return {};
        }
    }

private:
    QStringList header_;
    const tokenade::ResultList* names_ = nullptr;
    const tokenade::AuditResult* folders_ = nullptr;
    const std::vector<uint32_t>* shown_ = nullptr;
    size_t shownCount_ = 0;
    QSize rowSize_;
    int nameWidth_ = 0;
};

namespace {

// Draws a line's name, then its folder in a second column, in a colour
// halfway between the text and the background so that it reads as secondary.
class FolderColumn : public QStyledItemDelegate {
public:
    FolderColumn(const ReportLines& lines, QObject* parent) : QStyledItemDelegate(parent), lines_(lines) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
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

private:
    const ReportLines& lines_;
};

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
    connect(copy_, &QAction::triggered, this, &ReportView::copySelection);
}

QAction* ReportView::addCommand(const QString& text, const QList<QKeySequence>& keys, const char* name)
{
    auto* command = new QAction(text, this);
    command->setObjectName(QString::fromLatin1(name));
    command->setShortcuts(keys);
    command->setShortcutContext(Qt::WidgetShortcut);
    addAction(command);
    return command;
}

void ReportView::showReport(const QString& header, const tokenade::ResultList* names,
                            const tokenade::AuditResult* folders)
{
    lines_->setLines(headerLines(header, names && !names->empty()), names, folders);
    copyFullPath_->setEnabled(folders != nullptr);
    openFolder_->setEnabled(folders != nullptr);
    measureNames();
    fitRowsToText();
}

void ReportView::showText(const QString& text)
{
    lines_->setLines(text.split(QLatin1Char('\n')), nullptr, nullptr);
    copyFullPath_->setEnabled(false);
    openFolder_->setEnabled(false);
    measureNames();
    fitRowsToText();
}

void ReportView::showOnly(const QString& header, const std::vector<uint32_t>* shown)
{
    lines_->setShown(headerLines(header, true), shown);
    fitRowsToText();
}

void ReportView::showMore(const QString& header)
{
    lines_->showMore(headerLines(header, true));
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
    const QString name = lines_->longestName();
    nameWidth_ = name.isEmpty() ? 0 : metrics.horizontalAdvance(name) + 2 * metrics.averageCharWidth();
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
    if (width != rowSize_.width() || metrics.height() + 2 != rowSize_.height() || nameWidth_ != lines_->nameWidth()) {
        rowSize_ = QSize(width, metrics.height() + 2);
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
