// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule as a document: which file holds it, whether the list has
// changed since that file was saved or loaded, and the recovery file that
// keeps edits not yet saved across a crash. It reads and writes the list
// only through the schedule model; the window adds the file dialog and the
// questions, an unattended run uses it as it is.
#pragma once

#include "Csv.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>

class ScheduleModel;

class ScheduleDocument : public QObject
{
    Q_OBJECT
public:
    ScheduleDocument(ScheduleModel *list, const QString &recoveryPath, QObject *parent = nullptr);

    // The file the list was last saved to or loaded from (empty: none).
    QString file() const { return m_file; }
    bool changed() const { return m_changed; }
    QString recoveryPath() const { return m_recoveryPath; }

    // Puts the entries read from a file after those in the list (none after
    // Clear on Load). Entries kept from before make a list no file holds.
    void loaded(const QList<Entry> &entries, const QString &file);
    // The list now holds what this file holds (a run's copy resumed).
    void holds(const QString &file);
    // Writes the list; on success the document is that file (".csv" may
    // have been added to the name).
    Csv::WriteResult save(const QString &path);
    // A choice of entries for one run (ticks set by a script) is no edit.
    template <typename Edit> void withoutChange(Edit edit)
    {
        const bool was = m_changed;
        edit();
        m_changed = was;
    }
    // Ticks exactly the entries with these numbers (from 1), unticks the
    // others: the choice of one run, so no edit either.
    void tickOnly(const QSet<int> &numbers);

    // Writes the list to the recovery file when it has changed since it was
    // saved or loaded. A failure gives its text once, until a write succeeds
    // again (an empty text on repeats).
    bool keepEdits(QString *error);
    void discardEdits();
    bool hasRecovery() const;
    QDateTime recoveryWritten() const;
    Csv::ReadResult readRecovery() const { return Csv::read(m_recoveryPath); }
    // Recovered edits are in the list: still unsaved, still kept.
    void recovered(const QList<Entry> &entries);

signals:
    void fileChanged(const QString &file);

private:
    void setFile(const QString &file);
    // After the entries in the list; true when there were some.
    bool put(const QList<Entry> &entries);

    ScheduleModel *m_list = nullptr;
    QString m_file;
    QString m_recoveryPath;
    bool m_changed = false;
    bool m_recoveryWarned = false;
};
