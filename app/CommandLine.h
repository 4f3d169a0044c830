// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line may hold, decided before any application object
// exists: --help and --version must answer on a machine without a display,
// and a mistyped option must not start a night with a setting silently lost.
//
// main() calls check() on the raw arguments first; only a Run result goes on
// to build the application, which consumes Qt's own options, and to fill the
// configuration store (ConfigStore::parseCommandLine) with the rest. The
// tables below are the one list of what Skedra accepts: the usage text, the
// check and the documentation test all read them.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace CommandLine {

struct Option
{
    const char *name;     // with its dash, as typed: "-load"
    const char *argument; // name of its value in the usage ("FILE"), or nullptr
    const char *help;     // one sentence for --help
    // Looked up without regard to case (valueNoCase), so -ROOT works too.
    bool anyCase = false;
    // Values it takes at most (the second and later ones optional).
    int values = 1;
};

// Skedra's own options.
const std::vector<Option> &options();
// The options the Qt application object takes for itself (-platform NAME,
// -style NAME, -reverse, ...). Qt also accepts them with two dashes and,
// for those with a value, as -name=value.
const std::vector<Option> &qtOptions();

enum class Action { Run, Help, Version, Error };

struct Result
{
    Action action = Action::Run;
    QString error; // for Error: what is wrong, naming the argument
};

// args: the arguments without the program name.
Result check(const QStringList &args);

// The --help text: a synopsis line, then every option of options().
QString usage(const QString &program);
// One line: the program and its version.
QString versionText(const QString &program);

} // namespace CommandLine
