#include "busy_indicator.h"

BusyIndicator::BusyIndicator(QWidget* parent)
    : QProgressBar(parent)
{
    setTextVisible(false);
    setMaximumWidth(120);
    stopAnimation();
}

void BusyIndicator::startAnimation()
{
    animating_ = true;
    setRange(0, 0);  // no maximum: the bar runs to and fro
    show();
}

void BusyIndicator::stopAnimation()
{
    animating_ = false;
    setRange(0, 1);
    setValue(0);
    hide();
}
