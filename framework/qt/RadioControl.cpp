#include "framework/qt/RadioControl.h"

RadioControl::RadioControl(QWidget* parent) : QRadioButton(parent)
{
    setAutoExclusive(false);
}

void RadioControl::nextCheckState()
{
    if (onUserCheck)
    {
        onUserCheck();
    }
    else
    {
        setChecked(true);
    }
}
