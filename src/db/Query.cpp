#include "db/Query.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"
#include "db/Sqlite.h"
#include "db/TableCache.h"
#include "db/TableFiles.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QTime>

namespace db {

namespace {

QVariant convertValue(const QVariant &raw, FieldType type)
{
    if (raw.isNull())
        return QVariant();
    switch (type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return int(raw.typeId() == QMetaType::Double ? qRound64(raw.toDouble()) : raw.toLongLong());
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::BCD:
        return raw.toDouble();
    case FieldType::Logical:
        return raw.toLongLong() != 0;
    case FieldType::Date:
        return QDate::fromString(raw.toString(), Qt::ISODate);
    case FieldType::Time:
        return QTime::fromString(raw.toString(), Qt::ISODateWithMs);
    case FieldType::Timestamp:
        return QDateTime::fromString(raw.toString(), Qt::ISODateWithMs);
    default: {
        const QString text = raw.toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
}

// The type of a column the statement does not tell: from the values it holds.
FieldDef typeFromValues(const QVector<QVector<QVariant>> &rows, int column)
{
    FieldDef def{QString(), FieldType::Alpha, 1};
    bool number = false, integer = false;
    for (const QVector<QVariant> &row : rows) {
        const QVariant &v = row[column];
        if (v.typeId() == QMetaType::QString)
            def.size = qMin(255, qMax(def.size, int(v.toString().size())));
        else if (v.typeId() == QMetaType::Double)
            number = true;
        else if (v.typeId() == QMetaType::LongLong)
            integer = true;
    }
    if (def.size > 1 || (!number && !integer))
        return def;
    return number ? FieldDef{QString(), FieldType::Number, 8} : FieldDef{QString(), FieldType::Long, 4};
}

// Names as SQLite gives them; a repeated name gets "_1", "_2", ... so every column can be found by name.
QString uniqueName(const QString &name, const FieldList &before)
{
    auto taken = [&before](const QString &candidate) {
        for (const FieldDef &f : before)
            if (f.name.compare(candidate, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    QString result = name;
    for (int n = 1; taken(result); ++n)
        result = name + QStringLiteral("_%1").arg(n);
    return result;
}

QString describe(const FieldDef &f)
{
    return f.type == FieldType::Alpha ? QStringLiteral("alpha %1").arg(f.size) : fieldTypeName(f.type);
}

} // namespace

Query::Query(Session &session) : m_session(session) {}

Query::~Query()
{
    close();
}

void Query::setDatabaseName(const QString &folder)
{
    close();
    m_folder = folder;
}

void Query::setSql(const QStringList &lines)
{
    close();
    m_sql = lines;
}

void Query::setParameter(const QString &name, const QVariant &value)
{
    const QString bare = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    for (auto &parameter : m_parameters)
        if (parameter.first.compare(bare, Qt::CaseInsensitive) == 0) {
            parameter.second = value;
            return;
        }
    m_parameters.append({bare, value});
}

void Query::setFilter(const QString &text)
{
    m_filterText = text;
    if (m_open)
        applyFilter();
}

void Query::setFiltered(bool on)
{
    m_filtered = on;
    if (m_open)
        applyFilter();
}

void Query::fail(const QString &reason) const
{
    throw DbError(QStringLiteral("SQL \"%1\" in \"%2\": %3").arg(statement(), m_folder, reason));
}

void Query::open()
{
    if (m_open)
        return;
    if (statement().trimmed().isEmpty())
        fail(QStringLiteral("no statement"));
    if (!QFileInfo(m_folder).isDir())
        fail(QStringLiteral("the database folder does not exist"));
    run();
    checkRequiredFields();
    m_open = true;
    try {
        applyFilter();
    } catch (const DbError &) {
        close();
        throw;
    }
    m_session.memberOpened(this);
}

void Query::run()
{
    TableCache &cache = m_session.tableCache();
    bool firstTable = true;
    const TableResolver resolve = [&](const QString &name) {
        const QString path = findTableFile(m_folder, name);
        if (path.isEmpty())
            fail(QStringLiteral("table \"%1\" not found").arg(name));
        const LoadedTable table = cache.table(path);
        if (firstTable)
            m_codePage = table.codePage;
        firstTable = false;
        return ResolvedTable{table.sqlName, table.fields};
    };
    const TranslatedSql translated = translateSql(statement(), resolve);
    sqlite::Statement stmt = cache.connection().prepare(translated.text, statement());
    for (int i = 1; i <= stmt.parameterCount(); ++i) {
        const QString name = stmt.parameterName(i).mid(1);
        auto found = std::find_if(m_parameters.cbegin(), m_parameters.cend(), [&name](const auto &p) {
            return p.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == m_parameters.cend())
            fail(QStringLiteral("parameter \"%1\" has no value").arg(stmt.parameterName(i)));
        stmt.bind(i, found->second);
    }
    const int columns = stmt.columnCount();
    QVector<QVector<QVariant>> raw;
    while (stmt.step()) {
        QVector<QVariant> row(columns);
        for (int c = 0; c < columns; ++c)
            row[c] = stmt.columnValue(c);
        raw.append(row);
    }
    m_fields.clear();
    for (int c = 0; c < columns; ++c) {
        FieldDef def;
        if (!TableCache::fieldFromDeclaredType(stmt.columnDeclType(c), def)) {
            const bool inferred = translated.columns.size() == columns && translated.columns[c].known;
            def = inferred ? translated.columns[c].def : typeFromValues(raw, c);
        }
        def.name = uniqueName(stmt.columnName(c), m_fields);
        m_fields.append(def);
    }
    m_rows.resize(raw.size());
    for (int r = 0; r < raw.size(); ++r) {
        m_rows[r].resize(columns);
        for (int c = 0; c < columns; ++c)
            m_rows[r][c] = convertValue(raw[r][c], m_fields[c].type);
    }
}

void Query::checkRequiredFields() const
{
    for (const FieldDef &want : m_required) {
        const int index = fieldIndex(want.name);
        if (index < 0)
            fail(QStringLiteral("column \"%1\" is missing").arg(want.name));
        const FieldDef &have = m_fields[index];
        if (have.type != want.type || (want.type == FieldType::Alpha && have.size != want.size))
            fail(QStringLiteral("column \"%1\" is %2, expected %3").arg(want.name, describe(have), describe(want)));
    }
}

void Query::applyFilter()
{
    m_visible.clear();
    m_current = 0;
    const ClientFilter filter = m_filtered ? ClientFilter::parse(m_filterText, m_fields) : ClientFilter();
    for (int r = 0; r < m_rows.size(); ++r)
        if (filter.accepts(m_rows[r]))
            m_visible.append(r);
}

void Query::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_rows.clear();
    m_visible.clear();
    m_fields.clear();
    m_current = 0;
    m_session.memberClosed(this);
}

void Query::next()
{
    if (m_current < m_visible.size())
        ++m_current;
}

void Query::moveTo(int row)
{
    m_current = qBound(0, row, int(m_visible.size()));
}

QVariant Query::valueAt(int row, int field) const
{
    if (row < 0 || row >= m_visible.size() || field < 0 || field >= m_fields.size())
        return QVariant();
    return m_rows[m_visible[row]][field];
}

QVariant Query::value(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        fail(QStringLiteral("no column \"%1\"").arg(field));
    return value(index);
}

bool Query::locate(const QString &field, const QVariant &value, Qt::CaseSensitivity cs)
{
    const int index = fieldIndex(field);
    if (index < 0)
        fail(QStringLiteral("no column \"%1\"").arg(field));
    for (int row = 0; row < m_visible.size(); ++row) {
        const QVariant have = valueAt(row, index);
        const bool equal = have.typeId() == QMetaType::QString ? have.toString().compare(value.toString(), cs) == 0
                                                              : !have.isNull() && have == value;
        if (equal) {
            m_current = row;
            return true;
        }
    }
    return false;
}

} // namespace db
