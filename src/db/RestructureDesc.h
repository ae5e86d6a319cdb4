#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace db {

// What the restructure call is to do with one entry of a table description.
enum class RestructureMark { Keep = 0, Add = 1, Modify = 3, Drop = 4 };

// The engine's physical field type codes: Paradox 0x1xx, dBASE 0x2xx.
namespace TypeCode {
constexpr int Alpha = 0x101, Number = 0x102, Money = 0x103, Date = 0x104, Short = 0x105, Memo = 0x106, Binary = 0x107,
              FmtMemo = 0x108, Ole = 0x109, Graphic = 0x10A, Long = 0x10B, Time = 0x10C, Timestamp = 0x10D,
              Logical = 0x10E, AutoInc = 0x10F, Bytes = 0x110, BCD = 0x111;
}

// One field of a table description. loadPosition is the field's 1-based position in the table as it is
// now; 0 marks a field the restructure adds. size1 is the length (alpha, bytes, memo), size2 the decimals.
struct FieldEntry {
    int loadPosition = 0;
    QString name;
    int typeCode = 0;
    int subType = 0;
    int size1 = 0;
    int size2 = 0;
};

// Presence codes of a validity check value.
enum class ValuePresence { None = 0, Value = 1, Today = 2, Now = 3 };

constexpr int CheckValueSize = 256;

// A minimum, maximum or default value in the field's stored form (CheckValueSize bytes).
struct CheckValue {
    ValuePresence presence = ValuePresence::None;
    QByteArray value = QByteArray(CheckValueSize, '\0');
};

struct ValCheckEntry {
    int fieldNumber = 0; // 1-based position in the field list; 0 when its field was deleted
    bool required = false;
    CheckValue minimum;
    CheckValue maximum;
    CheckValue defaultValue;
    QString picture;
    int lookupType = 0; // 0 none; 1..4 current/all fields, with or without help
    QString lookupPath;

    bool isEmpty() const {
        return !required && minimum.presence == ValuePresence::None && maximum.presence == ValuePresence::None &&
               defaultValue.presence == ValuePresence::None && picture.isEmpty() && lookupType == 0 &&
               lookupPath.isEmpty();
    }
};

constexpr int MaxLinkedFields = 16;

struct RefIntEntry {
    QString name;
    int kind = 1; // dependent
    QString masterTableName;
    int modifyRule = 0; // 1 cascade, 0 restrict
    int deleteRule = 0;
    int linkedFieldCount = 0;
    QVector<int> fields;       // this table's field numbers
    QVector<int> masterFields; // the master table's field numbers
};

struct IndexEntry {
    QString name;
    QString tagName;
    QString keyExpression;
    QString keyCondition;
    bool primary = false;
    bool unique = false;
    bool descending = false;
    bool maintained = false;
    bool subset = false;
    bool expression = false;
    bool caseInsensitive = false;
    QVector<int> keyFields; // 1-based field numbers
};

struct PasswordEntry {
    QString password;
};

template <class T> struct Marked {
    T entry;
    RestructureMark mark = RestructureMark::Keep;
};

// A table's structure as the engine reports it.
struct TableStructure {
    QString typeName;
    int level = 0;
    bool isProtected = false;
    int codePage = 1252;
    QVector<FieldEntry> fields;
    QVector<ValCheckEntry> valChecks;
    QVector<RefIntEntry> refInts;
    QVector<IndexEntry> indexes;
    QVector<PasswordEntry> passwords;
};

// The complete new description handed to the restructure call.
struct TableDescription {
    bool isProtected = false;
    bool pack = true;
    QVector<Marked<FieldEntry>> fields;
    QVector<Marked<ValCheckEntry>> valChecks;
    QVector<Marked<RefIntEntry>> refInts;
    QVector<Marked<IndexEntry>> indexes;
    QVector<Marked<PasswordEntry>> passwords;
};

} // namespace db
