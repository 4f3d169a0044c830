// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConnectStat.h"

#include <QLabel>
#include <QPushButton>

ConnectStat::ConnectStat(QLabel *label, QPushButton *button, QObject *parent)
    : QObject(parent), m_label(label), m_button(button)
{
    if (m_button)
        connect(m_button, &QPushButton::clicked, this, &ConnectStat::connectBClicked);
    setStat(Disconnected);
}

void ConnectStat::setStat(int state)
{
    m_state = state;
    QString labelText;
    QString labelStyle;
    QString buttonText;
    QString buttonStyle;
    switch (state) {
    case Disconnected:
        labelText = tr("Disconnected");
        labelStyle = QStringLiteral("background-color: rgb(176, 192, 192);");
        buttonText = tr("Connect");
        buttonStyle = QStringLiteral("background-color: rgb(96, 255, 181);");
        break;
    case Connecting:
        labelText = tr("Connecting");
        labelStyle = QStringLiteral("background-color: rgb(255, 243, 162);");
        buttonText = tr("Connecting");
        buttonStyle = QStringLiteral("background-color: rgb(240, 240, 240);");
        break;
    case Connected:
        labelText = tr("Connected");
        labelStyle = QStringLiteral("background-color: rgb(211, 255, 241);");
        buttonText = tr("Disconnect");
        buttonStyle = QStringLiteral("background-color: rgb(255, 255, 128);");
        break;
    default:
        return;
    }
    if (m_label) {
        m_label->setText(labelText);
        m_label->setStyleSheet(labelStyle);
    }
    if (m_button) {
        m_button->setText(buttonText);
        m_button->setStyleSheet(buttonStyle);
    }
}

void ConnectStat::connectBClicked()
{
    if (m_state != Disconnected)
        emit askDisconnect();
    else
        emit askConnect();
}
