// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the command-line tools: integer options with a
// range check, the default key file, and one-line logging on stderr.
#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QString>

#include <cstdio>

namespace ToolOptions {

// Adds --help and --version, parses the arguments and answers what needs no
// work: the help and the version on stdout (status 0), a bad option or a
// stray argument with the usage on stderr (status 2). Returns -1 when the
// tool should go on.
inline int parseOrAnswer(QCommandLineParser &p, const char *tool)
{
    p.addHelpOption();
    p.addVersionOption();
    QString error;
    if (!p.parse(QCoreApplication::arguments()))
        error = p.errorText();
    else if (!p.positionalArguments().isEmpty())
        error = QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n%s", tool, qPrintable(error), qPrintable(p.helpText()));
        return 2;
    }
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(p.helpText()), stdout);
        return 0;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", tool, SKEDRA_VERSION);
        return 0;
    }
    return -1;
}

// Reads an integer option; on a bad value prints why and returns false.
inline bool intOption(const QCommandLineParser &p, const QString &name, qint64 min, qint64 max,
                      qint64 *out, const char *tool)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const QString text = p.value(name);
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (!ok || v < min || v > max) {
        std::fprintf(stderr, "%s: --%s wants an integer from %lld to %lld, not \"%s\"\n", tool,
                     qPrintable(name), static_cast<long long>(min), static_cast<long long>(max),
                     qPrintable(text));
        return false;
    }
    *out = v;
    return true;
}

// The key file the tools use when none is given: Tarnix.key in the working
// directory when there is one, else the example shipped with the sources.
inline QString defaultKeyFile()
{
    if (QFileInfo::exists(QStringLiteral("Tarnix.key")))
        return QStringLiteral("Tarnix.key");
    return QStringLiteral(SKEDRA_EXAMPLE_KEY_FILE);
}

inline void logLine(const char *tool, const QString &text)
{
    std::fprintf(stderr, "%s %s: %s\n",
                 qPrintable(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"))), tool,
                 text.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace ToolOptions
