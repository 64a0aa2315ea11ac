#include "fill_view.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

constexpr int kFolderRole = Qt::UserRole;  // an item's folder, relative to the Tokenade directory

}  // namespace

FillView::FillView(QWidget* parent)
    : OfferDialog(tr("Fill from Folder"), QStringLiteral("fillTable"), tr("Missing files found in the folder"),
                  {tr("Expected name"), tr("Source"), tr("Target folder"), tr("Differences")}, parent)
    , target_(new QTreeWidget(this))
    , summary_(new QLabel(this))
    , progress_(new QLabel(this))
    , copy_(new QPushButton(tr("Copy…"), this))
    , cancel_(new QPushButton(tr("Cancel Copying"), this))
{
    target_->setObjectName(QStringLiteral("fillTarget"));
    target_->setAccessibleName(tr("The folder the copies go to"));
    target_->setHeaderHidden(true);
    target_->setMaximumHeight(8 * fontMetrics().height());
    summary_->setObjectName(QStringLiteral("fillSummary"));
    progress_->setObjectName(QStringLiteral("fillProgress"));
    copy_->setObjectName(QStringLiteral("fillCopy"));
    copy_->setAccessibleName(tr("Copy the ticked files"));
    cancel_->setObjectName(QStringLiteral("fillCancel"));
    cancel_->setAccessibleName(tr("Stop copying after the file being copied"));

    auto* target = new QFormLayout;
    target->addRow(tr("Copy into:"), target_);
    addBelowTable(target);
    addBelowTable(summary_);
    addBelowTable(progress_);
    addButton(copy_);
    addButton(cancel_);
    showCopying(false);

    connect(copy_, &QPushButton::clicked, this, &FillView::copyClicked);
    // Only the user's picks: the tree is remade, and picked, without a word.
    connect(target_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            emit targetChosen(item->data(0, kFolderRole).toString());
    });
    connect(cancel_, &QPushButton::clicked, this, &FillView::cancelClicked);
}

void FillView::showOffers(const QString& title, const std::vector<Row>& rows)
{
    showRows(title, rows);
    showCopying(false);
}

void FillView::showTargets(const QStringList& folders, const QString& chosen)
{
    const QSignalBlocker quiet(target_);
    target_->clear();
    QHash<QString, QTreeWidgetItem*> items;
    // Byte order puts a folder before those below it.
    for (const QString& folder : folders) {
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        QTreeWidgetItem* parent = slash < 0 ? nullptr : items.value(folder.left(slash));
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(target_);
        item->setText(0, folder.mid(slash + 1));
        item->setData(0, kFolderRole, folder);
        items.insert(folder, item);
    }
    if (QTreeWidgetItem* item = items.value(chosen)) {
        for (QTreeWidgetItem* above = item->parent(); above; above = above->parent())
            above->setExpanded(true);
        target_->setCurrentItem(item);
    }
}

void FillView::showSummary(const QString& summary, bool canCopy)
{
    summary_->setText(summary);
    copy_->setEnabled(canCopy);
}

void FillView::showCopying(bool copying)
{
    table()->setEnabled(!copying);
    target_->setEnabled(!copying);
    copy_->setVisible(!copying);
    cancel_->setVisible(copying);
    cancel_->setEnabled(copying);
    progress_->setVisible(copying);
    if (!copying)
        progress_->clear();
}

void FillView::showProgress(const QString& text)
{
    progress_->setText(text);
}
