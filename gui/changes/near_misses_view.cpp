#include "near_misses_view.h"

#include "gui/changes/offer_table.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

NearMissesView::NearMissesView(QWidget* parent)
    : QDialog(parent)
    , title_(new QLabel(this))
    , table_(new QTableWidget(0, 4, this))
    , notRenamed_(new QTextBrowser(this))
    , rename_(new QPushButton(tr("Rename…"), this))
{
    setWindowTitle(tr("Near Misses"));
    resize(900, 520);
    title_->setWordWrap(true);
    setUpOfferTable(table_, QStringLiteral("nearMissesTable"), tr("Files there under another name"),
                    {tr("Expected name"), tr("File found"), tr("Folder"), tr("Differences")});
    notRenamed_->setObjectName(QStringLiteral("nearMissesNotRenamed"));
    notRenamed_->setAccessibleName(tr("Names listed but never renamed"));
    notRenamed_->setMaximumHeight(160);
    rename_->setObjectName(QStringLiteral("nearMissesRename"));
    rename_->setAccessibleName(tr("Rename the ticked files"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(rename_, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(table_, 1);
    layout->addWidget(notRenamed_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(rename_, &QPushButton::clicked, this, &NearMissesView::renameClicked);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 0)
            emit rowTicked(item->row(), item->checkState() == Qt::Checked);
    });
}

void NearMissesView::showNearMisses(const QString& title, const std::vector<Row>& rows, const QStringList& notRenamed)
{
    filling_ = true;
    title_->setText(title);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Row& shown = rows[static_cast<size_t>(row)];
        auto* expected = new QTableWidgetItem(shown.expected);
        expected->setFlags(shown.tickable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                                          : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        expected->setCheckState(shown.ticked ? Qt::Checked : Qt::Unchecked);
        table_->setItem(row, 0, expected);
        table_->setItem(row, 1, new QTableWidgetItem(shown.found));
        table_->setItem(row, 2, new QTableWidgetItem(shown.folder));
        table_->setItem(row, 3, new QTableWidgetItem(shown.differences));
    }
    notRenamed_->setPlainText(notRenamed.join(QStringLiteral("\n\n")));
    notRenamed_->setVisible(!notRenamed.isEmpty());
    filling_ = false;
}

void NearMissesView::showTicks(const std::vector<bool>& ticks)
{
    filling_ = true;
    for (int row = 0; row < table_->rowCount() && static_cast<size_t>(row) < ticks.size(); ++row)
        table_->item(row, 0)->setCheckState(ticks[static_cast<size_t>(row)] ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
}

void NearMissesView::setRenameEnabled(bool enabled)
{
    rename_->setEnabled(enabled);
}
