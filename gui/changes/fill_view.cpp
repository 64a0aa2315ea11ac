#include "fill_view.h"

#include "gui/changes/offer_table.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

FillView::FillView(QWidget* parent)
    : QDialog(parent)
    , title_(new QLabel(this))
    , table_(new QTableWidget(0, 4, this))
    , target_(new QComboBox(this))
    , summary_(new QLabel(this))
    , progress_(new QLabel(this))
    , copy_(new QPushButton(tr("Copy…"), this))
    , cancel_(new QPushButton(tr("Cancel Copying"), this))
{
    setWindowTitle(tr("Fill from Folder"));
    resize(960, 520);
    title_->setWordWrap(true);
    setUpOfferTable(table_, QStringLiteral("fillTable"), tr("Missing files found in the folder"),
                    {tr("Expected name"), tr("Source"), tr("Differences"), tr("Target folder")});
    target_->setObjectName(QStringLiteral("fillTarget"));
    target_->setAccessibleName(tr("The folder the copies go to"));
    summary_->setObjectName(QStringLiteral("fillSummary"));
    progress_->setObjectName(QStringLiteral("fillProgress"));
    copy_->setObjectName(QStringLiteral("fillCopy"));
    copy_->setAccessibleName(tr("Copy the ticked files"));
    cancel_->setObjectName(QStringLiteral("fillCancel"));
    cancel_->setAccessibleName(tr("Stop copying after the file being copied"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(copy_, QDialogButtonBox::ActionRole);
    buttons->addButton(cancel_, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(table_, 1);
    auto* target = new QFormLayout;
    target->addRow(tr("Copy into:"), target_);
    layout->addLayout(target);
    layout->addWidget(summary_);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
    showCopying(false);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(copy_, &QPushButton::clicked, this, &FillView::copyClicked);
    connect(target_, &QComboBox::activated, this, &FillView::targetChosen);
    connect(cancel_, &QPushButton::clicked, this, &FillView::cancelClicked);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 0)
            emit rowTicked(item->row(), item->checkState() == Qt::Checked);
    });
}

void FillView::showOffers(const QString& title, const std::vector<Row>& rows)
{
    filling_ = true;
    title_->setText(title);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Row& shown = rows[static_cast<size_t>(row)];
        auto* expected = new QTableWidgetItem(shown.expected);
        expected->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        expected->setCheckState(shown.ticked ? Qt::Checked : Qt::Unchecked);
        table_->setItem(row, 0, expected);
        table_->setItem(row, 1, new QTableWidgetItem(shown.source));
        table_->setItem(row, 2, new QTableWidgetItem(shown.differences));
        table_->setItem(row, 3, new QTableWidgetItem(shown.targetFolder));
    }
    filling_ = false;
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
    table_->setEnabled(!copying);
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
