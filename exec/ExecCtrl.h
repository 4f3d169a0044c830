// Execution status panel: one indicator per engine flag and the texts of the
// last two error messages.
//
// The panel belongs to the GUI thread, but the flag values it keeps are the
// engine's: Exec reads and writes them from its worker thread only (flag(),
// setFlag(), setErrMsg(), setErrRemoteMsg()). Every write hands the matching
// indicator or label update to the GUI thread as a queued call, so updates
// reach the widgets in the order the engine made them and no widget is
// touched from the worker. Called from the GUI thread (tests, an engine that
// was not moved to a thread), the updates are applied at once.
#pragma once

#include "ui_ExecCtrl.h"

#include <QFrame>
#include <QString>

#include <array>
#include <functional>

class QLabel;

class ExecCtrl : public QFrame
{
    Q_OBJECT
public:
    // In the order the panel switches them off when it is built.
    enum Flag {
        TargetReady,
        SHolderMoving,
        MainThMoving,
        ICGasesChanging,
        HOCMChanging,
        MonoChanging,
        DarkMeasuring,
        InXAFSMeas,
        ErrStartingXafsMeas,
        ErrRemote,
        ErrSHolderMove,
        BusyAskingBlockNum,
        FlagCount
    };
    Q_ENUM(Flag)

    explicit ExecCtrl(QWidget *parent = nullptr);

    static QString onStyle();
    static QString offStyle();

    // Engine side: plain values, no locking (one thread writes and reads them).
    bool flag(Flag f) const { return m_flags[f]; }
    void setFlag(Flag f, bool on);
    void setErrMsg(const QString &msg);
    void setErrRemoteMsg(const QString &msg);

    // The indicator label of a flag.
    QLabel *indicator(Flag f) const;

    Ui::ExecCtrl ui;

private slots:
    void setStat(QWidget *p, bool f);

private:
    void inGuiThread(std::function<void()> apply);

    std::array<bool, FlagCount> m_flags{};
};
