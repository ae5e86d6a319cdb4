#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace db::sqlite {

class Statement;

// An in-memory SQLite database, closed in the destructor. Errors are thrown
// as DbError carrying the statement text and SQLite's own message.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void exec(const QString &sql);
    // Compiles one statement; text after it other than blanks and ";" is an error.
    // Errors show the statement as shownAs when it is given (the text the user wrote).
    Statement prepare(const QString &sql, const QString &shownAs = QString());

private:
    sqlite3 *m_db = nullptr;
};

// A compiled statement, finalized in the destructor.
class Statement {
public:
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) = delete;
    Statement(const Statement &) = delete;
    ~Statement();

    int parameterCount() const;
    QString parameterName(int index) const; // 1-based, as written (":name"); empty for "?"
    // Binds null, bool, integers, double, text; dates and times as ISO text.
    void bind(int index, const QVariant &value);
    void reset();

    bool step(); // true while a row is ready
    int columnCount() const;
    QString columnName(int column) const;
    QString columnDeclType(int column) const; // empty for an expression
    // The stored value: null, qlonglong, double or QString.
    QVariant columnValue(int column) const;

private:
    friend class Connection;
    Statement(sqlite3 *db, sqlite3_stmt *stmt, const QString &sql);
    [[noreturn]] void fail(const char *action) const;

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt;
    QString m_sql;
};

} // namespace db::sqlite
