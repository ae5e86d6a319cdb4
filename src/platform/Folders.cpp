#include "platform/Folders.h"

#include <QDir>
#include <QFileInfo>

namespace {
QFileInfo programFile() { return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()); }
} // namespace

QString withoutTrailingSeparator(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path.chopped(1);
    return path;
}

QString programFolder()
{
    const QString home = qEnvironmentVariable("TOCREWMINT_HOME");
    if (!home.isEmpty())
        return home == QLatin1String("/") ? home : withoutTrailingSeparator(home);
    return programFile().absolutePath();
}

QString programFileName() { return programFile().fileName(); }

QString programBaseName() { return programFile().completeBaseName(); }

QString systemTempFolder()
{
    for (const char *name : {"Temp", "TEMP", "TMPDIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty() && value != QLatin1String("/"))
            return withoutTrailingSeparator(value);
    }
    return QStringLiteral("/tmp");
}

bool FolderExists(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool MakeFolder(const QString &path) { return !path.isEmpty() && QDir().mkpath(path); }
