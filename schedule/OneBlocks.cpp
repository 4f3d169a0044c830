#include "OneBlocks.h"

#include "Detach.h"

#include "EntryText.h"
#include "OneBlock.h"
#include "Units.h"
#include "XrayDataBase.h"

#include <climits>
#include <cmath>

namespace {

// Points for a width and a step: the quotient truncated toward zero. The
// quotient is first widened by a part in 10^9 so that floating-point noise
// (0.26 keV / 0.0065 keV computing as 39.9999999999) does not cost a point;
// the six-digit rounding of Delta is far larger and still counts.
int pointsFor(double width, double delta)
{
    const double q = width / delta * (1 + 1e-9);
    if (!std::isfinite(q))
        return 0;
    if (q >= double(INT_MAX))
        return INT_MAX;
    if (q <= double(INT_MIN))
        return INT_MIN;
    return int(std::trunc(q));
}

} // namespace

OneBlocks::OneBlocks(QWidget *parent) : QFrame(parent)
{
    ui.setupUi(this);
}

OneBlocks::~OneBlocks()
{
    detachFromChildren(this);
}

void OneBlocks::setUp(int m)
{
    origin = xrayDataBase().edgeEnergy(QStringLiteral("Cu"), QStringLiteral("K"));
    maxBlocks = m < 0 ? 0 : m;
    unit = 0;
    for (OneBlock *r : std::as_const(rows)) {
        r->hide();
        r->deleteLater();
    }
    rows.clear();
    rows.reserve(maxBlocks + 1);
    for (int i = 0; i <= maxBlocks; ++i) {
        auto *r = new OneBlock(this);
        r->setMode(i == 0 ? 0 : 1);
        ui.RowsLayout->addWidget(r, 0, i);
        connect(r, &OneBlock::newStartPos, this, &OneBlocks::noticedNewStartPos);
        connect(r, &OneBlock::newPoints, this, &OneBlocks::noticedNewPoints);
        connect(r, &OneBlock::newDelta, this, &OneBlocks::noticedNewDelta);
        rows.append(r);
    }
    ui.RowsLayout->setColumnStretch(maxBlocks + 1, 1);
}

void OneBlocks::showBlocks(int n)
{
    if (n < 0 || n > maxBlocks)
        return;
    shown = n;
    for (int i = 1; i < rows.size(); ++i) {
        rows.at(i)->setVisible(i < n);
        rows.at(i)->setMode(1);
    }
    if (!rows.isEmpty()) {
        rows.at(0)->setVisible(true);
        rows.at(0)->setMode(0);
        rows.at(n)->setVisible(true);
        rows.at(n)->setMode(n == 0 ? 0 : 2);
    }
}

double OneBlocks::width(int i) const
{
    if (i < 0 || i >= shown || i + 1 >= rows.size())
        return 0;
    return fromEV(rows.at(i + 1)->pos, unit) - fromEV(rows.at(i)->pos, unit);
}

void OneBlocks::setUnit(int u)
{
    unit = u;
    for (OneBlock *r : std::as_const(rows)) {
        r->unit = u;
        r->showNode();
    }
    // A change of display unit only shows the blocks differently: the Delta
    // follows, but the Points the target measures must not move because the
    // new Delta is rounded to six digits.
    for (int i = 0; i < shown && i < rows.size(); ++i)
        refreshDelta(i);
}

void OneBlocks::setBlocks(int n, const QStringList &starts, const QList<int> &points,
                          const QList<double> &deltas)
{
    const int keptUnit = unit;
    setUnit(0);
    showBlocks(n);
    for (int i = 0; i < starts.size() && i < rows.size(); ++i)
        rows.at(i)->setStartText(starts.at(i));
    // Given Points are taken as they are and the Delta follows them; the
    // Delta-to-Points recomputation would drop a point whenever the six-digit
    // Delta rounds up.
    for (int i = 0; i < points.size() && i < rows.size(); ++i) {
        rows.at(i)->setPointsText(QString::number(points.at(i)));
        if (points.at(i) != 0)
            refreshDelta(i);
    }
    for (int i = 0; i < deltas.size() && i < rows.size(); ++i) {
        rows.at(i)->setDelta(deltas.at(i));
        if (deltas.at(i) != 0)
            rows.at(i)->setPoints(pointsFor(width(i), deltas.at(i)));
    }
    setUnit(keptUnit);
}

void OneBlocks::refreshDelta(int i)
{
    if (i < 0 || i >= rows.size())
        return;
    const int p = rows.at(i)->points();
    // A block without points has no step width; dividing would write
    // "inf" or "nan" into the Delta field and from there into files.
    if (p != 0 && std::isfinite(width(i) / p))
        rows.at(i)->setDeltaText(EntryText::g6(width(i) / p));
}

void OneBlocks::setOrigin(double e)
{
    origin = e;
    for (OneBlock *r : std::as_const(rows)) {
        r->pos = r->pos - r->origin + e;
        r->origin = e;
        r->showNode();
    }
}

void OneBlocks::setRelative(bool f)
{
    for (OneBlock *r : std::as_const(rows)) {
        r->isRel = f;
        r->showNode();
    }
}

void OneBlocks::showNodes()
{
    for (OneBlock *r : std::as_const(rows))
        r->showNode();
}

int OneBlocks::senderRow() const
{
    const QObject *s = sender();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i) == s)
            return i;
    }
    return -1;
}

void OneBlocks::noticedNewStartPos()
{
    const int i = senderRow();
    if (i < 0)
        return;
    if (i == 0) {
        pointsUpdated(0);
    } else if (i < shown) {
        pointsUpdated(i);
        pointsUpdated(i - 1);
    } else if (i == shown) {
        pointsUpdated(i - 1);
    }
}

void OneBlocks::noticedNewPoints()
{
    const int i = senderRow();
    if (i >= 0 && i < shown)
        pointsUpdated(i);
}

void OneBlocks::noticedNewDelta()
{
    const int i = senderRow();
    if (i >= 0 && i < shown)
        deltaUpdated(i);
}

void OneBlocks::startPosUpdated(int i)
{
    pointsUpdated(i);
    if (i >= 1)
        pointsUpdated(i - 1);
}

void OneBlocks::pointsUpdated(int i)
{
    if (i < 0 || i >= rows.size())
        return;
    const int p = rows.at(i)->points();
    // Starts far outside any energy can make the width overflow; an infinite
    // step is no step.
    if (p != 0 && std::isfinite(width(i) / p))
        rows.at(i)->setDelta(width(i) / p);
}

void OneBlocks::deltaUpdated(int i)
{
    if (i < 0 || i >= rows.size())
        return;
    const double d = rows.at(i)->delta();
    if (d != 0)
        rows.at(i)->setPoints(pointsFor(width(i), d));
}
