// SPDX-License-Identifier: GPL-3.0-or-later
// How much a line of the night's story matters. The core libraries say it
// with this enum; only the log window turns it into a colour.
#pragma once

#include <QMetaType>

enum class Severity {
    Info,  // the story of the night: black in the log window
    Error, // something failed or needs the operator: red
};
Q_DECLARE_METATYPE(Severity)
