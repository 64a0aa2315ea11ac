#include "offer_dialog.h"

#include "gui/preferences.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

OfferDialog::OfferDialog(const QString& windowTitle, const QString& tableName, const QString& tableAccessibleName,
                         const QStringList& headers, QWidget* parent)
    : QDialog(parent)
    , title_(new QLabel(this))
    , table_(new QTableWidget(0, static_cast<int>(headers.size()), this))
    , layout_(new QVBoxLayout(this))
    , buttons_(new QDialogButtonBox(QDialogButtonBox::Close, this))
{
    setWindowTitle(windowTitle);
    title_->setWordWrap(true);
    table_->setObjectName(tableName);
    table_->setAccessibleName(tableAccessibleName);
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout_->addWidget(title_);
    layout_->addWidget(table_, 1);
    layout_->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 0)
            emit rowTicked(item->row(), item->checkState() == Qt::Checked);
    });
}

// Blocked, the table reports no tick while its rows are remade: only the user's clicks are news.
void OfferDialog::showRows(const QString& title, const std::vector<Row>& rows)
{
    const QSignalBlocker quiet(table_);
    title_->setText(title);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Row& shown = rows[static_cast<size_t>(row)];
        for (int column = 0; column < table_->columnCount() && column < shown.cells.size(); ++column) {
            auto* item = new QTableWidgetItem(shown.cells[column]);
            item->setToolTip(shown.cells[column]);  // a narrow column cuts a reason short
            table_->setItem(row, column, item);
        }
        QTableWidgetItem* first = table_->item(row, 0);
        first->setFlags(shown.tickable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                                       : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        first->setCheckState(shown.ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void OfferDialog::showTicks(const std::vector<bool>& ticks)
{
    const QSignalBlocker quiet(table_);
    for (int row = 0; row < table_->rowCount() && static_cast<size_t>(row) < ticks.size(); ++row)
        table_->item(row, 0)->setCheckState(ticks[static_cast<size_t>(row)] ? Qt::Checked : Qt::Unchecked);
}

void OfferDialog::addBelowTable(QWidget* widget)
{
    layout_->insertWidget(layout_->indexOf(buttons_), widget);
}

void OfferDialog::addBelowTable(QLayout* layout)
{
    layout_->insertLayout(layout_->indexOf(buttons_), layout);
}

void OfferDialog::addButton(QPushButton* button)
{
    buttons_->addButton(button, QDialogButtonBox::ActionRole);
}

void OfferDialog::showKeepingSize(Preferences& preferences, const QString& key)
{
    if (!isVisible()) {
        sizeKeeper_ = &preferences;
        sizeKey_ = key;
        const QStringList kept = preferences.stringForKey(key).value_or(QString()).split(QLatin1Char('x'));
        const QSize size = kept.size() == 2 ? QSize(kept[0].toInt(), kept[1].toInt()) : QSize();
        resize(size.width() > 0 && size.height() > 0 ? size : fittingSize());
    }
    show();
    raise();
}

void OfferDialog::hideEvent(QHideEvent* event)
{
    if (sizeKeeper_)
        sizeKeeper_->setString(sizeKey_, QStringLiteral("%1x%2").arg(width()).arg(height()));
    QDialog::hideEvent(event);
}

// Every column as wide as its widest cell, the reasons too; the screen bounds it.
QSize OfferDialog::fittingSize() const
{
    constexpr int kMinimumWidth = 640;
    constexpr int kHeight = 520;
    int width = table_->frameWidth() * 2 + table_->verticalScrollBar()->sizeHint().width();
    constexpr int kCellPadding = 16;
    constexpr int kCheckBox = 28;
    const QFontMetrics metrics(table_->font());
    for (int column = 0; column < table_->columnCount(); ++column) {
        int widest = table_->horizontalHeader()->sectionSizeHint(column);
        for (int row = 0; row < table_->rowCount(); ++row) {
            if (const QTableWidgetItem* item = table_->item(row, column))
                widest = std::max(widest, metrics.horizontalAdvance(item->text()) + kCellPadding +
                                              (column == 0 ? kCheckBox : 0));
        }
        width += widest;
    }
    const QMargins margins = layout_->contentsMargins();
    width += margins.left() + margins.right();
    const QScreen* shown = screen();
    const int room = shown ? shown->availableGeometry().width() * 9 / 10 : width;
    return {std::clamp(width, kMinimumWidth, std::max(kMinimumWidth, room)), kHeight};
}
