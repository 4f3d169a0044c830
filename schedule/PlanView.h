// SPDX-License-Identifier: GPL-3.0-or-later
// The plan of the entry being edited, seen: its points along E - E0 with a k
// axis above the edge, the block boundaries and the edge, the dwell per point
// as a step line on a second axis, and a table of the blocks (E and k range,
// points, step in eV and as dk at both ends, dwell, time) with the totals.
// "k region…" opens the k-space region helper; the region it writes comes
// back as regionChosen.
#pragma once

#include "ScanPlan.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

// What the plot draws, worked out from the plan: tests read this instead
// of pixels.
struct PlanSeries
{
    QList<QPointF> points;               // (E - E0, dwell) of every point
    QList<double> boundaries;            // E - E0 of each block boundary, the scan's end included
    QList<QPointF> dwellSteps;           // the dwell step line, corner by corner
    QList<QPair<double, double>> kTicks; // (E - E0, k) of the k axis's ticks
};
PlanSeries planSeries(const ScanPlan::Plan &plan);

class PlanPlot : public QWidget
{
    Q_OBJECT
public:
    explicit PlanPlot(QWidget *parent = nullptr);
    void setPlan(const ScanPlan::Plan &plan);
    const PlanSeries &series() const { return m_series; }
    QSize sizeHint() const override { return {360, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PlanSeries m_series;
};

class PlanView : public QWidget
{
    Q_OBJECT
public:
    explicit PlanView(QWidget *parent = nullptr);
    void setEntry(const Entry &entry);
    const ScanPlan::Plan &plan() const { return m_plan; }
    PlanPlot *plot() const { return m_plot; }
    const QTableWidget *table() const { return m_table; }
    // Opens the dialog of an EXAFS region in k (modal).
    QPushButton *regionButton() const { return m_regionButton; }

signals:
    void regionChosen(const ScanPlan::Region &region);

private:
    void chooseRegion();

    ScanPlan::Plan m_plan;
    Entry m_entry;
    PlanPlot *m_plot = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_warnings = nullptr;
    QPushButton *m_regionButton = nullptr;
};
