// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanView.h"

#include "EntryText.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

PlanSeries planSeries(const ScanPlan::Plan &plan)
{
    PlanSeries s;
    for (int i = 0; i < plan.energies.size(); ++i)
        s.points << QPointF(plan.energies.at(i) - plan.edge, plan.dwells.at(i));
    for (const ScanPlan::Block &b : plan.blocks) {
        if (s.boundaries.isEmpty())
            s.boundaries << b.eFrom - plan.edge;
        s.boundaries << b.eTo - plan.edge;
        s.dwellSteps << QPointF(b.eFrom - plan.edge, b.dwell)
                     << QPointF(b.eTo - plan.edge, b.dwell);
    }
    if (!s.boundaries.isEmpty() && s.boundaries.last() > 0) {
        const double kEnd = ScanPlan::kOf(s.boundaries.last());
        const double every = kEnd > 12 ? 4 : kEnd > 6 ? 2 : 1;
        for (double k = every; k <= kEnd + 1e-9; k += every)
            s.kTicks << qMakePair(ScanPlan::eAboveEdgeOf(k), k);
    }
    return s;
}

PlanPlot::PlanPlot(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(240, 160);
}

void PlanPlot::setPlan(const ScanPlan::Plan &plan)
{
    m_series = planSeries(plan);
    update();
}

void PlanPlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const PlanSeries &s = m_series;
    if (s.boundaries.size() < 2)
        return;
    const QRectF area = QRectF(rect()).adjusted(56, 22, -40, -22);
    const double x0 = qMin(0.0, s.boundaries.first()), x1 = qMax(1.0, s.boundaries.last());
    double tMax = 0;
    for (const QPointF &d : s.dwellSteps)
        tMax = qMax(tMax, d.y());
    tMax = tMax > 0 ? tMax * 1.15 : 1;
    const auto X = [&](double e) { return area.left() + (e - x0) / (x1 - x0) * area.width(); };
    const auto Y = [&](double t) { return area.bottom() - t / tMax * area.height(); };
    p.setPen(palette().color(QPalette::Text));
    p.drawRect(area);
    // The edge and the block boundaries.
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(QPointF(X(0), area.top()), QPointF(X(0), area.bottom()));
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    for (double b : s.boundaries)
        p.drawLine(QPointF(X(b), area.top()), QPointF(X(b), area.bottom()));
    // The points as marks along the bottom, the dwell as a step line.
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    for (const QPointF &pt : s.points)
        p.drawLine(QPointF(X(pt.x()), area.bottom()), QPointF(X(pt.x()), area.bottom() - 6));
    p.setPen(QPen(Qt::darkGreen, 1.5));
    QPainterPath dwell;
    for (int i = 0; i < s.dwellSteps.size(); ++i) {
        const QPointF at(X(s.dwellSteps.at(i).x()), Y(s.dwellSteps.at(i).y()));
        i == 0 ? dwell.moveTo(at) : dwell.lineTo(at);
    }
    p.drawPath(dwell);
    // The axes' words.
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    p.drawText(QPointF(area.left(), area.bottom() + fm.ascent() + 2), EntryText::g6(x0));
    const QString end = EntryText::g6(x1) + tr(" eV from the edge");
    p.drawText(QPointF(area.right() - fm.horizontalAdvance(end), area.bottom() + fm.ascent() + 2),
               end);
    p.drawText(QPointF(area.right() + 4, Y(tMax / 1.15) + fm.ascent() / 2),
               EntryText::g6(tMax / 1.15) + tr(" s"));
    for (const auto &tick : s.kTicks) {
        const double x = X(tick.first);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.top() - 4));
        p.drawText(QPointF(x - 4, area.top() - 6), QString::number(tick.second));
    }
    if (!s.kTicks.isEmpty())
        p.drawText(QPointF(2, area.top() - 6), tr("k (1/A):"));
}

PlanView::PlanView(QWidget *parent) : QWidget(parent)
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    m_plot = new PlanPlot;
    m_table = new QTableWidget;
    m_table->setColumnCount(8);
    m_table->setHorizontalHeaderLabels({tr("E from the edge (eV)"), tr("k (1/A)"), tr("Points"),
                                        tr("Step (eV)"), tr("dk (1/A)"), tr("Dwell (s)"),
                                        tr("Time (s)"), QString()});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setMinimumHeight(150);
    m_warnings = new QLabel;
    m_warnings->setWordWrap(true);
    auto *region = m_regionButton = new QPushButton(tr("k region…"));
    region->setToolTip(tr("Write the EXAFS region as blocks from k start, k end and dk, with a "
                          "dwell time growing with k."));
    connect(region, &QPushButton::clicked, this, &PlanView::chooseRegion);
    box->addWidget(m_plot, 2);
    box->addWidget(m_table, 1);
    box->addWidget(m_warnings);
    box->addWidget(region, 0, Qt::AlignLeft);
}

