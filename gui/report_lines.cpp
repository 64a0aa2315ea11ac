#include "report_lines.h"

#include "core/results/report_text.h"
#include "gui/qt_strings.h"

#include <algorithm>
#include <ranges>

void ReportLines::showCategory(QStringList header, std::shared_ptr<const tokenade::AuditResult> result,
                               tokenade::CategoryId id)
{
    beginResetModel();
    header_ = std::move(header);
    result_ = std::move(result);
    names_ = nullptr;
    withFolders_ = false;
    for (const tokenade::ResultCategory& category : result_->categories) {
        if (category.facts->id == id) {
            names_ = &category.entries;
            withFolders_ = category.facts->foundSide;
        }
    }
    filtered_ = false;
    shown_.clear();
    firstShown_ = 0;
    endResetModel();
}

void ReportLines::setHoldings(std::shared_ptr<const tokenade::ContentHoldings> holdings)
{
    holdings_ = std::move(holdings);
    if (lineCount() > 0)
        emit dataChanged(index(0), index(lineCount() - 1), {FolderRole, Qt::AccessibleTextRole, Qt::ToolTipRole});
}

void ReportLines::showText(QStringList lines)
{
    beginResetModel();
    header_ = std::move(lines);
    result_.reset();
    names_ = nullptr;
    withFolders_ = false;
    filtered_ = false;
    shown_.clear();
    endResetModel();
}

void ReportLines::showOnly(QStringList header, std::span<const uint32_t> first, std::span<const uint32_t> then)
{
    beginResetModel();
    header_ = std::move(header);
    filtered_ = true;
    shown_.assign(first.begin(), first.end());
    shown_.insert(shown_.end(), then.begin(), then.end());
    firstShown_ = first.size();
    endResetModel();
}

void ReportLines::showAll(QStringList header)
{
    beginResetModel();
    header_ = std::move(header);
    filtered_ = false;
    shown_.clear();
    firstShown_ = 0;
    endResetModel();
}

void ReportLines::showMore(QStringList header, std::span<const uint32_t> first, std::span<const uint32_t> then)
{
    if (header.size() == header_.size()) {
        header_ = std::move(header);
        if (!header_.isEmpty())
            emit dataChanged(index(0), index(static_cast<int>(header_.size()) - 1), {Qt::DisplayRole});
    }
    if (!filtered_)
        return;
    if (first.size() > firstShown_) {
        const int row = static_cast<int>(header_.size() + firstShown_);
        beginInsertRows({}, row, row + static_cast<int>(first.size() - firstShown_) - 1);
        shown_.insert(shown_.begin() + static_cast<std::ptrdiff_t>(firstShown_),
                      first.begin() + static_cast<std::ptrdiff_t>(firstShown_), first.end());
        firstShown_ = first.size();
        endInsertRows();
    }
    const size_t thenShown = shown_.size() - firstShown_;
    if (then.size() > thenShown) {
        const int row = lineCount();
        beginInsertRows({}, row, row + static_cast<int>(then.size() - thenShown) - 1);
        shown_.insert(shown_.end(), then.begin() + static_cast<std::ptrdiff_t>(thenShown), then.end());
        endInsertRows();
    }
}

size_t ReportLines::namesShown() const
{
    return filtered_ ? shown_.size() : names_ ? names_->size() : 0;
}

int ReportLines::lineCount() const
{
    return static_cast<int>(static_cast<size_t>(header_.size()) + namesShown());
}

const tokenade::ResultEntry* ReportLines::entryAt(int row) const
{
    if (!names_ || row < header_.size() || row >= lineCount())
        return nullptr;
    const size_t at = static_cast<size_t>(row - header_.size());
    const size_t position = filtered_ ? shown_[at] : at;
    return position < names_->size() ? &(*names_)[position] : nullptr;
}

QString ReportLines::line(int row) const
{
    if (row < header_.size())
        return header_[row];
    const tokenade::ResultEntry* entry = entryAt(row);
    return entry ? toQString(tokenade::displayName(entry->name())) : QString();
}

QString ReportLines::folder(int row) const
{
    const tokenade::ResultEntry* entry = entryAt(row);
    if (!entry || !withFolders_)
        return {};
    const QString folder = toQString(tokenade::displayName(result_->folderOf(*entry)));
    const QString holds = holding(row);
    return holds.isEmpty() ? folder : folder + QStringLiteral(" \u2014 ") + holds;
}

