// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialog of block-definition files: a plain QFileDialog with the
// entry's start settings, no signals or slots of its own.
#pragma once

#include <QDir>
#include <QFileDialog>

class FileSelectDialog : public QFileDialog
{
public:
    explicit FileSelectDialog(QWidget *parent = nullptr)
        : QFileDialog(parent, QString(), QString(), QString())
    {
        setNameFilter(QStringLiteral("any (*, *.*)"));
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
        setDirectory(QDir::homePath());
    }
};
