// SPDX-License-Identifier: GPL-3.0-or-later
// One energy-block row of the editor: start, Points and Delta as shown.
//
// The row only shows texts and reports what the operator finished typing;
// the values and their coupling live in the entry's BlockSet (Entry.h). The
// form is built when the row is first shown or a caller asks for a field: a
// schedule holds many entries with 22 rows each, most of them never on screen.
#pragma once

#include <QFrame>
#include <QString>

#include <memory>

namespace Ui {
class OneBlock;
}
class QLineEdit;

class OneBlock : public QFrame
{
    Q_OBJECT
public:
    explicit OneBlock(QWidget *parent = nullptr);
    ~OneBlock() override;

    // 0 first row (captions shown), 1 inner row, 2 end row (Points/Delta disabled)
    void setMode(int m);
    int mode() const { return m_mode; }

    // Shows the three texts; nothing is reported back.
    void setTexts(const QString &start, const QString &points, const QString &delta);
    QString startText() const { return m_startText; }
    QString pointsText() const { return m_pointsText; }
    QString deltaText() const { return m_deltaText; }

    // The form, built on first use. Field widgets for callers that need them.
    QLineEdit *startPosEdit();
    QLineEdit *pointsEdit();
    QLineEdit *deltaEdit();
    bool hasForm() const { return bool(ui); }

signals:
    // The operator finished editing a field; its text is startText() etc.
    void newStartPos();
    void newPoints();
    void newDelta();

public slots:
    void startPosEdited();
    void pointsEdited();
    void deltaEdited();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ensureForm();
    void applyMode();

    std::unique_ptr<Ui::OneBlock> ui;
    int m_mode = 1;
    QString m_startText;
    QString m_pointsText;
    QString m_deltaText;
};
