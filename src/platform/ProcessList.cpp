#include "platform/ProcessList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The program file name of one process: from its exe link, or, for processes
// of other users whose link cannot be read, from its first argument.
QString processFileName(const QString &procDir)
{
    QString target = QFileInfo(procDir + QStringLiteral("/exe")).symLinkTarget();
    if (target.isEmpty()) {
        QFile cmdline(procDir + QStringLiteral("/cmdline"));
        if (!cmdline.open(QIODevice::ReadOnly))
            return {};
        target = QString::fromLocal8Bit(cmdline.readAll().split('\0').value(0));
    }
    if (target.endsWith(QLatin1String(" (deleted)")))
        target.chop(10);
    return QFileInfo(target).fileName();
}
} // namespace

int countProcessesNamed(const QString &fileName)
{
    const QDir proc(QStringLiteral("/proc"));
    int count = 0;
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toInt(&numeric);
        if (numeric && processFileName(proc.filePath(entry)).compare(fileName, Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}
