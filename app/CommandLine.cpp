// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QTextStream>

namespace CommandLine {

const std::vector<Option> &options()
{
    static const std::vector<Option> table = {
        {"-c", "FILE",
         "Configuration file to read instead of config.cfg in the working directory."},
        {"-config", "FILE", "Same as -c; wins when both are given."},
        {"-e", nullptr, "English interface instead of Japanese."},
        {"-root", "DIR", "Start directory of the file dialogs (wins over ROOT_DIR).", true},
        {"-load", "FILE", "Load this schedule once the window is built."},
        {"-check", nullptr,
         "With -load: print the dry run of the schedule and end (status 1 when a ticked entry "
         "has errors); no window, no bus."},
        {"-entries", "LIST", "Tick only these entries of the loaded schedule (1,3-5)."},
        {"-go", nullptr, "Start the run as soon as the target is ready; echo the log on stdout."},
        {"-confirm-prompts", nullptr,
         "Confirm every operator prompt by itself (simulations and trials without beam only)."},
        {"-resume-last", nullptr, "Resume the journal's last run if it did not end."},
        {"-report", "JOURNAL [RUN]",
         "Write the report of the journal's last run (or of the run started at RUN, "
         "yyyy-MM-ddTHH:mm:ss) beside the journal and end; no window, no bus.",
         false, 2},
        {"-start-at", "hh:mm", "Hold Start until this time of day (the next such time)."},
        {"-end-by", "hh:mm",
         "Begin no entry that would end after this time of day (wins over END_BY)."},
        {"-quit-when-done", nullptr,
         "End when the run ends: status 0 when it ended well, 1 otherwise."},
        {"-quit-when-shown", nullptr, "End as soon as the main window is shown (start-up timing)."},
        {"-h", nullptr, "Print this help and end."},
        {"--help", nullptr, "Same as -h."},
        {"--version", nullptr, "Print the version and end."},
    };
    return table;
}

const std::vector<Option> &qtOptions()
{
    // QGuiApplication, its X11 platform plugin and QApplication read these
    // from argv and remove them before the program sees the rest.
    static const std::vector<Option> table = {
        {"-platform", "NAME", nullptr},
        {"-platformpluginpath", "DIR", nullptr},
        {"-platformtheme", "NAME", nullptr},
        {"-plugin", "NAME", nullptr},
        {"-qwindowgeometry", "GEOMETRY", nullptr},
        {"-geometry", "GEOMETRY", nullptr},
        {"-qwindowtitle", "TITLE", nullptr},
        {"-title", "TITLE", nullptr},
        {"-qwindowicon", "FILE", nullptr},
        {"-icon", "FILE", nullptr},
        {"-session", "ID", nullptr},
        {"-display", "DISPLAY", nullptr},
        {"-name", "NAME", nullptr},
        {"-visual", "ID", nullptr},
        {"-style", "STYLE", nullptr},
        {"-stylesheet", "FILE", nullptr},
        {"-qmljsdebugger", "PORT", nullptr},
        {"-reverse", nullptr, nullptr},
        {"-testability", nullptr, nullptr},
        {"-nograb", nullptr, nullptr},
        {"-dograb", nullptr, nullptr},
        {"-sync", nullptr, nullptr},
        {"-widgetcount", nullptr, nullptr},
    };
    return table;
}

namespace {

bool isOption(const QString &arg)
{
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

const Option *ownOption(const QString &arg)
{
    for (const Option &o : options()) {
        const Qt::CaseSensitivity cs = o.anyCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        if (arg.compare(QLatin1String(o.name), cs) == 0)
            return &o;
    }
    return nullptr;
}

// Qt's options, with one or two dashes, and "-name=value" for those that
// take a value. *inlineValue tells that the value came with the option.
const Option *qtOption(const QString &arg, bool *inlineValue)
{
    QString name = arg.startsWith(QLatin1String("--")) ? arg.mid(1) : arg;
    const qsizetype eq = name.indexOf(QLatin1Char('='));
    *inlineValue = eq > 0;
    if (eq > 0)
        name.truncate(eq);
    for (const Option &o : qtOptions()) {
        if (name == QLatin1String(o.name) && (!*inlineValue || o.argument))
            return &o;
    }
    return nullptr;
}

} // namespace

Result check(const QStringList &args)
{
    Result result;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            return {Action::Help, {}};
        if (arg == QLatin1String("--version"))
            return {Action::Version, {}};
        if (!isOption(arg)) {
            if (result.action != Action::Error)
                result = {Action::Error, QStringLiteral("unexpected argument \"%1\"").arg(arg)};
            continue;
        }
        bool inlineValue = false;
        const Option *o = ownOption(arg);
        if (!o) {
            o = qtOption(arg, &inlineValue);
            if (!o) {
                if (result.action != Action::Error)
                    result = {Action::Error, QStringLiteral("unknown option \"%1\"").arg(arg)};
                continue;
            }
        }
        // A value is one argument that does not look like an option. A
        // missing value is left to the option's reader (an empty file name
        // is reported where the file is read).
        for (int v = 0; o->argument && !inlineValue && v < o->values && i + 1 < args.size() &&
                        !isOption(args.at(i + 1));
             ++v)
            ++i;
    }
    return result;
}

QString usage(const QString &program)
{
    QString text;
    QTextStream out(&text);
    out << "Usage: " << program << " [OPTION]... [Qt OPTION]...\n"
        << "Runs a schedule of X-ray absorption measurements over the Tolva message bus.\n\n"
        << "Options:\n";
    // Descriptions wrapped beside the option column, within 79 columns.
    constexpr int kColumn = 25;
    constexpr int kWidth = 79;
    for (const Option &o : options()) {
        QString line = QStringLiteral("  ") + QLatin1String(o.name);
        if (o.argument)
            line += QLatin1Char(' ') + QLatin1String(o.argument);
        line = line.leftJustified(kColumn - 1) + QLatin1Char(' ');
        qsizetype used = line.size();
        for (const QString &word : QString::fromLatin1(o.help).split(QLatin1Char(' '))) {
            if (used > kColumn && used + 1 + word.size() > kWidth) {
                out << line << '\n';
                line = QString(kColumn, QLatin1Char(' '));
                used = kColumn;
            } else if (used > kColumn) {
                line += QLatin1Char(' ');
                ++used;
            }
            line += word;
            used += word.size();
        }
        out << line << '\n';
    }
    out << "\nQt's own options (-platform NAME, -style NAME, -reverse, ...) work as usual.\n"
        << "Settings are read from config.cfg in the working directory, or from the file\n"
        << "named by -c; see skedra(1) for every option and configuration key.\n";
    return text;
}

QString versionText(const QString &program)
{
    return QStringLiteral("%1 %2\n").arg(program, QStringLiteral(SKEDRA_VERSION));
}

} // namespace CommandLine
