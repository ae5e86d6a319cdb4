#pragma once

#include <QString>
#include <QVector>

namespace db {

// The Paradox field types the engine knows. Memo and blob kinds are
// recognised so that a table holding them can be read; their values are skipped.
enum class FieldType {
    Alpha,     // 'A', text of 1..255 bytes
    Date,      // 'D'
    Short,     // 'S', 16-bit integer
    Long,      // 'I', 32-bit integer
    Money,     // '$', double shown as currency
    Number,    // 'N', double
    Logical,   // 'L'
    Memo,      // 'M'
    Blob,      // 'B'
    FmtMemo,   // 'F'
    Ole,       // 'O'
    Graphic,   // 'G'
    Time,      // 'T'
    Timestamp, // '@'
    AutoInc,   // '+'
    BCD,       // '#'
    Bytes,     // 'Y'
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Alpha;
    int size = 0; // declared size: alpha length, BCD digits; byte size for the others

    bool operator==(const FieldDef &o) const { return name == o.name && type == o.type && size == o.size; }
};

using FieldList = QVector<FieldDef>;

bool isNumeric(FieldType type);     // Short, Long, AutoInc, Number, Money, BCD
bool isIntegerType(FieldType type); // Short, Long, AutoInc
QString fieldTypeName(FieldType type);

} // namespace db
