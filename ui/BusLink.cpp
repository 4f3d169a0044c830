// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusLink.h"

#include "LogArea.h"
#include "RunController.h"
#include "Tolva.h"

#include <QCoreApplication>

namespace BusLink {

void join(Tolva *tolva, RunController *run, LogArea *log)
{
    QObject::connect(tolva, &Tolva::log, log,
                     qOverload<const QString &, const QColor &>(&LogArea::log));
    QObject::connect(tolva, &Tolva::anyAsk, run, &RunController::asked);
    QObject::connect(tolva, &Tolva::anyAns, run, &RunController::answered);
    QObject::connect(tolva, &Tolva::anyEvent, run, &RunController::eventReceived);
    QObject::connect(tolva, &Tolva::tolvaIsReady, run, &RunController::busReady);
    // An operator has to see when the link is gone and which commands never
    // left.
    QObject::connect(tolva, &Tolva::tolvaIsNotReady, run, [tolva, run, log] {
        log->log(QCoreApplication::translate("Body", "Tolva: %1").arg(tolva->statusText()),
                 Severity::Error);
        run->busLost();
    });
    const auto sendResult = [log](const QString &result) {
        // The client's result of a send that found no connection; the line
        // itself went nowhere, so this is the only trace of it.
        if (result.startsWith(QLatin1String("Tolva is not ready (")))
            log->log(result, Severity::Error);
    };
    QObject::connect(tolva, &Tolva::sendingAskToTolva, log, sendResult);
    QObject::connect(tolva, &Tolva::sendingAnsToTolva, log, sendResult);
    QObject::connect(run, &RunController::sendCmd, tolva, &Tolva::sendCmd);
    QObject::connect(run, &RunController::answer, tolva, &Tolva::sendAns);
    QObject::connect(run, &RunController::busyChanged, tolva, &Tolva::setBusy);
    QObject::connect(run, &RunController::runStatusChanged, tolva, &Tolva::setRunStatus);
    tolva->setRunStatus(run->runStatus());
}

} // namespace BusLink
