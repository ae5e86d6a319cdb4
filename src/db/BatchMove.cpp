#include "db/BatchMove.h"

#include "db/Dataset.h"
#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/TableFiles.h"

#include <QFile>

namespace db {

namespace {

QVector<QVector<QVariant>> sourceRows(Dataset &source, int width)
{
    QVector<QVector<QVariant>> rows;
    rows.reserve(source.recordCount());
    for (source.first(); !source.eof(); source.next()) {
        QVector<QVariant> row(width);
        for (int f = 0; f < width && f < source.fields().size(); ++f)
            row[f] = source.value(f);
        rows.append(row);
    }
    return rows;
}

} // namespace

void BatchMove::setDestination(const QString &folder, const QString &table)
{
    m_folder = folder;
    m_table = table;
}

int BatchMove::execute()
{
    if (!m_source || m_table.isEmpty())
        throw DbError(m_name + QStringLiteral(": Invalid batch move parameters"));
    return m_mode == Mode::Copy ? copy() : append();
}

// The new table is written beside the old one first, so a failure leaves the old one untouched.
int BatchMove::copy()
{
    TableData data;
    data.fields = m_source->fields();
    data.codePage = m_source->codePage();
    data.records = sourceRows(*m_source, int(data.fields.size()));
    const QString path = tableFilePath(m_folder, m_table);
    const QString fresh = path + QStringLiteral(".new");
    writeParadoxTable(fresh, data);
    deleteTableFiles(m_folder, m_table);
    if (!QFile::rename(fresh, path)) {
        QFile::remove(fresh);
        throw DbError(QStringLiteral("%1: cannot create table %2").arg(m_name, path));
    }
    return int(data.records.size());
}

int BatchMove::append()
{
    const QString path = findTableFile(m_folder, m_table);
    if (path.isEmpty())
        throw DbError(QStringLiteral("%1: table %2 does not exist in %3").arg(m_name, m_table, m_folder));
    TableData data = readParadoxTable(path);
    const QVector<QVector<QVariant>> rows = sourceRows(*m_source, int(data.fields.size()));
    data.records += rows;
    writeParadoxTable(path, data); // converts each value to its field's type, or throws naming it
    return int(rows.size());
}

} // namespace db
