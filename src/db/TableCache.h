#pragma once

#include "db/FieldType.h"

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
// is read again when its size, inode, or modification or change time (to the
// nanosecond) differ from when it was loaded, or after forget(). Every
// Link_* column gets an index so that joins on them stay fast.
class TableCache {
public:
    TableCache();
    ~TableCache();

    LoadedTable table(const QString &path); // throws DbError for a missing or bad file
    // Stores rows under a key, replacing what the key held before.
    LoadedTable store(const QString &key, const FieldList &fields, int codePage,
                      const QVector<QVector<QVariant>> &records);
    // The next query of this table file reads it again.
    void forget(const QString &path);
    void clear();
    bool isEmpty() const { return m_entries.isEmpty(); }

    sqlite::Connection &connection();

    // The SQL column type that carries a field's Paradox type and size, and back.
    static QString declaredType(const FieldDef &field);
    static bool fieldFromDeclaredType(const QString &declared, FieldDef &field);

private:
    // What tells one state of a file from another.
    struct FileStamp {
        qint64 size = -1;
        quint64 inode = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const FileStamp &o) const
        {
            return size == o.size && inode == o.inode && modifiedNs == o.modifiedNs && changedNs == o.changedNs;
        }
        static FileStamp of(const QString &path);
    };
    struct Entry {
        LoadedTable table;
        FileStamp stamp;
    };

    std::unique_ptr<sqlite::Connection> m_connection;
    QHash<QString, Entry> m_entries;
    int m_serial = 0;
};

} // namespace db
