// Block-definition files of a schedule entry: the ".prm" writer and reader,
// recognition of 9809 files, and the file dialog.
#include "ScheduleEdit.h"

#include "ConfigStore.h"
#include "EntryText.h"
#include "FileSelectDialog.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "Startup.h"
#include "Units.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace {

// Blocks 0 ... k - 1 of a set and the end line "tag k e 0 0".
void writeSet(QTextStream &out, const QString &tag, const OneBlocks *set, int k,
              const QString &times)
{
    k = qBound(0, k, set->maxBlocks);
    for (int i = 0; i < k; ++i) {
        const OneBlock *r = set->row(i);
        out << tag << ' ' << i << ' ' << EntryText::g6(fromEV(r->pos, set->unit)) << ' '
            << r->points() << ' ' << EntryText::g6(EntryText::measTimeFor(times, i)) << '\n';
    }
    if (const OneBlock *end = set->row(k))
        out << tag << ' ' << k << ' ' << EntryText::g6(fromEV(end->pos, set->unit)) << " 0 0\n";
}

struct SetRead
{
    QStringList starts;
    QList<int> points;
    QStringList times;
};

// A count line: 1 when the value is missing, 0 when it is not a number.
int countFrom(const QStringList &items)
{
    return items.size() > 1 ? toIntOr0(items.at(1)) : 1;
}

// "QB i s p t": the items after the block number i are the start, the
// points and the time, as the writer puts them.
void addBlockLine(SetRead &set, const QStringList &items)
{
    if (items.size() > 2)
        set.starts << items.at(2);
    if (items.size() > 3)
        set.points << toIntOr0(items.at(3));
    if (items.size() > 4)
        set.times << items.at(4);
}

// Start values in the file are in its unit; the rows take eV. "R" offsets
// are already in eV.
QStringList startsInEV(const QStringList &starts, int unit)
{
    QStringList out;
    out.reserve(starts.size());
    for (const QString &s : starts) {
        if (!s.isEmpty() && s.at(0).toUpper() == QLatin1Char('R'))
            out << s;
        else
            out << QString::number(toEV(toDoubleOr0(s), unit), 'g', 17);
    }
    return out;
}

} // namespace

FileSelectDialog *ScheduleEdit::blockFileDialog()
{
    if (m_blockFileDialog)
        return m_blockFileDialog;
    m_blockFileDialog = new FileSelectDialog(this);
    m_blockFileDialog->setNameFilters({QStringLiteral("Block Def (*.prm)"),
                                       QStringLiteral("9809 (*.dat)"),
                                       QStringLiteral("any (*, *.*)")});
    m_blockFileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    m_blockFileDialog->setFileMode(QFileDialog::ExistingFile);
    QString root = rootDirFor(config());
    if (root.isEmpty())
        root = QDir::homePath();
    root.replace(QLatin1Char('~'), QDir::homePath());
    m_blockFileDialog->setDirectory(root);
    m_blockFileDialog->selectFile(ui.BlockDefFile->text());
    connect(m_blockFileDialog, &QFileDialog::fileSelected, this, &ScheduleEdit::blockFileSelected);
    return m_blockFileDialog;
}

void ScheduleEdit::selectBlockDefFile()
{
    FileSelectDialog *d = blockFileDialog();
    d->setAcceptMode(QFileDialog::AcceptOpen);
    d->setFileMode(QFileDialog::ExistingFile);
    d->show();
    savingBlockFile = false;
}

void ScheduleEdit::saveBlockDefFile()
{
    FileSelectDialog *d = blockFileDialog();
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    d->show();
    savingBlockFile = true;
}

void ScheduleEdit::blockFileSelected(const QString &fname)
{
    ui.BlockDefFile->setText(fname);
    if (savingBlockFile)
        saveBlockFile(fname);
    else if (is9809(fname) == 0)
        readBlockFromNormal(fname);
}

void ScheduleEdit::loadBlockFile(const QString &fname)
{
    if (is9809(fname) == 0)
        readBlockFromNormal(fname);
}

int ScheduleEdit::is9809(const QString &fname)
{
    QFile f(fname);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return 2;
    QTextStream in(&f);
    const QString first = in.readLine();
    return first.contains(QLatin1String("9809")) ? 1 : 0;
}

void ScheduleEdit::saveBlockFile(const QString &fname)
{
    QFileInfo info(fname);
    QString path = fname;
    if (info.suffix().isEmpty())
        path += QLatin1String(".prm");
    path = QFileInfo(path).absoluteFilePath();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug() << "Can't open block-file" << path;
        return;
    }
    QTextStream out(&f);
    out << "N " << ui.Blocks->value() << '\n';
    out << "U " << ui.BlockUnit->currentIndex() << '\n';
    OneBlocks *active = activeBlocks();
    writeSet(out, QStringLiteral("B"), active, active->shown, ui.MeasTimes->text());
    // The scan on show has its count and times in the form, the other one in
    // the remembered values; each section gets the ones that are current, so
    // that reading the file back restores both scans whichever was shown.
    const bool quick = active == quickBlocks;
    const int qn = quick ? ui.Blocks->value() : quickBlockCount;
    const int sn = quick ? stepBlockCount : ui.Blocks->value();
    out << "QN " << qn << '\n';
    writeSet(out, QStringLiteral("QB"), quickBlocks, qn, quick ? ui.MeasTimes->text() : quickTimes);
    out << "SN " << sn << '\n';
    writeSet(out, QStringLiteral("SB"), stepBlocks, sn, quick ? stepTimes : ui.MeasTimes->text());
}

void ScheduleEdit::readBlockFromNormal(const QString &fname)
{
    QFile f(fname);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&f);
    SetRead quick;
    SetRead step;
    int fileUnit = 0;
    static const QRegularExpression space(QStringLiteral("\\s"));
    while (!in.atEnd()) {
        const QStringList items = in.readLine().simplified().split(space);
        const QString &tag = items.at(0);
        if (tag == QLatin1String("U")) {
            const int u = items.size() > 1 ? toIntOr0(items.at(1)) : 0;
            // A unit this program does not have would turn every start into 0.
            if (u >= 0 && u < Units::count())
                fileUnit = u;
        } else if (tag == QLatin1String("QN")) {
            const int n = countFrom(items);
            if (n >= 0 && n <= quickBlocks->maxBlocks)
                quickBlockCount = n;
        } else if (tag == QLatin1String("SN")) {
            const int n = countFrom(items);
            if (n >= 0 && n <= stepBlocks->maxBlocks)
                stepBlockCount = n;
        } else if (tag == QLatin1String("QB")) {
            addBlockLine(quick, items);
        } else if (tag == QLatin1String("SB")) {
            addBlockLine(step, items);
        }
    }
    // The rows keep showing the entry's own unit (the one its BlockUnit
    // selector names and the engine announces); the file's unit only says
    // how to read its numbers.
    quickBlocks->setBlocks(quickBlockCount, startsInEV(quick.starts, fileUnit), quick.points, {});
    // The end line of a section carries a time of 0 that belongs to no block.
    if (quick.times.size() > quickBlockCount)
        quick.times = quick.times.mid(0, qMax(quickBlockCount, 1));
    if (step.times.size() > stepBlockCount)
        step.times = step.times.mid(0, qMax(stepBlockCount, 1));
    quickTimes = quick.times.join(QLatin1String(", "));
    stepBlocks->setBlocks(stepBlockCount, startsInEV(step.starts, fileUnit), step.points, {});
    stepTimes = step.times.join(QLatin1String(", "));
}

void ScheduleEdit::readBlockFrom9809(const QString &fname)
{
    Q_UNUSED(fname);
}
