#include "Startup.h"

#include "ConfigStore.h"

#include <QDir>

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
