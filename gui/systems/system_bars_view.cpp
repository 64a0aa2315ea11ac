#include "system_bars_view.h"

#include "core/foundation/grouped_count.h"
#include "gui/qt_strings.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QToolTip>

#include <cmath>

using tokenade::SystemCount;

namespace {

constexpr int kPreferredWidth = 340;

}  // namespace

SystemBarsView::SystemBarsView(QWidget* parent)
    : QWidget(parent)
    , exportPng_(new QAction(tr("Export as PNG…"), this))
    , exportSvg_(new QAction(tr("Export as SVG…"), this))
{
    exportPng_->setObjectName(QStringLiteral("exportSystemsPng"));
    exportSvg_->setObjectName(QStringLiteral("exportSystemsSvg"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setAccessibleName(tr("Completeness by system"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    showMessage(tr("Audit the ROMs to see how complete each system is."));
}

void SystemBarsView::showTable(tokenade::SystemSummary table)
{
    table_ = std::move(table);
    message_.clear();
    current_.reset();
    layOut();
}

void SystemBarsView::showMessage(const QString& message)
{
    table_ = {};
    message_ = message;
    current_.reset();
    layOut();
}

void SystemBarsView::layOut()
{
    layout_ = layOutBars(table_, QFontMetricsF(font()), width());
    if (current_ && *current_ >= layout_.parts.size())
        current_.reset();
    // A scroll area that makes its widget fit takes the rows' height from here.
    setMinimumHeight(heightForWidth(width()));
    updateGeometry();
    update();
}

QSize SystemBarsView::sizeHint() const
{
    return {kPreferredWidth, heightForWidth(kPreferredWidth)};
}

QSize SystemBarsView::minimumSizeHint() const
{
    return {kPreferredWidth / 2, fontMetrics().height() * 3};
}

int SystemBarsView::heightForWidth(int width) const
{
    if (!message_.isEmpty())
        return fontMetrics().height() * 3;
    return static_cast<int>(std::ceil(layOutBars(table_, QFontMetricsF(font()), width).height));
}

void SystemBarsView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout_ = layOutBars(table_, QFontMetricsF(font()), width());
    if (const int height = heightForWidth(width()); height != minimumHeight())
        setMinimumHeight(height);  // a legend that wraps anew
}

void SystemBarsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBars(painter);
    if (hasFocus() && current_) {
        // A ring in the text's colour around the current part, outside it so its number stays readable.
        painter.setPen(QPen(palette().color(QPalette::Text), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(layout_.parts[*current_].rect.adjusted(-2, -2, 2, 2));
    }
}

void SystemBarsView::paintBars(QPainter& painter) const
{
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor text = palette().color(QPalette::Text);
    painter.setFont(font());
    if (!message_.isEmpty()) {
        painter.setPen(text);
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message_);
        return;
    }
    for (const BarsLayout::LegendEntry& entry : layout_.legend) {
        painter.fillRect(entry.swatch, partColour(entry.count));
        painter.setPen(text);
        painter.drawText(entry.textAt, countName(entry.count));
    }
    painter.setPen(text);
    for (const BarsLayout::Title& title : layout_.titles)
        painter.drawText(title.rect, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(rowHeading(table_.systems[title.row]), Qt::ElideMiddle,
                                                  int(title.rect.width())));
    // An empty bar is an outline in the palette's mid tone.
    painter.setPen(palette().color(QPalette::Mid));
    for (const QRectF& bar : layout_.bars)
        painter.drawRect(bar.adjusted(0.5, 0.5, -0.5, -0.5));
    for (const BarPart& part : layout_.parts) {
        const QColor colour = partColour(part.count);
        painter.fillRect(part.rect, colour);
        const QString number = toQString(tokenade::groupedCount(part.value));
        if (fontMetrics().horizontalAdvance(number) + 6 > part.rect.width())
            continue;  // the tooltip tells it
        painter.setPen(numberColourOn(colour));
        painter.drawText(part.rect, Qt::AlignCenter, number);
    }
}

std::optional<size_t> SystemBarsView::partAt(const QPointF& point) const
{
    for (size_t i = 0; i < layout_.parts.size(); ++i) {
        if (layout_.parts[i].rect.contains(point))
            return i;
    }
    return std::nullopt;
}

void SystemBarsView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<size_t> part = event->button() == Qt::LeftButton ? partAt(event->position()) : std::nullopt;
    if (!part)
        return QWidget::mousePressEvent(event);
    moveCurrent(part);
    emit partActivated(layout_.parts[*part].row, layout_.parts[*part].count);
}

// In the row above (`step` -1) or below (+1) the part `at`, the part under it.
std::optional<size_t> SystemBarsView::rowBeside(size_t at, int step) const
{
    const BarPart& from = layout_.parts[at];
    for (size_t i = at; step < 0 ? i-- > 0 : ++i < layout_.parts.size();) {
        if (layout_.parts[i].row != from.row)
            return partInRow(layout_.parts[i].row, from.rect.left());
    }
    return std::nullopt;
}

// The first part of `row` that reaches `x`, or its last one.
std::optional<size_t> SystemBarsView::partInRow(size_t row, qreal x) const
{
    std::optional<size_t> found;
    for (size_t i = 0; i < layout_.parts.size(); ++i) {
        if (layout_.parts[i].row != row)
            continue;
        found = i;
        if (layout_.parts[i].rect.right() >= x)
            break;
    }
    return found;
}

void SystemBarsView::keyPressEvent(QKeyEvent* event)
{
    const size_t parts = layout_.parts.size();
    if (parts == 0)
        return QWidget::keyPressEvent(event);
    const size_t at = current_.value_or(0);
    switch (event->key()) {
    case Qt::Key_Left: moveCurrent(current_ ? (at == 0 ? 0 : at - 1) : 0); return;
    case Qt::Key_Right: moveCurrent(current_ ? std::min(at + 1, parts - 1) : 0); return;
    case Qt::Key_Up: moveCurrent(current_ ? rowBeside(at, -1).value_or(at) : 0); return;
    case Qt::Key_Down: moveCurrent(current_ ? rowBeside(at, +1).value_or(at) : 0); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        moveCurrent(at);
        emit partActivated(layout_.parts[at].row, layout_.parts[at].count);
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void SystemBarsView::moveCurrent(std::optional<size_t> part)
{
    current_ = part;
    if (part) {
        const BarPart& shown = layout_.parts[*part];
        const QString tip = partTip(table_.systems[shown.row], shown);
        setAccessibleDescription(tip);
        // Inside the window's scroll area, the current part stays in sight.
        if (auto* area = parentWidget() ? qobject_cast<QScrollArea*>(parentWidget()->parentWidget()) : nullptr) {
            const QRect around = shown.rect.toAlignedRect().adjusted(0, -24, 0, 8);
            area->ensureVisible(around.center().x(), around.center().y(), 0, around.height() / 2 + 8);
        }
    }
    update();
}

// Reached with Tab, the bars show at once which part the keys act on.
void SystemBarsView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (!current_ && !layout_.parts.empty())
        moveCurrent(0);
}

void SystemBarsView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(exportPng_);
    menu.addAction(exportSvg_);
    exportPng_->setEnabled(message_.isEmpty());
    exportSvg_->setEnabled(message_.isEmpty());
    menu.exec(event->globalPos());
}

bool SystemBarsView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<size_t> part = partAt(help->pos());
    if (!part) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const BarPart& shown = layout_.parts[*part];
    QToolTip::showText(help->globalPos(), partTip(table_.systems[shown.row], shown), this,
                       shown.rect.toAlignedRect());
    return true;
}
