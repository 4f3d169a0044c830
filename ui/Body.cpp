#include "Body.h"

#include <QCloseEvent>

Body::Body(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Body"));
    setWindowTitle(tr("Skedra"));
    resize(1316, 859);
}

void Body::closeEvent(QCloseEvent *event)
{
    emit closed();
    QFrame::closeEvent(event);
}
