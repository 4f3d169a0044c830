// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a generated 500-entry schedule file into entry values through
// Csv::read and prints the time taken and the growth of resident memory; then
// loads the same file into the main window as the Load button does and shows
// it, and prints that too.
//
// Usage: bench_schedule_load [entries]   (offscreen unless a platform is set)
#include "Body.h"
#include "ConfigStore.h"
#include "Csv.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {

double residentMB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    if (parts.size() < 2)
        return 0;
    return parts.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

const char *kConfig = "Crystal Si111 3.13553 4000 28000 \"Si(111)\" 111\n"
                      "Crystal Si311 1.63747 7000 40000 \"Si(311)\" 311\n"
                      "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nTUNE Y\nTUNE N\n"
                      "SCAN_TYPE Quick Q\nSCAN_TYPE Step S\n"
                      "MEAS_MODE Trans T\nMEAS_MODE Fluo F\n"
                      "BLK_SETUP Std S\nBLK_SETUP File F\nBLK_SETUP User U\n"
                      "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n";

// A night's schedule: quick and step scans, standard and user blocks, a few
// elements and edges.
void writeSchedule(const QString &path, int n)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&f);
    const char *elements[] = {"Cu", "Fe", "Pt", "Zn", "Ni"};
    const char *edges[] = {"K", "K", "L3", "K", ""};
    for (int i = 0; i < n; ++i) {
        const int k = i % 5;
        const bool step = i % 2 == 1;
        const bool user = i % 3 == 0;
        out << (i % 12 + 1) << ",S" << i << ",sample " << i << ",," << elements[k] << '-' << i
            << ".dat," << elements[k] << ',' << edges[k] << ",-,-,-," << (step ? "Step" : "Quick")
            << ',' << (step && i % 4 == 1 ? "Fluo" : "Trans") << ',' << (user ? "User" : "Std")
            << ",XAFS,MyBlock.prm,";
        if (step)
            out << "\"1, 1, 2, 4\",4,eV,R-200,40,,R-30,300,,R40,150,,R400,100,4.5";
        else
            out << "300,1,eV,R-300,4665,0.300107";
        out << '\n';
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? qMax(1, atoi(argv[1])) : 500;

    ConfigStore &store = config();
    store.readText(QString::fromLatin1(kConfig) + QStringLiteral("CONNECT_TO_TOLVA 0\n"));
    buildOptionTables(store);
    if (!xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"))) {
        std::fprintf(stderr, "cannot load the X-ray data\n");
        return 1;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("schedule.csv"));
    writeSchedule(path, n);

    const double before = residentMB();
    QElapsedTimer t;
    t.start();
    const Csv::ReadResult read = Csv::read(path);
    const qint64 ms = t.elapsed();
    const double grown = residentMB() - before;
    if (!read.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(read.error));
        return 1;
    }
    const QList<Entry> &list = read.entries;

    std::printf("entries: %lld\n", static_cast<long long>(list.size()));
    std::printf("load time: %lld ms\n", static_cast<long long>(ms));
    std::printf("load time per entry: %.2f ms\n", double(ms) / qMax<qsizetype>(1, list.size()));
    std::printf("load RSS growth: %.1f MB\n", grown);
    std::printf("load RSS growth per entry: %.3f MB\n", grown / qMax<qsizetype>(1, list.size()));

    if (qEnvironmentVariableIsSet("SKEDRA_BENCH_NO_SHOW"))
        return 0;

    // The main window, shown first so that one-time costs (styles, fonts)
    // are not counted; then the file loaded into it and shown.
    QTemporaryDir work;
    QDir::setCurrent(work.path()); // the window's recovery file goes there
    Body body;
    body.resize(1200, 800);
    body.show();
    QCoreApplication::processEvents();
    const double beforeShow = residentMB();
    t.restart();
    if (!body.loadScheduleFrom(path))
        return 1;
    QCoreApplication::processEvents();
    const qint64 showMs = t.elapsed();
    std::printf("window read and show time: %lld ms\n", static_cast<long long>(showMs));
    std::printf("window RSS growth: %.1f MB\n", residentMB() - beforeShow);
    return 0;
}
