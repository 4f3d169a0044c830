#include "Prompter.h"

#include <QPushButton>

Prompt::Prompt(QWidget *parent) : Prompt(QString(), PromptNone, parent) {}

Prompt::Prompt(const QString &msg, PromptType type, QWidget *parent) : QFrame(parent), m_type(type)
{
    ui.setupUi(this);
    if (!msg.isNull())
        ui.PromptMsg->setText(msg);
    connect(ui.PromptOk, &QPushButton::clicked, this, &Prompt::ok);
}

Prompter::Prompter(QWidget *parent) : QFrame(parent)
{
    ui.setupUi(this);
    connect(this, &Prompter::changedMsgs, this, &Prompter::checkMsgs);
}

void Prompter::addPrompt(const QString &msg, PromptType pType)
{
    auto *p = new Prompt(msg, pType, this);
    prompts.append(p);
    ui.PrompterLayout->addWidget(p, ui.PrompterLayout->rowCount(), 0);
    connect(p, &Prompt::ok, this, &Prompter::noticedOk);
    show();
    emit changedMsgs();
}

void Prompter::askStat()
{
    emit stat(count());
}

void Prompter::noticedOk()
{
    auto *p = qobject_cast<Prompt *>(sender());
    const qsizetype i = p ? prompts.indexOf(p) : -1;
    if (i < 0) {
        emit changedMsgs();
        return;
    }
    prompts.removeAt(i);
    // Once confirmed the prompt is inert: a second click (queued before the
    // deferred deletion) must not confirm its type again.
    disconnect(p, &Prompt::ok, this, &Prompter::noticedOk);
    p->hide();
    emit ok(p->pType());
    p->deleteLater(); // the click handler is still on the stack
    emit changedMsgs();
}

void Prompter::checkMsgs()
{
    if (prompts.isEmpty())
        hide();
    emit stat(count());
    // adjustSize() honours the word-wrapped messages' height for their width;
    // the bare minimum size would cut the prompt texts off.
    adjustSize();
}