// Entries are keys only of the result the holdings were made for: another
// result's entry may sit at the same address.
QString ReportLines::holding(int row) const
{
    if (!holdings_ || holdings_->result != result_)
        return {};
    const auto words = holdings_->words.find(entryAt(row));
    return words != holdings_->words.end() ? toQString(tokenade::displayName(words->second)) : QString();
}

QString ReportLines::detail(int row) const
{
    if (!holdings_ || holdings_->result != result_)
        return {};
    const auto detail = holdings_->details.find(entryAt(row));
    if (detail == holdings_->details.end())
        return {};
    // Each line as a name is shown: a DAT's or an entry's name cannot break the tooltip's lines.
    QStringList lines;
    for (const auto line : std::views::split(std::string_view(detail->second), '\n'))
        lines << toQString(tokenade::displayName(std::string_view(line.begin(), line.end())));
    return lines.join(QLatin1Char('\n'));
}

QString ReportLines::cutLine(int row) const
{
    const tokenade::ResultEntry* entry = withFolders_ ? nullptr : entryAt(row);
    if (!entry)
        return {};
    const auto line = result_->cutLines.find(entry);
    return line != result_->cutLines.end() ? toQString(tokenade::displayName(line->second)) : QString();
}

QString ReportLines::longestHeaderLine() const
{
    QString longest;
    for (const QString& line : header_)
        longest = line.size() > longest.size() ? line : longest;
    return longest;
}

namespace {

// Characters, not bytes: an accent takes two bytes and a kana three, yet
// each is one character on the screen.
size_t characterCount(std::string_view name)
{
    return static_cast<size_t>(std::count_if(name.begin(), name.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

// The `count` entries of `names` that come first by `size`, largest first.
template <typename Size>
std::vector<const tokenade::ResultEntry*> largest(const tokenade::ResultList& names, size_t count, Size size)
{
    std::vector<const tokenade::ResultEntry*> entries;
    for (const tokenade::ResultEntry& entry : names)
        entries.push_back(&entry);
    count = std::min(count, entries.size());
    std::partial_sort(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(count), entries.end(),
                      [&](const auto* a, const auto* b) { return size(*a) > size(*b); });
    entries.resize(count);
    return entries;
}

}  // namespace

QStringList ReportLines::longestNames() const
{
    constexpr size_t kEach = 8;
    QStringList names;
    if (!names_)
        return names;
    for (const auto* entry : largest(*names_, kEach, [](const auto& e) { return e.size; }))
        names << toQString(tokenade::displayName(entry->name()));
    for (const auto* entry : largest(*names_, kEach, [](const auto& e) { return characterCount(e.name()); }))
        names << toQString(tokenade::displayName(entry->name()));
    return names;
}

QString ReportLines::longestFolder() const
{
    std::string_view longest;
    if (withFolders_) {
        for (const std::string& folder : result_->folders)
            longest = folder.size() > longest.size() ? std::string_view(folder) : longest;
    } else if (names_) {
        for (const auto& [entry, line] : result_->cutLines)
            longest = line.size() > longest.size() ? std::string_view(line) : longest;
    }
    std::string_view holds;
    if (withFolders_ && holdings_ && holdings_->result == result_) {
        for (const auto& [entry, words] : holdings_->words)
            holds = words.size() > holds.size() ? std::string_view(words) : holds;
    }
    const QString folder = toQString(tokenade::displayName(longest));
    return holds.empty() ? folder : folder + QStringLiteral(" \u2014 ") + toQString(tokenade::displayName(holds));
}

void ReportLines::setRowSize(QSize size, int nameWidth)
{
    rowSize_ = size;
    nameWidth_ = nameWidth;
    if (lineCount() > 0)
        emit dataChanged(index(0), index(lineCount() - 1), {Qt::SizeHintRole});
}

int ReportLines::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : lineCount();
}

QVariant ReportLines::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lineCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return line(index.row());
    case FolderRole: {
        const QString folder = this->folder(index.row());
        return folder.isEmpty() ? cutLine(index.row()) : folder;
    }
    case Qt::AccessibleTextRole: {
        const QString folder = this->folder(index.row());
        const QString cut = folder.isEmpty() ? cutLine(index.row()) : QString();
        return !folder.isEmpty() ? line(index.row()) + QStringLiteral(", in ") + folder
               : !cut.isEmpty()  ? line(index.row()) + QStringLiteral(", for the list line ") + cut
                                 : line(index.row());
    }
    case Qt::ToolTipRole:
        return detail(index.row());
    case Qt::SizeHintRole:
        return rowSize_;
    default:
        return {};
    }
}
