#include "notice_row.h"

#include "core/session/shown_text.h"
#include "gui/qt_strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

// Rich text would fold runs of spaces into one: these keep them.
QString keptSpaces(const QString& text)
{
    return QStringLiteral("<span style=\"white-space: pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</span>");
}

}  // namespace

NoticeRow::NoticeRow(const tokenade::AuditSession::Notice& notice, bool open, QWidget* parent)
    : QWidget(parent)
    , text_(toQString(notice.text))
    , open_(open)
    , arrow_(new QToolButton(this))
    , label_(new QLabel(this))
{
    for (const std::string& example : notice.examples)
        examples_ << toQString(tokenade::withVisibleSpaces(example));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    arrow_->setAutoRaise(true);
    arrow_->setFocusPolicy(Qt::StrongFocus);
    QSizePolicy keepsItsPlace = arrow_->sizePolicy();  // so that every notice's text starts alike
    keepsItsPlace.setRetainSizeWhenHidden(true);
    arrow_->setSizePolicy(keepsItsPlace);
    layout->addWidget(arrow_, 0, Qt::AlignTop);
    // Ignored: a long line is cut to the width there is, never widens the window.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_->setTextFormat(Qt::RichText);
    layout->addWidget(label_, 1);
    if (!notice.folderToOpen.empty()) {
        auto* folder = new QPushButton(tr("Open the Folder"), this);
        folder->setObjectName(QStringLiteral("openFolder"));
        connect(folder, &QPushButton::clicked, this, &NoticeRow::folderAsked);
        layout->addWidget(folder, 0, Qt::AlignTop);
    }
    connect(arrow_, &QToolButton::clicked, this, [this] { setOpen(!open_); });
    showText();
}

void NoticeRow::setOpen(bool open)
{
    if (open == open_)
        return;
    open_ = open;
    showText();
    emit openChanged(open_);
}

bool NoticeRow::hasMoreToShow() const
{
    return !examples_.isEmpty() || label_->fontMetrics().horizontalAdvance(text_) > label_->width();
}

void NoticeRow::showText()
{
    const bool more = hasMoreToShow();
    arrow_->setVisible(more || open_);
    arrow_->setArrowType(open_ ? Qt::DownArrow : Qt::RightArrow);
    arrow_->setAccessibleName(open_ ? tr("Fold the notice") : tr("Open the notice"));
    label_->setWordWrap(open_);
    // Open, its words can be selected; folded, a click anywhere opens it.
    label_->setTextInteractionFlags(open_ ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    label_->setCursor(open_ || !more ? Qt::ArrowCursor : Qt::PointingHandCursor);
    if (!open_) {
        label_->setText(keptSpaces(label_->fontMetrics().elidedText(text_, Qt::ElideRight, label_->width())));
        return;
    }
    QString html = keptSpaces(text_);
    if (!examples_.isEmpty()) {
        html += QStringLiteral("<ul style=\"margin-top: 2px; margin-bottom: 0px\">");
        for (const QString& example : examples_)
            html += QStringLiteral("<li>") + keptSpaces(example) + QStringLiteral("</li>");
        html += QStringLiteral("</ul>");
    }
    label_->setText(html);
}

void NoticeRow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !open_ && hasMoreToShow())
        setOpen(true);
    QWidget::mousePressEvent(event);
}

// A folded line is cut anew to the width it has.
void NoticeRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showText();
}
