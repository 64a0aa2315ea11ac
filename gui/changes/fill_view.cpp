#include "fill_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

FillView::FillView(QWidget* parent)
    : OfferDialog(tr("Fill from Folder"), QStringLiteral("fillTable"), tr("Missing files found in the folder"),
                  {tr("Expected name"), tr("Source"), tr("Differences"), tr("Target folder")}, parent)
    , target_(new QComboBox(this))
    , summary_(new QLabel(this))
    , progress_(new QLabel(this))
    , copy_(new QPushButton(tr("Copy…"), this))
    , cancel_(new QPushButton(tr("Cancel Copying"), this))
{
    resize(960, 520);
    target_->setObjectName(QStringLiteral("fillTarget"));
    target_->setAccessibleName(tr("The folder the copies go to"));
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
    connect(target_, &QComboBox::activated, this, &FillView::targetChosen);
    connect(cancel_, &QPushButton::clicked, this, &FillView::cancelClicked);
}

void FillView::showOffers(const QString& title, const std::vector<Row>& rows)
{
    showRows(title, rows);
    showCopying(false);
}

void FillView::showTargets(const QStringList& folders, int chosen)
{
    target_->clear();
    target_->addItems(folders);
    target_->setCurrentIndex(chosen);
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
