#pragma once

#include <QSize>
#include <QString>

class QWidget;
class ReportView;

// The size the main window opens at when it has none of its own yet: tall
// enough for `lines` rows of `view` under the window's other rows, wide
// enough for a long name with its folder beside it, and never larger than
// the free area of its screen, where a smaller screen gets fewer rows.
QSize openingSize(const QWidget& window, const ReportView& view, int lines);

// The window's size and place as the preferences keep them (text), and back:
// false when `kept` is not such a text, leaving the window as it was. A
// place on a screen that has gone is moved onto one that is there.
QString windowPlace(const QWidget& window);
bool restoreWindowPlace(QWidget& window, const QString& kept);
