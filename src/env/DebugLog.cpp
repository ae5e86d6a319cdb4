#include "env/DebugLog.h"

#include "platform/Folders.h"
#include "platform/LocaleFormat.h"
#include "platform/ProcessList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

bool DebugLogOff = false;

namespace {
constexpr int MaxEntries = 500;

// CR LF and lone CR become LF.
QString withLf(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The file's lines, split at CR LF, LF or CR; empty when it cannot be read.
QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = withLf(QString::fromUtf8(file.readAll()));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString withCrLf(const QString &text)
{
    return withLf(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}
} // namespace

QString debugLogPath() { return programFolder() + QStringLiteral("/DEBUG.LOG"); }

void DebugLog(const QString &msg)
{
    if (DebugLogOff)
        return;
    const QString path = debugLogPath();
    QStringList entries = readLines(path);
    // getpid() is the id of the main thread on Linux.
    entries << defaultDateTimeText(QDateTime::currentDateTime()) + QStringLiteral(" [") +
                   QString::number(::getpid()) + QStringLiteral("]  ") + withCrLf(msg);
    if (entries.size() > MaxEntries)
        entries.erase(entries.begin(), entries.end() - MaxEntries);
    QByteArray bytes;
    for (const QString &entry : std::as_const(entries))
        bytes += entry.toUtf8() + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        DebugLogOff = true;
}

void DebugLogFile(const QString &fileName)
{
    QFile file(programFolder() + QLatin1Char('/') + fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    QString text;
    for (const QString &line : readLines(file.fileName()))
        text += line + QStringLiteral("\r\n");
    DebugLog(fileName);
    DebugLog(text);
}

void FlushFolder(const QString &mask)
{
    const QFileInfo info(mask);
    const QString pattern = info.fileName() == QLatin1String("*.*") ? QStringLiteral("*") : info.fileName();
    QDir folder = info.dir();
    for (const QString &name : folder.entryList({pattern}, QDir::Files))
        folder.remove(name);
}

QString YesNo(bool value) { return value ? QStringLiteral("Yes") : QStringLiteral("No"); }

int CountInstances() { return countProcessesNamed(programFileName()); }
