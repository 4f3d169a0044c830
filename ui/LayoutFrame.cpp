#include "LayoutFrame.h"

LayoutFrame::LayoutFrame(QWidget *parent) : QFrame(parent)
{
    ui.setupUi(this);
}
