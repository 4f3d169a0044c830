// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecCtrl.h"

#include "ui_ExecCtrl.h"

#include <QLabel>

ExecCtrl::ExecCtrl(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::ExecCtrl>())
{
    ui->setupUi(this);
    for (int f = 0; f < FlagCount; ++f) {
        showFlag(f, false);
        if (f == ErrStartingXafsMeas)
            setErrMsg(QString());
        else if (f == ErrRemote)
            setErrRemoteMsg(QString());
    }
}

ExecCtrl::~ExecCtrl() = default;

QString ExecCtrl::onStyle()
{
    return QStringLiteral("background-color: rgb(211, 255, 241);");
}

QString ExecCtrl::offStyle()
{
    return QStringLiteral("background-color: rgb(176, 192, 192);");
}

QLabel *ExecCtrl::indicator(Flag f) const
{
    switch (f) {
    case TargetReady:
        return ui->TargetReady;
    case SHolderMoving:
        return ui->SHolderMoving;
    case MainThMoving:
        return ui->MainThMoving;
    case ICGasesChanging:
        return ui->ICGasesChanging;
    case HOCMChanging:
        return ui->HOCMChanging;
    case MonoChanging:
        return ui->MonoChanging;
    case DarkMeasuring:
        return ui->DarkMeasuring;
    case InXAFSMeas:
        return ui->InXAFSMeas;
    case ErrStartingXafsMeas:
        return ui->ErrStartingXafsMeas;
    case ErrRemote:
        return ui->ErrRemote;
    case ErrSHolderMove:
        return ui->ErrSHolderMove;
    case BusyAskingBlockNum:
        return ui->BusyAskingBlockNum;
    case FlagCount:
        break;
    }
    return nullptr;
}

void ExecCtrl::showFlag(int f, bool on)
{
    if (f < 0 || f >= FlagCount)
        return;
    setStat(indicator(Flag(f)), on);
}

void ExecCtrl::setErrMsg(const QString &msg)
{
    ui->ErrMsg->setText(msg);
}

void ExecCtrl::setErrRemoteMsg(const QString &msg)
{
    ui->ErrRemoteMsg->setText(msg);
}

void ExecCtrl::setStat(QWidget *p, bool f)
{
    if (!p)
        return;
    const QString style = f ? onStyle() : offStyle();
    // Restyling costs a polish of the label; repeated writes of one value
    // must not pay it.
    if (p->styleSheet() != style)
        p->setStyleSheet(style);
}
