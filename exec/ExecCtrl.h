// SPDX-License-Identifier: GPL-3.0-or-later
// Execution status panel: one indicator per engine flag and the texts of the
// last two error messages. It only shows: the flag values are the engine's
// (Exec::flagChanged and the message signals, connected by the main window).
#pragma once

#include "ExecFlags.h"

#include <QFrame>
#include <QString>

#include <memory>

class QLabel;
namespace Ui {
class ExecCtrl;
}

class ExecCtrl : public QFrame, public ExecFlags
{
    Q_OBJECT
public:
    explicit ExecCtrl(QWidget *parent = nullptr);
    ~ExecCtrl() override;

    static QString onStyle();
    static QString offStyle();

    // The indicator label of a flag.
    QLabel *indicator(Flag f) const;

public slots:
    void showFlag(int f, bool on);
    void setErrMsg(const QString &msg);
    void setErrRemoteMsg(const QString &msg);

private slots:
    void setStat(QWidget *p, bool f);

private:
    std::unique_ptr<Ui::ExecCtrl> ui;
};
