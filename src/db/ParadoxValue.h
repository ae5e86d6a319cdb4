#pragma once

#include "db/CodePage.h"
#include "db/FieldType.h"

#include <QVariant>

namespace db {

// Field values as Paradox stores them in a record. Every type stores blank as all
// zero bytes; integers are big-endian with the sign bit flipped; doubles big-endian
// with the sign bit set for values >= 0 and every bit inverted for negatives; dates
// count days with 0001-01-01 as 1; times are milliseconds since midnight; timestamps
// milliseconds on the same day count, stored as a double.

int fieldByteSize(const FieldDef &field); // bytes the field takes in a record
bool hasReadableValue(FieldType type);    // false for memo, blob and bytes kinds: read as null

// Null for blank and for the kinds without readable value.
QVariant decodeValue(const FieldDef &field, const char *bytes, CodePageText &text);

// The value as the field holds it (QString, int, double, bool, QDate, QTime, QDateTime or
// null). Throws DbError naming table, field and value
// when it cannot be held.
QVariant convertValue(const FieldDef &field, const QVariant &value, const QString &tableName);

// Writes fieldByteSize(field) bytes, text longer than an alpha field cut; throws like convertValue.
void encodeValue(const FieldDef &field, const QVariant &value, char *out, CodePageText &text,
                 const QString &tableName);

} // namespace db
