// SPDX-License-Identifier: GPL-3.0-or-later
#include "DryRun.h"

#include "ConfigStore.h"
#include "Csv.h"
#include "EntryCheck.h"
#include "EntrySelection.h"
#include "EntryText.h"
#include "ExecPlan.h"
#include "OptionTables.h"
#include "RunJournal.h"
#include "ScanPlan.h"
#include "TargetWords.h"
#include "TolvaProto.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QTextStream>

#include <optional>

namespace {

// Texts of the DryRun context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(DryRun)
};

QString header(int number, const Entry &e)
{
    const QString sample = e.sampleId.isEmpty() ? e.holder : e.sampleId;
    const QString target =
        QStringLiteral("%1 %2").arg(e.elementSymbol(), xrayDataBase().edgeName(e.edgeIndex()));
    QString blocks = blkSetupTable().label(e.blockDefType);
    switch (e.blockDefType) {
    case EntryRows::StandardBlocks:
        blocks += QLatin1Char(' ') + stdTypeTable().label(e.stdBlockType);
        break;
    case EntryRows::FileBlocks:
        blocks += QLatin1Char(' ') + e.blockDefFile;
        break;
    default:
        blocks += QLatin1Char(' ') + Tr::tr("%1 blocks").arg(e.blocks);
        break;
    }
    return QStringLiteral("# ") + Tr::tr("Entry %1: %2, %3, %4, %5")
                                      .arg(QString::number(number), sample, target,
                                           scanTypeTable().label(e.scanType), blocks);
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The scan as the target will measure it, a comment line a block: where it
// runs in eV and in k above the edge, its points, step and dwell.
QStringList planLines(const Entry &e)
{
    const ScanPlan::Plan p = ScanPlan::of(e);
    const auto k = [](double v) {
        return v < 0 ? QStringLiteral("-") : QString::number(v, 'f', 2);
    };
    QStringList out;
    for (int i = 0; i < p.blocks.size(); ++i) {
        const ScanPlan::Block &b = p.blocks.at(i);
        out << QStringLiteral("# ") +
                   Tr::tr("Block %1: %2 to %3 eV (%4 to %5 from the edge), k %6 to %7 1/A, %8 "
                          "points, step %9 eV, dwell %10 s.")
                       .arg(i + 1)
                       .arg(QString::number(b.eFrom, 'f', 2), QString::number(b.eTo, 'f', 2),
                            QString::number(b.eFrom - p.edge, 'f', 2),
                            QString::number(b.eTo - p.edge, 'f', 2), k(b.kFrom), k(b.kTo))
                       .arg(b.points)
                       .arg(EntryText::g6(b.stepFirst))
                       .arg(EntryText::g6(b.dwell));
    }
    out << QStringLiteral("# ") + Tr::tr("Points: %1 in %2 blocks, %3 s of dwell time.")
                                      .arg(p.points)
                                      .arg(p.blocks.size())
                                      .arg(EntryText::g6(p.seconds));
    return out;
}

} // namespace

