// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run's window: the listing of the Check button (DryRun.h) as text,
// which the operator can save. Not modal; the main window keeps one and fills
// it anew at each Check.
#pragma once

#include "Entry.h"

#include <QFrame>
#include <QList>
#include <QString>

#include <memory>

namespace Ui {
class DryRunWindow;
}

class DryRunWindow : public QFrame
{
    Q_OBJECT
public:
    explicit DryRunWindow(QWidget *parent = nullptr);
    ~DryRunWindow() override;

    void setListing(const QString &text);
    // The Check of these entries as the configuration says, shown in front.
    void showCheck(const QList<Entry> &entries);
    QString listing() const;
    // Writes the listing to path; the error for the operator, empty on success.
    QString saveTo(const QString &path) const;
    // Writes the listing to path; an error is shown in a box beside the window.
    void saveListingAs(const QString &path);

private slots:
    void saveAsText();

private:
    std::unique_ptr<Ui::DryRunWindow> ui;
};
