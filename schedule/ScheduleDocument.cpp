// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScheduleDocument.h"

#include "ScheduleModel.h"

#include <QFile>
#include <QFileInfo>

ScheduleDocument::ScheduleDocument(ScheduleModel *list, const QString &recoveryPath,
                                   QObject *parent)
    : QObject(parent), m_list(list), m_recoveryPath(recoveryPath)
{
    connect(list, &ScheduleModel::edited, this, [this] { m_changed = true; });
}

void ScheduleDocument::setFile(const QString &file)
{
    m_file = file;
    emit fileChanged(file);
}

bool ScheduleDocument::put(const QList<Entry> &entries)
{
    const bool kept = m_list->count() > 0;
    if (!kept) {
        m_list->setEntries(entries);
    } else {
        for (const Entry &e : entries)
            m_list->insert(m_list->count(), e);
    }
    return kept;
}

void ScheduleDocument::loaded(const QList<Entry> &entries, const QString &file)
{
    const bool kept = put(entries);
    setFile(file);
    m_changed = kept;
    if (!kept)
        discardEdits();
}

void ScheduleDocument::holds(const QString &file)
{
    setFile(file);
    m_changed = false;
}

Csv::WriteResult ScheduleDocument::save(const QString &path)
{
    const Csv::WriteResult r = Csv::write(path, m_list->entries());
    if (!r.ok)
        return r; // the document stays the file that really holds it
    setFile(r.path);
    m_changed = false;
    discardEdits();
    return r;
}

bool ScheduleDocument::keepEdits(QString *error)
{
    if (!m_changed)
        return false;
    const Csv::WriteResult r = Csv::write(m_recoveryPath, m_list->entries());
    if (r.ok) {
        m_recoveryWarned = false;
        return true;
    }
    // Every 30 s would bury the log.
    *error = m_recoveryWarned ? QString() : r.error;
    m_recoveryWarned = true;
    return false;
}

void ScheduleDocument::discardEdits()
{
    QFile::remove(m_recoveryPath);
}

bool ScheduleDocument::hasRecovery() const
{
    return QFileInfo::exists(m_recoveryPath);
}

QDateTime ScheduleDocument::recoveryWritten() const
{
    return QFileInfo(m_recoveryPath).lastModified();
}

void ScheduleDocument::recovered(const QList<Entry> &entries)
{
    put(entries);
    setFile(QString());
    m_changed = true; // the recovery file keeps them until they are saved
}

void ScheduleDocument::tickOnly(const QSet<int> &numbers)
{
    withoutChange([this, &numbers] {
        for (int i = 0; i < m_list->count(); ++i) {
            Entry e = m_list->entry(i);
            e.exec = numbers.contains(i + 1);
            m_list->setEntry(i, e);
        }
    });
}
