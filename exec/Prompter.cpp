// SPDX-License-Identifier: GPL-3.0-or-later
#include "Prompter.h"

#include "ui_Prompt.h"
#include "ui_Prompter.h"

#include <QPushButton>

Prompt::Prompt(int id, const QString &msg, QWidget *parent)
    : QFrame(parent), ui(std::make_unique<Ui::Prompt>()), m_id(id)
{
    ui->setupUi(this);
    ui->PromptMsg->setText(msg);
    connect(ui->PromptOk, &QPushButton::clicked, this, &Prompt::ok);
}

Prompt::~Prompt() = default;

QString Prompt::msg() const
{
    return ui->PromptMsg->text();
}

void Prompt::confirm()
{
    ui->PromptOk->click();
}

Prompter::Prompter(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::Prompter>())
{
    ui->setupUi(this);
}

Prompter::~Prompter() = default;

void Prompter::addPrompt(int id, const QString &msg)
{
    auto *p = new Prompt(id, msg, this);
    prompts.append(p);
    ui->PrompterLayout->addWidget(p, ui->PrompterLayout->rowCount(), 0);
    // The prompt stays until the controller closes it: a second click before
    // then asks again, and the controller confirms each prompt once.
    connect(p, &Prompt::ok, this, [this, id] { emit confirmed(id); });
    shown();
}

void Prompter::closePrompt(int id)
{
    for (int i = 0; i < prompts.size(); ++i) {
        Prompt *p = prompts.at(i);
        if (p->id() != id)
            continue;
        prompts.removeAt(i);
        p->hide();
        p->deleteLater(); // the click handler may still be on the stack
        break;
    }
    shown();
}

void Prompter::shown()
{
    setVisible(!prompts.isEmpty());
    // adjustSize() honours the word-wrapped messages' height for their width;
    // the bare minimum size would cut the prompt texts off.
    adjustSize();
}
