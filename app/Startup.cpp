// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "ConfigStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString chooseConfigFile(const ConfigStore &store)
{
    const QString def = QStringLiteral("config.cfg");
    QString file = def;
    if (store.contains(QStringLiteral("-c")))
        file = store.value(QStringLiteral("-c"), def);
    if (store.contains(QStringLiteral("-config")))
        file = store.value(QStringLiteral("-config"), def);
    return file;
}

QString rootDirFor(const ConfigStore &store)
{
    QString dir = QDir::homePath();
    dir = store.valueNoCase(QStringLiteral("ROOT_DIR"), dir);
    dir = store.valueNoCase(QStringLiteral("-root"), dir);
    return dir;
}

const char *catalogueFor(const ConfigStore &store, const QLocale &locale)
{
    if (store.contains(QStringLiteral("-e")) || locale.language() == QLocale::English)
        return kEnglishCatalogue;
    return kCatalogue;
}

bool installQtCatalogue(QTranslator &translator)
{
    // qtbase_ja rather than qt_ja: the latter only forwards to the modules'
    // catalogues, and the program uses nothing beyond qtbase.
    if (!translator.load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