void PlanView::setEntry(const Entry &entry)
{
    m_entry = entry;
    m_plan = ScanPlan::of(entry);
    m_plot->setPlan(m_plan);
    const auto range = [](double a, double b) {
        return a < 0 && b < 0
                   ? QStringLiteral("-")
                   : QStringLiteral("%1 - %2").arg(qMax(0.0, a), 0, 'f', 2).arg(b, 0, 'f', 2);
    };
    m_table->setRowCount(int(m_plan.blocks.size()) + 1);
    for (int i = 0; i < m_plan.blocks.size(); ++i) {
        const ScanPlan::Block &b = m_plan.blocks.at(i);
        const QStringList cells{
            QStringLiteral("%1 - %2").arg(EntryText::g6(b.eFrom - m_plan.edge),
                                          EntryText::g6(b.eTo - m_plan.edge)),
            range(b.kFrom, b.kTo),
            QString::number(b.points),
            EntryText::g6(b.stepFirst),
            b.dkFirst < 0
                ? QStringLiteral("-")
                : QStringLiteral("%1 - %2").arg(b.dkFirst, 0, 'f', 3).arg(b.dkLast, 0, 'f', 3),
            EntryText::g6(b.dwell),
            EntryText::g6(b.seconds)};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(i, c, new QTableWidgetItem(cells.at(c)));
    }
    const int total = int(m_plan.blocks.size());
    m_table->setItem(total, 0, new QTableWidgetItem(tr("Total")));
    for (int c = 1; c < 7; ++c)
        m_table->setItem(total, c, new QTableWidgetItem());
    m_table->item(total, 2)->setText(QString::number(m_plan.points));
    m_table->item(total, 6)->setText(EntryText::g6(m_plan.seconds));
    m_warnings->setText(ScanPlan::warnings(m_plan).join(QLatin1Char('\n')));
}

void PlanView::chooseRegion()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("EXAFS region in k"));
    auto *form = new QFormLayout(&dialog);
    const auto number = [&form](const QString &label, double value, double step, int decimals) {
        auto *box = new QDoubleSpinBox;
        box->setDecimals(decimals);
        box->setRange(0, 30);
        box->setSingleStep(step);
        box->setValue(value);
        form->addRow(label, box);
        return box;
    };
    ScanPlan::Region r;
    QDoubleSpinBox *kStart = number(tr("k start (1/A)"), r.kStart, 0.5, 2);
    QDoubleSpinBox *kEnd = number(tr("k end (1/A)"), r.kEnd, 0.5, 2);
    QDoubleSpinBox *dk = number(tr("dk (1/A)"), r.dk, 0.01, 3);
    QDoubleSpinBox *t0 = number(tr("Dwell t0 (s)"), r.t0, 0.5, 2);
    t0->setRange(0, 1000);
    QDoubleSpinBox *k0 = number(tr("at k0 (1/A)"), r.k0, 0.5, 2);
    auto *n = new QComboBox;
    n->addItems({tr("constant"), tr("t0 (k/k0)"), tr("t0 (k/k0)^2"), tr("t0 (k/k0)^3")});
    form->addRow(tr("Dwell law"), n);
    auto *blocks = new QSpinBox;
    blocks->setRange(1, BlockSet::maxBlocks);
    blocks->setValue(r.maxBlocks);
    form->addRow(tr("Blocks at most"), blocks);
    auto *outcome = new QLabel;
    form->addRow(outcome);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    const auto region = [&] {
        ScanPlan::Region out;
        out.kStart = kStart->value();
        out.kEnd = kEnd->value();
        out.dk = dk->value();
        out.t0 = t0->value();
        out.k0 = k0->value();
        out.n = n->currentIndex();
        out.maxBlocks = blocks->value();
        return out;
    };
    // The outcome as the values change: what the blocks can do for the grid.
    const auto preview = [&] {
        const ScanPlan::RegionResult res = ScanPlan::applyRegion(m_entry, region());
        buttons->button(QDialogButtonBox::Ok)->setEnabled(res.ok);
        outcome->setText(res.ok
                             ? tr("%1 blocks kept, %2 written; steps stray at most %3 % from "
                                  "dk; dwell time %4 s (the law's: %5 s).")
                                   .arg(res.blocksKept)
                                   .arg(res.blocksWritten)
                                   .arg(res.maxDeviation * 100, 0, 'f', 1)
                                   .arg(EntryText::g6(res.seconds), EntryText::g6(res.lawSeconds))
                             : res.error);
    };
    for (QDoubleSpinBox *b : {kStart, kEnd, dk, t0, k0})
        connect(b, &QDoubleSpinBox::valueChanged, &dialog, preview);
    connect(n, &QComboBox::currentIndexChanged, &dialog, preview);
    connect(blocks, &QSpinBox::valueChanged, &dialog, preview);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    preview();
    if (dialog.exec() == QDialog::Accepted)
        emit regionChosen(region());
}
