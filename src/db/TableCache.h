#pragma once

#include "db/FieldType.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace db {

namespace sqlite {
class Connection;
}

// A table as it sits in the SQL database.
struct LoadedTable {
    QString sqlName;
    FieldList fields;
    int codePage = 1252;
};

// Paradox tables loaded into one in-memory SQL database for queries. A file
// is read again only when its size or modification time has changed. Every
// Link_* column gets an index so that joins on them stay fast.
class TableCache {
public:
    TableCache();
    ~TableCache();

    LoadedTable table(const QString &path); // throws DbError for a missing or bad file
    // Stores rows under a key, replacing what the key held before.
    LoadedTable store(const QString &key, const FieldList &fields, int codePage,
                      const QVector<QVector<QVariant>> &records);
    void clear();
    bool isEmpty() const { return m_entries.isEmpty(); }

    sqlite::Connection &connection();

    // The SQL column type that carries a field's Paradox type and size, and back.
    static QString declaredType(const FieldDef &field);
    static bool fieldFromDeclaredType(const QString &declared, FieldDef &field);

private:
    struct Entry {
        LoadedTable table;
        qint64 size = -1;
        QDateTime modified;
    };

    std::unique_ptr<sqlite::Connection> m_connection;
    QHash<QString, Entry> m_entries;
    int m_serial = 0;
};

} // namespace db
