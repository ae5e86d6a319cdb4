#pragma once

#include "db/FieldType.h"

#include <QByteArray>
#include <QHash>
#include <QVariant>
#include <QVector>

namespace db {

struct TableData {
    FieldList fields;
    int keyFieldCount = 0; // leading fields that form the primary key
    int codePage = 1252;
    QVector<QVector<QVariant>> records;
};

TableData readParadoxTable(const QString &path);                    // throws DbError
void writeParadoxTable(const QString &path, const TableData &data); // create or replace; throws DbError

// A Paradox table file as read, with where each record sits so that one record can be
// rewritten in place.
class ParadoxFile {
public:
    static ParadoxFile load(const QString &path); // throws DbError

    const QString &path() const { return m_path; }
    const TableData &data() const { return m_data; }
    // Rewrites only the bytes of one record, with the given fields changed. The values are
    // converted first, so a value that does not fit throws before anything is written; a
    // record that another program changed since it was read is not overwritten.
    void updateRecord(int row, const QHash<int, QVariant> &changes); // throws DbError

private:
    QString m_path;
    TableData m_data;
    int m_recordSize = 0;
    QVector<int> m_fieldOffsets;
    QVector<qint64> m_recordOffsets;
    QByteArray m_bytes; // the file as read, kept in step with our updates
};

} // namespace db
