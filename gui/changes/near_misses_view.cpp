#include "near_misses_view.h"

#include <QPushButton>
#include <QTextBrowser>

NearMissesView::NearMissesView(QWidget* parent)
    : OfferDialog(tr("Near Misses"), QStringLiteral("nearMissesTable"), tr("Files there under another name"),
                  {tr("Expected name"), tr("File found"), tr("Folder"), tr("Differences")}, parent)
    , notRenamed_(new QTextBrowser(this))
    , rename_(new QPushButton(tr("Rename…"), this))
{
    notRenamed_->setObjectName(QStringLiteral("nearMissesNotRenamed"));
    notRenamed_->setAccessibleName(tr("Names listed but never renamed"));
    notRenamed_->setMaximumHeight(160);
    rename_->setObjectName(QStringLiteral("nearMissesRename"));
    rename_->setAccessibleName(tr("Rename the ticked files"));
    addBelowTable(notRenamed_);
    addButton(rename_);
    connect(rename_, &QPushButton::clicked, this, &NearMissesView::renameClicked);
}

void NearMissesView::showNearMisses(const QString& title, const std::vector<Row>& rows, const QStringList& notRenamed)
{
    showRows(title, rows);
    notRenamed_->setPlainText(notRenamed.join(QStringLiteral("\n\n")));
    notRenamed_->setVisible(!notRenamed.isEmpty());
}

void NearMissesView::setRenameEnabled(bool enabled)
{
    rename_->setEnabled(enabled);
}
