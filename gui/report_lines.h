#pragma once

#include "core/results/audit_result.h"
#include "core/session/content_holdings.h"

#include <QAbstractListModel>
#include <QSize>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The lines of a report as a list model: a few header lines, then the names
// of one category of a result (all of them, or those at the positions a
// filter gave), every line of one row size (the widest line's), so that a
// view never measures rows one by one. A name is read only when its row is
// asked for, so a category of a million names shows at once.
//
// The model keeps the result it shows alive: it holds a snapshot that nobody
// changes, and drops it only when it shows something else.
class ReportLines : public QAbstractListModel {
public:
    // What shows greyed beside a name: a found file's folder (with what an
    // unknown archive holds, once known), or the whole list line of a
    // missing name that a period in it cut short; "" for others.
    static constexpr int FolderRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // `header`, then every name of the category `id` of `result`, each found
    // file with its folder, each cut missing name with its list line.
    void showCategory(QStringList header, std::shared_ptr<const tokenade::AuditResult> result,
                      tokenade::CategoryId id);
    // What unknown archives hold, for the result whose entries it names;
    // kept across showCategory, used only while that result is shown.
    void setHoldings(std::shared_ptr<const tokenade::ContentHoldings> holdings);
    // Lines of text and no names.
    void showText(QStringList lines);
    // A new header, then only the names of the category shown at the
    // positions `first` and then those at `then` (each ascending), or all of
    // them.
    void showOnly(QStringList header, std::span<const uint32_t> first, std::span<const uint32_t> then);
    void showAll(QStringList header);
    // `first` and `then` each begin with the positions of theirs shown and
    // may go on: the rest of each is added below its own. A header of as
    // many lines as before replaces it.
    void showMore(QStringList header, std::span<const uint32_t> first, std::span<const uint32_t> then);

    int lineCount() const;
    QString line(int row) const;
    // The name a line shows; nothing for a header line. It lives as long as
    // the model shows its result.
    const tokenade::ResultEntry* entryAt(int row) const;
    bool hasFolders() const { return withFolders_; }

    // The line with the most bytes stands for the widest: measuring every
    // line would cost more than showing them. For names, where accents and
    // kana make bytes a poor guide, a few of the longest by bytes and by
    // characters, for the view to measure.
    QString longestHeaderLine() const;
    QStringList longestNames() const;
    QString longestFolder() const;

    void setRowSize(QSize size, int nameWidth);
    int nameWidth() const { return nameWidth_; }

    int rowCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    size_t namesShown() const;
    QString folder(int row) const;
    QString cutLine(int row) const;
    QString holding(int row) const;
    QString detail(int row) const;  // the tooltip: an archive's set rom by rom

    QStringList header_;
    std::shared_ptr<const tokenade::AuditResult> result_;
    const tokenade::ResultList* names_ = nullptr;  // a list of result_, or none
    std::shared_ptr<const tokenade::ContentHoldings> holdings_;
    bool withFolders_ = false;
    bool filtered_ = false;
    std::vector<uint32_t> shown_;  // when filtered_: the positions in names_ shown, those of `first` first
    size_t firstShown_ = 0;
    QSize rowSize_;
    int nameWidth_ = 0;
};
