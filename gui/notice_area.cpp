#include "notice_area.h"

#include "gui/notice_row.h"

#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The share of its room's height the area may take: the results keep the rest.
constexpr int kRoomShare = 3;

}  // namespace

NoticeArea::NoticeArea(QWidget* parent)
    : QScrollArea(parent)
    , content_(new QWidget)
    , layout_(new QVBoxLayout(content_))
{
    layout_->setContentsMargins(4, 2, 4, 2);
    layout_->setSpacing(0);
    setWidget(content_);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    setFocusPolicy(Qt::NoFocus);  // its arrows and buttons take the focus, and show it
    if (parent)
        parent->installEventFilter(this);
}

void NoticeArea::showNotices(const std::vector<tokenade::AuditSession::Notice>& notices)
{
    // Later: a row's own button may have led here, through an alert's event loop.
    for (NoticeRow* row : rows_) {
        layout_->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    rows_.clear();
    for (const auto& notice : notices) {
        auto* row = new NoticeRow(notice, opened_.count(QString::fromStdString(notice.text)) != 0, content_);
        connect(row, &NoticeRow::openChanged, this, [this, row](bool open) {
            if (open)
                opened_.insert(row->text());
            else
                opened_.erase(row->text());
            updateGeometry();
        });
        connect(row, &NoticeRow::folderAsked, this, &NoticeArea::folderAsked);
        layout_->addWidget(row);
        rows_.push_back(row);
    }
    // New widgets join the end of the focus chain: Tab should reach them
    // here. The chain is relinked only from a widget that takes the focus.
    setFocusPolicy(Qt::TabFocus);
    QWidget* previous = this;
    for (NoticeRow* row : rows_) {
        for (QWidget* stop : row->findChildren<QWidget*>()) {
            if (stop->focusPolicy() & Qt::TabFocus) {
                setTabOrder(previous, stop);
                previous = stop;
            }
        }
    }
    setFocusPolicy(Qt::NoFocus);
    setVisible(!rows_.empty());
    updateGeometry();
}

QString NoticeArea::text() const
{
    QStringList lines;
    for (const NoticeRow* row : rows_)
        lines << row->text() << row->examples();
    return lines.join(QLatin1Char('\n'));
}

bool NoticeArea::isOpen(int notice) const
{
    return notice >= 0 && notice < noticeCount() && rows_[static_cast<size_t>(notice)]->isOpen();
}

void NoticeArea::setOpen(int notice, bool open)
{
    if (notice >= 0 && notice < noticeCount())
        rows_[static_cast<size_t>(notice)]->setOpen(open);
}

int NoticeArea::contentHeight() const
{
    const int width = viewport()->width();
    return content_->hasHeightForWidth() && width > 0 ? content_->heightForWidth(width)
                                                       : content_->sizeHint().height();
}

QSize NoticeArea::sizeHint() const
{
    return QSize(QScrollArea::sizeHint().width(), std::min(contentHeight(), maximumHeight()) + 2 * frameWidth());
}

// One line of the first notice, so that the area never shows an empty frame.
QSize NoticeArea::minimumSizeHint() const
{
    const int line = rows_.empty() ? 0 : rows_.front()->minimumSizeHint().height();
    return QSize(QScrollArea::minimumSizeHint().width(), line + 2 * frameWidth() + 4);
}

void NoticeArea::fitToRoom()
{
    if (const QWidget* room = parentWidget())
        setMaximumHeight(std::max(minimumSizeHint().height(), room->height() / kRoomShare));
}

bool NoticeArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fitToRoom();
    return QScrollArea::eventFilter(watched, event);
}

// A new width wraps the open notices anew.
void NoticeArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    updateGeometry();
}
