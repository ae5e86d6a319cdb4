#include "db/TableFiles.h"

#include "db/DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace db {

namespace {

const QString indexSuffix = QStringLiteral("tcx");

QString withExtension(const QString &name)
{
    return QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".db") : name;
}

// Splits "System/Users" into the folder that holds the file and the file name.
QPair<QString, QString> locate(const QString &folder, const QString &name)
{
    const QFileInfo info(withExtension(name));
    const QString dirPart = QFileInfo(name).path();
    const QString dir = dirPart == QLatin1String(".") ? folder : QDir(folder).filePath(dirPart);
    return {QDir::cleanPath(dir), info.fileName()};
}

bool isCompanionSuffix(const QString &suffix)
{
    static const QStringList fixed = {QStringLiteral("db"), QStringLiteral("px"), QStringLiteral("mb"),
                                      QStringLiteral("val"), QStringLiteral("tv"), indexSuffix};
    if (fixed.contains(suffix, Qt::CaseInsensitive))
        return true;
    // Secondary index files: .X01 .Y01 .XG0 .YG0 ...
    static const QRegularExpression secondary(QStringLiteral("^[xy](\\d\\d|g\\d)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return secondary.match(suffix).hasMatch();
}

void deleteFiles(const QString &folder, const QString &name, bool withTableFile)
{
    const auto [dir, fileName] = locate(folder, name);
    const QString base = QFileInfo(fileName).completeBaseName();
    QDir qdir(dir);
    const QStringList entries = qdir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        const QFileInfo info(entry);
        if (info.completeBaseName().compare(base, Qt::CaseInsensitive) != 0 || !isCompanionSuffix(info.suffix()))
            continue;
        if (!withTableFile && entry.compare(fileName, Qt::CaseInsensitive) == 0)
            continue;
        if (!qdir.remove(entry))
            throw DbError(QStringLiteral("Cannot delete table file %1").arg(qdir.filePath(entry)));
    }
}

} // namespace

QString findTableFile(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const auto [dir, fileName] = locate(folder, name);
    const QDir qdir(dir);
    if (QFileInfo(qdir.filePath(fileName)).isFile())
        return qdir.filePath(fileName);
    const QStringList entries = qdir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return qdir.filePath(entry);
    return {};
}

QString tableFilePath(const QString &folder, const QString &name)
{
    const QString existing = findTableFile(folder, name);
    if (!existing.isEmpty())
        return existing;
    const auto [dir, fileName] = locate(folder, name);
    return QDir(dir).filePath(fileName);
}

void deleteTableFiles(const QString &folder, const QString &name)
{
    deleteFiles(folder, name, true);
}

void deleteCompanionFiles(const QString &folder, const QString &name)
{
    deleteFiles(folder, name, false);
}

QString indexFilePath(const QString &tablePath)
{
    const QFileInfo info(tablePath);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + indexSuffix);
}

} // namespace db
