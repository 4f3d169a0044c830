// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time: from starting the skedra process to its main window shown,
// offscreen, with the example configuration (bus connection off so that no
// server is needed). skedra -quit-when-shown prints "shown-after-ms: N" once
// the window is shown and its first events are processed, then exits.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 15;
    QTemporaryDir dir;
    const QString cfg = dir.filePath("bench.cfg");
    {
        QFile f(cfg);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QTextStream(&f) << "INCLUDE " << SKEDRA_SOURCE_DIR << "/examples/beamline.cfg\n"
                        << "CONNECT_TO_TOLVA 0\n";
    }
    QVector<double> wall;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(SKEDRA_EXE, {"-platform", "offscreen", "-c", cfg, "-quit-when-shown"});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            std::fprintf(stderr, "skedra did not start and quit cleanly: %s\n", p.readAllStandardError().constData());
            return 1;
        }
        wall << t.nsecsElapsed() / 1e6;
        if (!p.readAllStandardOutput().contains("shown-after-ms:")) {
            std::fprintf(stderr, "skedra does not know -quit-when-shown\n");
            return 1;
        }
    }
    std::sort(wall.begin(), wall.end());
    std::printf("startup_to_shown_median: %.1f ms\n", wall.at(wall.size() / 2));
    std::printf("startup_to_shown_min: %.1f ms\n", wall.first());
    return 0;
}
