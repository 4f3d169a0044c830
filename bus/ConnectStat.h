// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the bus connection state and shows it on the status label and the
// connect button of the client's settings row. The bus client (Tolva) creates
// it on its form and changes the state only through setStat().
#pragma once

#include "BusConnection.h"

#include <QObject>

class QLabel;
class QPushButton;

class ConnectStat : public QObject, public BusConnection
{
    Q_OBJECT
public:
    ConnectStat(QLabel *label, QPushButton *button, QObject *parent = nullptr);

    void setStat(int state);
    int stat() const { return m_state; }

signals:
    void askConnect();
    void askDisconnect();

private slots:
    void connectBClicked();

private:
    QLabel *m_label = nullptr;
    QPushButton *m_button = nullptr;
    int m_state = Disconnected;
};
