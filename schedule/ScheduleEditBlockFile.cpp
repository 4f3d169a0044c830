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

void writeSet(QTextStream &out, const QString &tag, const OneBlocks *set, const QString &times)
{
    const int k = set->shown;
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

void addBlockLine(SetRead &set, const QStringList &items)
{
    if (items.size() > 1)
        set.starts << items.at(1);
    if (items.size() > 2)
        set.points << toIntOr0(items.at(2));
    if (items.size() > 3)
        set.times << items.at(3);
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
    writeSet(out, QStringLiteral("B"), activeBlocks(), ui.MeasTimes->text());
    out << "QN " << quickBlockCount << '\n';
    writeSet(out, QStringLiteral("QB"), quickBlocks, quickTimes);
    out << "SN " << stepBlockCount << '\n';
    writeSet(out, QStringLiteral("SB"), stepBlocks, stepTimes);
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
    quickTimes = quick.times.join(QLatin1String(", "));
    stepBlocks->setBlocks(stepBlockCount, startsInEV(step.starts, fileUnit), step.points, {});
    stepTimes = step.times.join(QLatin1String(", "));
}

void ScheduleEdit::readBlockFrom9809(const QString &fname)
{
    Q_UNUSED(fname);
}
