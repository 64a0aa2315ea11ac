#pragma once

#include "core/summary/system_counts.h"
#include "gui/systems/bar_layout.h"

#include <QWidget>

#include <optional>

class QAction;

// The table of systems as bars, one row per system (see BarsLayout), drawn
// in the window's palette. A click on a part, or Enter or Space on the
// current part (the arrow keys move it: up and down by row, left and right
// along the parts), asks for that part's names (partActivated). Its
// tooltips give the exact numbers. Its context menu offers the two exports,
// carried out by whoever listens to exportPngAction and exportSvgAction.
// It grows to its rows' height: put it in a scroll area.
class SystemBarsView : public QWidget {
    Q_OBJECT

public:
    explicit SystemBarsView(QWidget* parent = nullptr);

    // Shows `table`, or, with no rows, `message` instead.
    void showTable(tokenade::SystemSummary table);
    void showMessage(const QString& message);
    const tokenade::SystemSummary& table() const { return table_; }

    // Where each part is now, for whoever points at one.
    const BarsLayout& layout() const { return layout_; }
    // The part the keys act on; nothing before there are parts.
    std::optional<size_t> currentPart() const { return current_; }

    QAction* exportPngAction() const { return exportPng_; }
    QAction* exportSvgAction() const { return exportSvg_; }

    // Paints everything the view shows, focus aside, as an export draws it.
    void paintBars(QPainter& painter) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

Q_SIGNALS:
    void partActivated(size_t row, tokenade::SystemCount count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void layOut();
    std::optional<size_t> partAt(const QPointF& point) const;
    void moveCurrent(std::optional<size_t> part);
    std::optional<size_t> partInRow(size_t row, qreal x) const;
    std::optional<size_t> rowBeside(size_t at, int step) const;

    tokenade::SystemSummary table_;
    QString message_;
    BarsLayout layout_;
    std::optional<size_t> current_;
    QAction* exportPng_;
    QAction* exportSvg_;
};
