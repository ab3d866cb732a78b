#include "app/speedbutton.h"

TSpeedButton::TSpeedButton(int tag, QWidget* parent) : QToolButton(parent), Tag(tag)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}
