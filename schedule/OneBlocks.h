// The block rows of one scan (quick or step) and the coupling of their values.
//
// A set has maxBlocks + 1 rows side by side; with n blocks shown, block i runs
// from row i's start to row i + 1's start, so row n is the end row. Editing a
// start, Points or Delta in one row recomputes the neighbouring values here.
// ScheduleEdit owns two sets and shows the one of its scan type; the execution
// engine reads rows 0 ... Blocks of the active set (pos, unit, points()).
#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>
#include <QVector>

#include "ui_OneBlocks.h"

class OneBlock;

class OneBlocks : public QFrame
{
    Q_OBJECT
public:
    explicit OneBlocks(QWidget *parent = nullptr);
    ~OneBlocks() override;

    void setUp(int maxBlocks);
    // Shows n blocks (rows 0 ... n). A count outside 0 ... maxBlocks is ignored.
    void showBlocks(int n);
    void setUnit(int u);
    // starts in eV, absolute or "R"-relative; points and deltas may be shorter
    // than n (or empty), the remaining rows keep their values.
    void setBlocks(int n, const QStringList &starts, const QList<int> &points,
                   const QList<double> &deltas);
    void setOrigin(double e);
    void setRelative(bool f);
    // Width of block i in the display unit; 0 for a block that is not shown.
    double width(int i) const;

    int rowCount() const { return int(rows.size()); }
    OneBlock *row(int i) const { return i >= 0 && i < rows.size() ? rows.at(i) : nullptr; }
    // Every row redisplays its start (after a change of the lattice spacing).
    void showNodes();
    // Delta of block i shown again from its Points and width, without the
    // Delta-to-Points recomputation: Points stays as it is.
    void refreshDelta(int i);

    Ui::OneBlocks ui;
    QVector<OneBlock *> rows;
    int maxBlocks = 0;
    int shown = 0;
    int unit = 0;
    double origin = 0; // edge energy, eV

public slots:
    void noticedNewStartPos();
    void noticedNewPoints();
    void noticedNewDelta();
    void startPosUpdated(int i);
    void pointsUpdated(int i);
    void deltaUpdated(int i);

private:
    int senderRow() const;
};
