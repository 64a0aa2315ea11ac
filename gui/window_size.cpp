#include "window_size.h"

#include "gui/report_view.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// A name of a real collection runs to about 60 characters, its folder to
// about 30: this many average characters hold both without a scroll.
constexpr int kNameAndFolderCharacters = 110;
// The window manager's frame, unknown until the window is shown.
constexpr QSize kFrameAllowance(16, 48);

}  // namespace

QSize openingSize(const QWidget& window, const ReportView& view, int lines)
{
    // The rows around the result view are what the window asks beyond the view's own wish.
    const int around = window.sizeHint().height() - view.sizeHint().height();
    // One row more for a horizontal scroll bar, should a name be wider still.
    const int height = around + (lines + 1) * view.rowHeight() + 2 * view.frameWidth();
    const int width = kNameAndFolderCharacters * view.fontMetrics().averageCharWidth();
    const QSize free = window.screen()->availableGeometry().size() - kFrameAllowance;
    return QSize(std::min(width, free.width()), std::min(height, free.height()))
        .expandedTo(window.minimumSizeHint());
}

QString windowPlace(const QWidget& window)
{
    return QString::fromLatin1(window.saveGeometry().toBase64());
}

bool restoreWindowPlace(QWidget& window, const QString& kept)
{
    const QByteArray geometry = QByteArray::fromBase64(kept.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}
