#include "segmented_control.h"

#include <QHBoxLayout>
#include <QToolButton>

SegmentedControl::SegmentedControl(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idClicked, this, &SegmentedControl::segmentClicked);
}

QStringList SegmentedControl::segmentLabels() const
{
    QStringList labels;
    for (QAbstractButton* button : group_.buttons())
        labels << button->text();
    return labels;
}

void SegmentedControl::setSegmentLabels(const QStringList& labels)
{
    for (QAbstractButton* button : group_.buttons()) {
        group_.removeButton(button);
        delete button;
    }
    for (int segment = 0; segment < labels.size(); ++segment) {
        auto* button = new QToolButton(this);
        button->setText(labels[segment]);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setObjectName(QStringLiteral("segment%1").arg(segment));
        group_.addButton(button, segment);
        layout()->addWidget(button);
    }
    // Tab comes to the first segment, the arrow keys go on to the others, as
    // in a group of radio buttons.
    setFocusPolicy(labels.isEmpty() ? Qt::NoFocus : Qt::TabFocus);
    setFocusProxy(group_.button(0));
}

void SegmentedControl::setSegmentLabel(int segment, const QString& label)
{
    if (QAbstractButton* button = group_.button(segment))
        button->setText(label);
}

int SegmentedControl::segmentCount() const
{
    return static_cast<int>(group_.buttons().size());
}

int SegmentedControl::selectedSegment() const
{
    return group_.checkedId();
}

void SegmentedControl::setSelectedSegment(int segment)
{
    if (QAbstractButton* button = group_.button(segment)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group will not uncheck its last button: lift the rule for a moment.
    group_.setExclusive(false);
    for (QAbstractButton* button : group_.buttons())
        button->setChecked(false);
    group_.setExclusive(true);
}

void SegmentedControl::setEnabled(bool enabled, int segment)
{
    if (QAbstractButton* button = group_.button(segment))
        button->setEnabled(enabled);
}

bool SegmentedControl::isEnabledForSegment(int segment) const
{
    // The segment's own setting, whether or not the whole control is enabled.
    QAbstractButton* button = group_.button(segment);
    return button && button->isEnabledTo(this);
}

QAbstractButton* SegmentedControl::segmentButton(int segment) const
{
    return group_.button(segment);
}
