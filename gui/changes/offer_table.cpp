#include "offer_table.h"

#include <QHeaderView>
#include <QTableWidget>

void setUpOfferTable(QTableWidget* table, const QString& objectName, const QString& accessibleName,
                     const QStringList& headers)
{
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
}
