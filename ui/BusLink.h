// SPDX-License-Identifier: GPL-3.0-or-later
// Joins the bus client to the run controller. The client's readiness,
// answers, events and questions go to the controller; the controller's
// commands, answers, busy flag and run status go back to the client. What
// the operator must see of the link (a lost connection, a line that never
// left) goes to the log window.
#pragma once

class LogArea;
class RunController;
class Tolva;

namespace BusLink {
void join(Tolva *tolva, RunController *run, LogArea *log);
}
