#include "db/TableCache.h"

#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>


namespace db {

namespace {

const char *affinity(FieldType type)
{
    if (isIntegerType(type) || type == FieldType::Logical)
        return "INT";
    if (isNumeric(type))
        return "REAL";
    return "TEXT";
}

QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

TableCache::TableCache() = default;
TableCache::~TableCache() = default;

sqlite::Connection &TableCache::connection()
{
    if (!m_connection)
        m_connection = std::make_unique<sqlite::Connection>();
    return *m_connection;
}

void TableCache::clear()
{
    m_entries.clear();
    m_connection.reset();
}

QString TableCache::declaredType(const FieldDef &field)
{
    return QStringLiteral("%1_PX%2_%3").arg(QLatin1String(affinity(field.type))).arg(int(field.type)).arg(field.size);
}

bool TableCache::fieldFromDeclaredType(const QString &declared, FieldDef &field)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Z]+_PX(\\d+)_(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(declared);
    if (!match.hasMatch() || match.captured(1).toInt() > int(FieldType::Bytes))
        return false;
    field.type = FieldType(match.captured(1).toInt());
    field.size = match.captured(2).toInt();
    return true;
}

LoadedTable TableCache::store(const QString &key, const FieldList &fields, int codePage,
                              const QVector<QVector<QVariant>> &records)
{
    sqlite::Connection &db = connection();
    LoadedTable table{m_entries.contains(key) ? m_entries[key].table.sqlName
                                              : QStringLiteral("px%1").arg(++m_serial),
                      fields, codePage};
    QStringList columns, marks;
    for (const FieldDef &field : fields) {
        columns << quotedName(field.name) + QLatin1Char(' ') + declaredType(field);
        marks << QStringLiteral("?");
    }
    db.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table.sqlName));
    db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table.sqlName, columns.join(QLatin1String(", "))));
    db.exec(QStringLiteral("BEGIN"));
    try {
        sqlite::Statement insert =
            db.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table.sqlName, marks.join(QLatin1Char(','))));
        for (const QVector<QVariant> &record : records) {
            for (int i = 0; i < fields.size(); ++i) {
                const QVariant value = record.value(i);
                // A blank alpha value is null, as the table file stores it.
                const bool blank = value.typeId() == QMetaType::QString && value.toString().isEmpty();
                insert.bind(i + 1, blank ? QVariant() : value);
            }
            insert.step();
            insert.reset();
        }
        for (const FieldDef &field : fields)
            if (field.name.startsWith(QLatin1String("Link_"), Qt::CaseInsensitive))
                db.exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                            .arg(quotedName(table.sqlName + QLatin1Char('_') + field.name), table.sqlName,
                                 quotedName(field.name)));
        db.exec(QStringLiteral("COMMIT"));
    } catch (const DbError &) {
        db.exec(QStringLiteral("ROLLBACK"));
        m_entries.remove(key);
        throw;
    }
    m_entries[key] = Entry{table, FileStamp()};
    return table;
}

LoadedTable TableCache::table(const QString &path)
{
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    if (!info.isFile())
        throw DbError(QStringLiteral("Table file \"%1\" does not exist").arg(path));
    const FileStamp stamp = FileStamp::of(key);
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->stamp == stamp)
        return found->table;
    const TableData data = readParadoxTable(path);
    const LoadedTable table = store(key, data.fields, data.codePage, data.records);
    m_entries[key].stamp = stamp;
    return table;
}

void TableCache::forget(const QString &path)
{
    const auto found = m_entries.find(QFileInfo(path).absoluteFilePath());
    if (found != m_entries.end())
        found->stamp.size = -2; // no file state has this size
}

TableCache::FileStamp TableCache::FileStamp::of(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const auto nanoseconds = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {qint64(st.st_size), quint64(st.st_ino), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

} // namespace db
