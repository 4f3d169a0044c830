// SPDX-License-Identifier: GPL-3.0-or-later
// Operator prompts on screen. The run controller raises a prompt when the
// beamline set-up must be changed by hand (RunController::promptRaised); the
// main window shows it here as a Prompt with an OK button. Confirming it
// emits confirmed(id), which the window hands back to the controller; the
// controller then closes it (closePrompt). The prompter only shows: which
// prompts are open, and what confirming one does, is the controller's.
#pragma once

#include <QFrame>
#include <QList>
#include <QString>

#include <memory>

namespace Ui {
class Prompt;
class Prompter;
} // namespace Ui

class Prompt : public QFrame
{
    Q_OBJECT
public:
    Prompt(int id, const QString &msg, QWidget *parent = nullptr);
    ~Prompt() override;

    int id() const { return m_id; }
    QString msg() const;
    // As the OK button does.
    void confirm();

signals:
    void ok();

private:
    std::unique_ptr<Ui::Prompt> ui;
    int m_id = 0;
};

class Prompter : public QFrame
{
    Q_OBJECT
public:
    explicit Prompter(QWidget *parent = nullptr);
    ~Prompter() override;

    int count() const { return int(prompts.size()); }
    const QList<Prompt *> &openPrompts() const { return prompts; }

public slots:
    void addPrompt(int id, const QString &msg);
    void closePrompt(int id);

signals:
    void confirmed(int id);

private:
    void shown();

    std::unique_ptr<Ui::Prompter> ui;
    QList<Prompt *> prompts;
};
