#pragma once

#include "db/FieldType.h"

#include <QFlags>
#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

namespace db {

enum class IndexOption { Primary = 0x1, Unique = 0x2, Descending = 0x4, CaseInsensitive = 0x8 };
Q_DECLARE_FLAGS(IndexOptions, IndexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(IndexOptions)

// One index of a table. The primary index has an empty name; the others are the
// secondary indexes kept in our index file beside the table.
struct IndexDef {
    QString name;
    QString fields; // field names separated by ";"
    IndexOptions options;

    bool operator==(const IndexDef &o) const { return name == o.name && fields == o.fields && options == o.options; }
};

using IndexDefs = QVector<IndexDef>;

// The primary index over the leading key fields; none when the table has no key.
std::optional<IndexDef> primaryIndex(const FieldList &fields, int keyFieldCount);

// Secondary index definitions of our index file: none when the file is absent.
// Throws DbError naming the file when it cannot be read or understood.
IndexDefs readIndexFile(const QString &path);
// Writes the definitions, or removes the file when there are none. Throws DbError.
void writeIndexFile(const QString &path, const IndexDefs &defs);

// Orders record numbers by the values of the key fields, field after field. Blanks
// are the lowest values, so they come first ascending and last descending; records
// with equal keys keep their order.
void sortRows(QVector<int> &rows, const QVector<QVector<QVariant>> &records, const QVector<int> &keyFields,
              IndexOptions options);

} // namespace db
