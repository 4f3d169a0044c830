// Operator prompts. The engine (Exec) emits newPrompt() when the beamline
// set-up must be changed by hand; the main window connects it to
// Prompter::addPrompt(). Each message becomes a Prompt with an OK button;
// confirming it removes the prompt and emits ok(type), which the main window
// connects back to Exec::noticedPromptOk(). stat() reports the number of open
// prompts. Both classes live in the GUI thread.
#pragma once

#include "PromptType.h"
#include "ui_Prompt.h"
#include "ui_Prompter.h"

#include <QFrame>
#include <QList>
#include <QString>

class Prompt : public QFrame
{
    Q_OBJECT
public:
    explicit Prompt(QWidget *parent = nullptr);
    Prompt(const QString &msg, PromptType type, QWidget *parent = nullptr);

    PromptType pType() const { return m_type; }
    QString msg() const { return ui.PromptMsg->text(); }

    Ui::Prompt ui;

signals:
    void ok();

private:
    PromptType m_type = PromptNone;
};

class Prompter : public QFrame
{
    Q_OBJECT
public:
    explicit Prompter(QWidget *parent = nullptr);

    int count() const { return int(prompts.size()); }
    const QList<Prompt *> &openPrompts() const { return prompts; }

    Ui::Prompter ui;

public slots:
    void addPrompt(const QString &msg, PromptType pType);
    void askStat();

signals:
    void changedMsgs();
    void stat(int count);
    void ok(PromptType pType);

private slots:
    void noticedOk();
    void checkMsgs();

private:
    QList<Prompt *> prompts;
};
