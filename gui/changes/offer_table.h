#pragma once

#include <QString>
#include <QStringList>

class QTableWidget;

// A table of offered changes, a row each with a check box in its first
// column: read-only cells, whole rows selected, columns as wide as their
// contents and the last one the rest.
void setUpOfferTable(QTableWidget* table, const QString& objectName, const QString& accessibleName,
                     const QStringList& headers);
