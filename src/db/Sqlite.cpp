#include "db/Sqlite.h"

#include "db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <sqlite3.h>

namespace db::sqlite {

namespace {

QString errorText(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

Connection::Connection()
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString reason = m_db ? errorText(m_db) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        throw DbError(QStringLiteral("Cannot create the in-memory SQL database: ") + reason);
    }
}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

void Connection::exec(const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        throw DbError(QStringLiteral("SQL \"%1\" failed: %2").arg(sql, reason));
    }
}

Statement Connection::prepare(const QString &sql, const QString &shownAs)
{
    const QString shown = shownAs.isEmpty() ? sql : shownAs;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK)
        throw DbError(QStringLiteral("SQL \"%1\" failed: %2").arg(shown, errorText(m_db)));
    Statement statement(m_db, stmt, shown);
    if (!stmt)
        throw DbError(QStringLiteral("SQL \"%1\" failed: no statement").arg(shown));
    for (; tail && *tail; ++tail)
        if (*tail != ';' && !QChar::isSpace(uchar(*tail)))
            throw DbError(QStringLiteral("SQL \"%1\" failed: more than one statement").arg(shown));
    return statement;
}

Statement::Statement(sqlite3 *db, sqlite3_stmt *stmt, const QString &sql) : m_db(db), m_stmt(stmt), m_sql(sql) {}

Statement::Statement(Statement &&other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt), m_sql(other.m_sql)
{
    other.m_stmt = nullptr;
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::fail(const char *action) const
{
    throw DbError(QStringLiteral("SQL \"%1\" failed while %2: %3").arg(m_sql, QLatin1String(action), errorText(m_db)));
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int index) const
{
    return QString::fromUtf8(sqlite3_bind_parameter_name(m_stmt, index));
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(m_stmt, index);
        break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
        break;
    default: {
        QString text;
        if (value.typeId() == QMetaType::QDate)
            text = value.toDate().toString(Qt::ISODate);
        else if (value.typeId() == QMetaType::QTime)
            text = value.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
        else if (value.typeId() == QMetaType::QDateTime)
            text = value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
        else
            text = value.toString();
        const QByteArray utf8 = text.toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
    if (rc != SQLITE_OK)
        fail("binding a value");
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail("running");
    return false;
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::columnDeclType(int column) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

QVariant Statement::columnValue(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, column);
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    default:
        return QVariant();
    }
}

} // namespace db::sqlite