namespace DryRun {

Setup Setup::fromConfig(const ConfigStore &store)
{
    Setup s;
    s.node = store.valueNoCase(QStringLiteral("NAME_ON_TOLVA"), s.node);
    s.target = QStringLiteral("%1.remote")
                   .arg(store.valueNoCase(QStringLiteral("TARGET_NAME_ON_TOLVA"),
                                          QStringLiteral("Dorvan")));
    for (const QString &text : store.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TARGET"))) {
        QString rest;
        const QString to = takeItem(text, &rest);
        s.onTargetReady.append({to, rest});
    }
    s.blockNum = qMax(0, toIntOr0(store.valueNoCase(QStringLiteral("DRYRUN_BLOCK_NUM"))));
    s.est = Estimate::Params::fromConfig(store);
    s.calibration = RunEstimate::Calibration::fromJournal(
        RunJournal::read(store.valueNoCase(QStringLiteral("JOURNAL"), RunJournal::defaultPath())));
    s.endBy = RunEstimate::clockTime(store.contains(QStringLiteral("-end-by"))
                                         ? store.value(QStringLiteral("-end-by"))
                                         : store.valueNoCase(QStringLiteral("END_BY")));
    return s;
}

QString busLine(const Setup &setup, const QString &to, const QString &text)
{
    QByteArray bytes =
        TolvaProto::encodeLine(TolvaProto::buildLine(setup.node, QString(), to, text));
    bytes.chop(1);
    return QString::fromLatin1(bytes);
}

Result run(const QList<Entry> &entries, const Setup &setup, const QDateTime &now)
{
    Result r;
    int ticked = 0;
    for (const Entry &e : entries)
        ticked += e.exec ? 1 : 0;
    r.lines << QStringLiteral("# ") +
                   Tr::tr("Dry run of %1 ticked entries of %2.").arg(ticked).arg(entries.size());
    r.lines << QStringLiteral("# ") + Tr::tr("When the target logs in:");
    r.lines << busLine(setup, setup.target, TargetWords::line(TargetWords::RemoteOn));
    for (const auto &cmd : setup.onTargetReady)
        r.lines << busLine(setup, cmd.first, cmd.second);

    const QList<QStringList> across = EntryCheck::checkSchedule(entries);
    // The run's clock: where each entry would end, and whether the deadline
    // lets it begin (once one does not fit, the run ends there).
    const QDateTime deadline = RunEstimate::nextAt(now, setup.endBy);
    QDateTime clock = now;
    bool past = false;
    if (deadline.isValid()) {
        r.fitting = 0;
        r.lines << QStringLiteral("# ") +
                       Tr::tr("Deadline (END_BY): %1.")
                           .arg(deadline.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    }
    // Each entry is compared with the one measured before it, as in a run:
    // unticked entries in between change nothing at the beamline.
    std::optional<Entry> last;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &cur = entries.at(i);
        if (!cur.exec)
            continue;
        r.lines << header(i + 1, cur);
        const EntryCheck::Findings found = EntryCheck::check(cur);
        QStringList errors = cur.errors; // the codec's, when it was read
        for (const QString &err : found.errors) {
            if (!errors.contains(err))
                errors << err;
        }
        const QStringList warnings = found.warnings + across.at(i);
        for (const QString &w : std::as_const(warnings))
            r.lines << QStringLiteral("# ") + Tr::tr("Warning: %1").arg(w);
        if (!errors.isEmpty()) {
            ++r.entriesWithErrors;
            for (const QString &err : errors)
                r.lines << QStringLiteral("# ") + Tr::tr("Error: %1").arg(err);
            last.reset(); // once it is mended it runs, wherever it leaves the beamline
            continue;
        }

        const int stdBlocks = Estimate::standardBlockCount(cur);
        const int blockNum = setup.blockNum > 0 ? setup.blockNum : stdBlocks;
        const StageResult plan = planEntry({cur, last ? &*last : nullptr, i, blockNum});
        for (const PlanPrompt &p : plan.prompts)
            r.lines << QStringLiteral("PROMPT ") + oneLine(p.text);
        for (const QString &line : plan.lines) {
            r.lines << busLine(setup, setup.target, line);
            if (line == QLatin1String(TargetWords::GetBlockNum))
                r.lines << QStringLiteral("# ") +
                               (setup.blockNum > 0
                                    ? Tr::tr("The target's answer is taken to be %1 "
                                             "(DRYRUN_BLOCK_NUM).")
                                          .arg(blockNum)
                                    : Tr::tr("The target's answer is taken to be %1, the blocks "
                                             "of the entry's standard set (DRYRUN_BLOCK_NUM "
                                             "not set).")
                                          .arg(blockNum));
        }
        if (!plan.error.isEmpty()) {
            ++r.entriesWithErrors;
            r.lines << QStringLiteral("# ") + Tr::tr("Error: %1").arg(plan.error);
            last.reset(); // a failed entry leaves the beamline unknown
            continue;
        }
        const Estimate::Figure figure =
            RunEstimate::estimate(cur, last ? &*last : nullptr, setup.est, setup.calibration);
        last = plan.measured ? *plan.measured : cur;
        r.lines << planLines(*last);
        r.seconds += figure.seconds;
        r.prompts += int(plan.prompts.size());
        r.lines << QStringLiteral("# ") + Tr::tr("Estimated duration: %1 (%2 prompts not counted).")
                                              .arg(Estimate::format(figure))
                                              .arg(plan.prompts.size());
        if (!deadline.isValid())
            continue;
        past = past || !RunEstimate::fits(clock, figure, deadline);
        clock = clock.addSecs(qint64(qMin(figure.seconds, 1e12)));
        if (past) {
            r.lines << QStringLiteral("# ") + Tr::tr("Not begun: would end after %1 (END_BY).")
                                                  .arg(deadline.toString(QStringLiteral("hh:mm")));
        } else {
            ++r.fitting;
            r.lines << QStringLiteral("# ") + Tr::tr("Fits before the deadline: ends about %1.")
                                                  .arg(clock.toString(QStringLiteral("hh:mm")));
        }
    }

    r.lines << QStringLiteral("# ") +
                   Tr::tr("Total: %1 (%2 prompts not counted); expected end if started now: %3.")
                       .arg(Estimate::format(r.seconds))
                       .arg(r.prompts)
                       .arg(now.addSecs(qint64(qMin(r.seconds, 1e12)))
                                .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    if (r.fitting >= 0)
        r.lines << QStringLiteral("# ") +
                       Tr::tr("%1 of %2 ticked entries fit before the deadline %3.")
                           .arg(r.fitting)
                           .arg(ticked)
                           .arg(deadline.toString(QStringLiteral("hh:mm")));
    if (r.entriesWithErrors > 0)
        r.lines << QStringLiteral("# ") +
                       Tr::tr("%1 ticked entries have errors: Start refuses this schedule.")
                           .arg(r.entriesWithErrors);
    return r;
}

int checkCommand(const ConfigStore &store, QTextStream &out, QTextStream &err, const QDateTime &now)
{
    QList<Entry> entries;
    if (store.contains(QStringLiteral("-load"))) {
        const Csv::ReadResult read = Csv::read(store.value(QStringLiteral("-load")));
        if (!read.ok) {
            err << read.error << Qt::endl;
            return 1;
        }
        entries = read.entries;
    }
    if (store.contains(QStringLiteral("-entries"))) {
        const EntrySelection::Result sel =
            EntrySelection::parse(store.value(QStringLiteral("-entries")), int(entries.size()));
        if (!sel.ok) {
            err << sel.error << Qt::endl;
            return 1;
        }
        entries = EntrySelection::apply(entries, sel.numbers);
    }
    const Result r = run(entries, Setup::fromConfig(store), now);
    for (const QString &line : r.lines)
        out << line << '\n';
    out.flush();
    return r.entriesWithErrors > 0 ? 1 : 0;
}

} // namespace DryRun
