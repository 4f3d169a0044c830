// One energy-block row of a scan: start position, Points and Delta.
//
// The row keeps its values itself (pos in eV, the three texts) and builds its
// form only when it is first shown or a caller asks for a field widget: a
// schedule holds hundreds of entries with 22 rows each, most of them never on
// screen, and the execution engine reads the values, not the widgets.
// OneBlocks (OneBlocks.h) owns the rows of one scan and couples their values.
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

    // Start given in eV, absolute or "R"-relative to origin; the display unit
    // is not applied (standard sets, block files).
    void setStartText(const QString &text);
    void setPoints(int n);
    void setDelta(double d);
    // Points as a base-10 integer, 0 when it is not one.
    int points() const;
    // Delta text as a number, 0 when it is not one.
    double delta() const;

    // Set a text without any signal: the neighbours are not recomputed.
    void setPointsText(const QString &text);
    void setDeltaText(const QString &text);

    // Set a text as if typed; react only when the text changed.
    void setStartTyped(const QString &text);
    void setPointsTyped(const QString &text);
    void setDeltaTyped(const QString &text);

    QString startText() const { return m_startText; }
    QString pointsText() const { return m_pointsText; }
    QString deltaText() const { return m_deltaText; }
    // The start in the row's display unit (what the target is sent).
    double displayValue() const;

    // The form, built on first use. Field widgets for callers that need them.
    QLineEdit *startPosEdit();
    QLineEdit *pointsEdit();
    QLineEdit *deltaEdit();
    bool hasForm() const { return bool(ui); }

    int unit = 0;       // display unit index (0 eV, 1 keV, 2 A, 3 deg)
    bool isRel = false; // start shown relative to origin
    double pos = 0;     // start, absolute, eV
    double origin = 0;  // edge energy (eV) that relative values refer to

signals:
    void newStartPos();
    void newPoints();
    void newDelta();

public slots:
    void startPosEdited();
    void pointsEdited();
    void deltaEdited();
    void showNode();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ensureForm();
    void applyMode();
    void setStartShown(const QString &text);

    std::unique_ptr<Ui::OneBlock> ui;
    int m_mode = 1;
    QString m_startText;
    QString m_pointsText;
    QString m_deltaText;
};
