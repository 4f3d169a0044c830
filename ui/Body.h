// The main window. For now a bare frame: closing it ends the program.
#pragma once

#include <QFrame>

class Body : public QFrame
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
};
