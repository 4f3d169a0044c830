// SPDX-License-Identifier: GPL-3.0-or-later
// The block rows of one scan (quick or step) in the editor.
//
// A view of one BlockSet (Entry.h): showSet() puts the set's texts into the
// rows and shows rows 0 ... n (row n, the end row, without Points and Delta).
// What the operator types goes out as startTyped/pointsTyped/deltaTyped with
// the row index; the owner (ScheduleEdit) applies it to the entry's set,
// where the neighbouring values are recomputed, and shows the set again.
#pragma once

#include <QFrame>
#include <QString>
#include <QVector>

#include <memory>

class BlockSet;
class OneBlock;
namespace Ui {
class OneBlocks;
}

class OneBlocks : public QFrame
{
    Q_OBJECT
public:
    explicit OneBlocks(QWidget *parent = nullptr);
    ~OneBlocks() override;

    void setUp(int maxBlocks);
    void showSet(const BlockSet &set);

    int rowCount() const { return int(rows.size()); }
    OneBlock *row(int i) const { return i >= 0 && i < rows.size() ? rows.at(i) : nullptr; }
    int shown() const { return m_shown; }

signals:
    void startTyped(int i, const QString &text);
    void pointsTyped(int i, const QString &text);
    void deltaTyped(int i, const QString &text);

public slots:
    void noticedNewStartPos();
    void noticedNewPoints();
    void noticedNewDelta();

private:
    void showBlocks(int n);
    int senderRow() const;

    std::unique_ptr<Ui::OneBlocks> ui;
    QVector<OneBlock *> rows;
    int maxBlocks = 0;
    int m_shown = -1;
};
