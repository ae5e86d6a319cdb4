#include "export/Restructure.h"

#include "db/CodePage.h"
#include "db/DbError.h"
#include "db/ParadoxRestructure.h"
#include "db/TableFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

struct TypeInfo {
    TdBasePxFieldType type;
    int code;
    const char *tableType; // the table type the field type suits
    int level;             // the lowest table level that has it
};

constexpr TypeInfo typeInfos[] = {
    {pxUnknown, 0, "", 0},
    {pxAlpha, db::TypeCode::Alpha, "PARADOX", 3},
    {pxNumber, db::TypeCode::Number, "PARADOX", 3},
    {pxMoney, db::TypeCode::Money, "PARADOX", 3},
    {pxShort, db::TypeCode::Short, "PARADOX", 3},
    {pxLongInteger, db::TypeCode::Long, "PARADOX", 5},
    {pxBCD, db::TypeCode::BCD, "PARADOX", 5},
    {pxDate, db::TypeCode::Date, "PARADOX", 3},
    {pxTime, db::TypeCode::Time, "PARADOX", 5},
    {pxTimestamp, db::TypeCode::Timestamp, "PARADOX", 5},
    {pxMemo, db::TypeCode::Memo, "PARADOX", 4},
    {pxFormattedMemo, db::TypeCode::FmtMemo, "PARADOX", 4},
    {pxGraphic, db::TypeCode::Graphic, "PARADOX", 4},
    {pxOLE, db::TypeCode::Ole, "PARADOX", 4},
    {pxLogical, db::TypeCode::Logical, "PARADOX", 5},
    {pxAutoincrement, db::TypeCode::AutoInc, "PARADOX", 5},
    {pxBinary, db::TypeCode::Binary, "PARADOX", 4},
    {pxBytes, db::TypeCode::Bytes, "PARADOX", 5},
    {dbCharacter, 0x201, "DBASE", 3},
    {dbFloat, 0x206, "DBASE", 4},
    {dbNumber, 0x202, "DBASE", 3},
    {dbDate, 0x205, "DBASE", 3},
    {dbMemo, 0x203, "DBASE", 3},
    {dbLogical, 0x204, "DBASE", 3},
    {dbOLE, 0x208, "DBASE", 5},
    {dbBinary, 0x209, "DBASE", 5},
    {dbLong, 0x20B, "DBASE", 7},
    {dbDateTime, 0x20C, "DBASE", 7},
    {dbDouble, 0x20D, "DBASE", 7},
    {dbAutoincrement, 0x20E, "DBASE", 7},
    {dbBytes, 0x20A, "DBASE", 7},
    {dbLock, 0x207, "DBASE", 7},
};

const TypeInfo &typeInfo(TdBasePxFieldType type) {
    for (const TypeInfo &info : typeInfos) {
        if (info.type == type)
            return info;
    }
    return typeInfos[0];
}

QString resolveTable(const QString &databaseName, const QString &tableName) {
    if (tableName.isEmpty())
        return {};
    const QFileInfo info(QDir(databaseName).filePath(tableName));
    return db::findTableFile(info.path(), info.fileName());
}

// The structure of a table, with the one message the component gives for any failure to read it.
db::TableStructure openedStructure(const QString &path) {
    const QString message = QStringLiteral("Table could not be opened");
    if (path.isEmpty())
        throw db::DbError(message);
    try {
        return db::readTableStructure(path);
    } catch (const db::DbError &) {
        throw db::DbError(message);
    }
}

[[noreturn]] void conversionError(const QString &text, const char *what) {
    throw db::DbError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

double numberOfText(const QString &text) {
    bool ok = false;
    double number = QLocale::system().toDouble(text.trimmed(), &ok);
    if (!ok)
        number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        conversionError(text, "floating point value");
    return number;
}

qint64 integerOfText(const QString &text, qint64 low, qint64 high) {
    bool ok = false;
    qint64 number = QLocale::system().toLongLong(text.trimmed(), &ok);
    if (!ok)
        number = QLocale::c().toLongLong(text.trimmed(), &ok);
    if (!ok || number < low || number > high)
        conversionError(text, "integer value");
    return number;
}

QDate dateOfText(const QString &text) {
    QDate date = QLocale::system().toDate(text.trimmed(), QLocale::ShortFormat);
    if (!date.isValid())
        date = QDate::fromString(text.trimmed(), Qt::ISODate);
    if (!date.isValid())
        conversionError(text, "date");
    return date;
}

QTime timeOfText(const QString &text) {
    QTime time = QLocale::system().toTime(text.trimmed(), QLocale::ShortFormat);
    if (!time.isValid())
        time = QLocale::system().toTime(text.trimmed(), QLocale::LongFormat);
    if (!time.isValid())
        time = QTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!time.isValid())
        conversionError(text, "time");
    return time;
}

QDateTime timestampOfText(const QString &text) {
    QDateTime stamp = QLocale::system().toDateTime(text.trimmed(), QLocale::ShortFormat);
    if (!stamp.isValid())
        stamp = QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!stamp.isValid())
        stamp = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!stamp.isValid())
        conversionError(text, "date and time");
    return stamp;
}

// Days with 0001-01-01 as day 1.
qint32 dayNumber(const QDate &date) {
    return qint32(date.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1);
}

template <class T> void store(QByteArray &value, T number) {
    qToLittleEndian(number, value.data());
}

// Precision byte, sign and decimals byte (sign in bit 7), then the digits as nibbles, most significant first.
void storeBcd(QByteArray &value, double number, int decimals, const QString &text) {
    constexpr int precision = 32;
    decimals = std::clamp(decimals, 0, precision);
    QString digits = QString::number(std::fabs(number), 'f', decimals).remove(QLatin1Char('.'));
    if (digits.size() > precision)
        conversionError(text, "BCD value");
    digits = digits.rightJustified(precision, QLatin1Char('0'));
    value[0] = char(precision);
    value[1] = char((number < 0 ? 0x80 : 0) | decimals);
    for (int i = 0; i < precision; ++i) {
        const int digit = digits.at(i).digitValue();
        value[2 + i / 2] = char(value[2 + i / 2] | (i % 2 ? digit : digit << 4));
    }
}

bool isWord(const QString &text, const char *word) {
    return text.trimmed().compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

int lookupTypeCode(TLookupType type, TLookupAccess access) {
    const int fields = type == ltCurrentField ? 1 : 2;
    return access == laFillNoHelp ? fields : fields + 2;
}

} // namespace

int fieldTypeCode(TdBasePxFieldType type) {
    return typeInfo(type).code;
}

TdBasePxFieldType fieldTypeOfCode(int code) {
    for (const TypeInfo &info : typeInfos) {
        if (info.code == code)
            return info.type;
    }
    return pxUnknown;
}

void TRestructure::setDatabaseName(const QString &name) {
    m_databaseName = name;
    m_refInt.m_masterDatabaseName = name;
}

void TRestructure::setRefInt(const TRefIntDesc &refInt) {
    m_refInt = refInt;
    m_refInt.m_masterDatabaseName = m_databaseName;
}

void TRestructure::setTableName(const QString &name) {
    m_tableName = name;
    m_loaded = false;
    m_description = {};
    if (!name.isEmpty())
        LoadStructure();
}

QString TRestructure::tablePath() const {
    return resolveTable(m_databaseName, m_tableName);
}

void TRestructure::EncodeFieldType(db::FieldEntry &entry, TdBasePxFieldType type) const {
    entry.typeCode = fieldTypeCode(type);
    entry.subType = 0;
}

bool TRestructure::FieldAppropriate() const {
    const TypeInfo &info = typeInfo(m_field.FieldType);
    return info.type != pxUnknown && m_structure.typeName == QLatin1String(info.tableType) &&
           m_structure.level >= info.level;
}

int TRestructure::FieldIndex(const QString &fieldName) const {
    for (int i = 0; i < m_description.fields.size(); ++i) {
        if (m_description.fields.at(i).entry.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

bool TRestructure::fieldOperationAllowed() {
    if (!m_loaded)
        return false;
    if (FieldAppropriate())
        return true;
    if (m_onFieldInappropriate)
        m_onFieldInappropriate(this, m_field);
    return false;
}

db::FieldEntry TRestructure::entryFromField() const {
    db::FieldEntry entry;
    entry.name = m_field.Name;
    if (m_field.FieldType == pxBCD) {
        entry.size2 = m_field.Length;
    } else {
        entry.size1 = m_field.Length;
        entry.size2 = m_field.Precision;
    }
    EncodeFieldType(entry, m_field.FieldType);
    return entry;
}

void TRestructure::renumberValChecks(const std::function<int(int)> &newNumber) {
    for (auto &check : m_description.valChecks)
        check.entry.fieldNumber = newNumber(check.entry.fieldNumber);
}

void TRestructure::AddField(bool withValCheck) {
    if (!fieldOperationAllowed())
        return;
    m_description.fields.append({entryFromField(), db::RestructureMark::Add});
    if (withValCheck)
        AddValCheck(m_field.Name);
}

void TRestructure::InsertField(int pos, bool withValCheck) {
    if (!fieldOperationAllowed())
        return;
    if (pos < 1 || pos > m_description.fields.size() + 1)
        throw db::DbError(QStringLiteral("Field index not in range"));
    m_description.fields.insert(pos - 1, {entryFromField(), db::RestructureMark::Add});
    renumberValChecks([pos](int n) { return n >= pos ? n + 1 : n; });
    if (withValCheck)
        AddValCheck(m_field.Name);
}

void TRestructure::MoveField(int oldPos, int newPos) {
    if (!m_loaded || oldPos == newPos)
        return;
    const int count = m_description.fields.size();
    if (oldPos < 1 || oldPos > count)
        throw db::DbError(QStringLiteral("Field index not in range: OldPos"));
    if (newPos < 1 || newPos > count)
        throw db::DbError(QStringLiteral("Field index not in range: NewPos"));
    m_description.fields.move(oldPos - 1, newPos - 1);
    renumberValChecks([oldPos, newPos](int n) {
        if (n == oldPos)
            return newPos;
        if (oldPos < newPos && n > oldPos && n <= newPos)
            return n - 1;
        if (oldPos > newPos && n >= newPos && n < oldPos)
            return n + 1;
        return n;
    });
}

void TRestructure::DeleteField(int pos) {
    if (!m_loaded)
        return;
    if (pos < 1 || pos > m_description.fields.size())
        throw db::DbError(QStringLiteral("Field index not in range"));
    m_description.fields.removeAt(pos - 1);
    renumberValChecks([pos](int n) { return n == pos ? 0 : n > pos ? n - 1 : n; });
}

void TRestructure::ModifyField(int pos, bool withValCheck) {
    if (!fieldOperationAllowed())
        return;
    if (pos < 1 || pos > m_description.fields.size())
        throw db::DbError(QStringLiteral("Field index not in range"));
    auto &item = m_description.fields[pos - 1];
    const db::FieldEntry changed = entryFromField();
    item.entry.name = changed.name;
    item.entry.typeCode = changed.typeCode;
    item.entry.subType = changed.subType;
    item.entry.size1 = changed.size1;
    item.entry.size2 = changed.size2;
    if (item.mark != db::RestructureMark::Add)
        item.mark = db::RestructureMark::Modify;
    if (withValCheck)
        ModifyValCheck(m_field.Name);
}

const db::FieldEntry *TRestructure::entryNamedExactly(const QString &fieldName) const {
    for (const auto &item : m_description.fields) {
        if (item.entry.name == fieldName)
            return &item.entry;
    }
    return nullptr;
}

int TRestructure::valCheckIndex(int fieldNumber) const {
    for (int i = 0; i < m_description.valChecks.size(); ++i) {
        if (m_description.valChecks.at(i).entry.fieldNumber == fieldNumber)
            return i;
    }
    return -1;
}

bool TRestructure::ValCheckAppropriate(const QString &fieldName) const {
    if (m_structure.typeName != db::ParadoxTableType)
        return false;
    const TValCheckDesc &c = m_valCheck;
    if (c.Required || (!c.LookupDatabaseName.isEmpty() && !c.LookupTableName.isEmpty()))
        return true;
    const db::FieldEntry *entry = entryNamedExactly(fieldName);
    switch (entry ? fieldTypeOfCode(entry->typeCode) : pxUnknown) {
    case pxAlpha:
    case pxNumber:
    case pxMoney:
    case pxShort:
    case pxLongInteger:
    case pxBCD:
    case pxDate:
    case pxTime:
    case pxTimestamp:
        return !c.MinimumValue.isEmpty() || !c.MaximumValue.isEmpty() || !c.DefaultValue.isEmpty() ||
               !c.Picture.isEmpty();
    case pxLogical:
        return !c.DefaultValue.isEmpty();
    case pxAutoincrement:
        return !c.MinimumValue.isEmpty();
    default:
        return false;
    }
}

QString TRestructure::lookupPath() const {
    const TValCheckDesc &c = m_valCheck;
    if (c.LookupDatabaseName.isEmpty())
        throw db::DbError(QStringLiteral("Lookup table %1: no database name given").arg(c.LookupTableName));
    if (!QFileInfo(c.LookupDatabaseName).isDir())
        throw db::DbError(QStringLiteral("Lookup database %1 is not a folder").arg(c.LookupDatabaseName));
    const QString folder = c.LookupDatabaseName;
    return folder.endsWith(QLatin1Char('/')) ? folder + c.LookupTableName
                                             : folder + QLatin1Char('/') + c.LookupTableName;
}

db::ValCheckEntry TRestructure::buildValCheck(const QString &fieldName) const {
    const db::FieldEntry *entry = entryNamedExactly(fieldName);
    const TdBasePxFieldType type = entry ? fieldTypeOfCode(entry->typeCode) : pxUnknown;
    const int decimals = entry ? entry->size2 : 0;
    const auto encode = [&](const QString &text, db::CheckValue &value) {
        if (!text.isEmpty())
            value.presence = db::ValuePresence(EncodeValue(text, type, decimals, value.value));
    };
    const TValCheckDesc &c = m_valCheck;
    db::ValCheckEntry check;
    check.fieldNumber = FieldIndex(fieldName);
    check.required = c.Required;
    if (type != pxLogical)
        encode(c.MinimumValue, check.minimum);
    if (type != pxLogical && type != pxAutoincrement)
        encode(c.MaximumValue, check.maximum);
    if (type != pxAutoincrement)
        encode(c.DefaultValue, check.defaultValue);
    check.picture = c.Picture;
    if (!c.LookupTableName.isEmpty()) {
        check.lookupType = lookupTypeCode(c.LookupType, c.LookupAccess);
        check.lookupPath = lookupPath();
    }
    return check;
}

void TRestructure::AddValCheck(const QString &fieldName) {
    const int fieldNumber = FieldIndex(fieldName);
    if (!m_loaded || fieldNumber == 0)
        return;
    if (valCheckIndex(fieldNumber) >= 0) {
        ModifyValCheck(fieldName);
        return;
    }
    if (ValCheckAppropriate(fieldName))
        m_description.valChecks.append({buildValCheck(fieldName), db::RestructureMark::Add});
}

void TRestructure::ModifyValCheck(const QString &fieldName) {
    const int fieldNumber = FieldIndex(fieldName);
    if (!m_loaded || fieldNumber == 0)
        return;
    const int index = valCheckIndex(fieldNumber);
    const bool appropriate = ValCheckAppropriate(fieldName);
    if (index < 0) {
        if (appropriate)
            AddValCheck(fieldName);
        return;
    }
    if (!appropriate) {
        DeleteValCheck(fieldName);
        return;
    }
    auto &item = m_description.valChecks[index];
    item.entry = buildValCheck(fieldName);
    if (item.mark != db::RestructureMark::Add)
        item.mark = db::RestructureMark::Modify;
}

void TRestructure::DeleteValCheck(const QString &fieldName) {
    const int fieldNumber = FieldIndex(fieldName);
    const int index = m_loaded && fieldNumber > 0 ? valCheckIndex(fieldNumber) : -1;
    if (index < 0)
        return;
    db::ValCheckEntry empty;
    empty.fieldNumber = fieldNumber;
    m_description.valChecks[index] = {empty, db::RestructureMark::Modify};
}

int TRestructure::EncodeValue(const QString &text, TdBasePxFieldType type, int decimals, QByteArray &value) const {
    value = QByteArray(db::CheckValueSize, '\0');
    switch (type) {
    case pxAlpha: {
        const QByteArray bytes = db::encodeText(text, m_structure.codePage).left(db::CheckValueSize);
        value.replace(0, bytes.size(), bytes);
        return 1;
    }
    case pxNumber:
    case pxMoney:
        store(value, numberOfText(text));
        return 1;
    case pxShort:
        store(value, qint16(integerOfText(text, -32768, 32767)));
        return 1;
    case pxLongInteger:
    case pxAutoincrement:
        store(value, qint32(integerOfText(text, -2147483647LL - 1, 2147483647)));
        return 1;
    case pxBCD:
        storeBcd(value, numberOfText(text), decimals, text);
        return 1;
    case pxDate:
        if (isWord(text, "TODAY"))
            return 2;
        store(value, dayNumber(dateOfText(text)));
        return 1;
    case pxTime:
        if (isWord(text, "NOW"))
            return 3;
        store(value, qint32(timeOfText(text).msecsSinceStartOfDay()));
        return 1;
    case pxTimestamp: {
        if (isWord(text, "NOW"))
            return 3;
        const QDateTime stamp = timestampOfText(text);
        store(value, double(dayNumber(stamp.date())) * 86400000.0 + stamp.time().msecsSinceStartOfDay());
        return 1;
    }
    case pxLogical:
        if (isWord(text, "TRUE") || isWord(text, "FALSE")) {
            store(value, qint32(isWord(text, "TRUE") ? 1 : 0));
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

void TRestructure::AddRefInt(const QString &ruleName, const QString &indexName) {
    const db::TableStructure master =
        openedStructure(resolveTable(m_refInt.MasterDatabaseName(), m_refInt.MasterTableName));
    if (!m_loaded)
        throw db::DbError(QStringLiteral("Table could not be opened"));
    const auto primary = std::find_if(master.indexes.cbegin(), master.indexes.cend(),
                                      [](const db::IndexEntry &index) { return index.primary; });
    if (primary == master.indexes.cend())
        throw db::DbError(QStringLiteral("Master table does not have a primary index!"));
    db::RefIntEntry rule;
    rule.name = ruleName;
    rule.masterTableName = m_refInt.MasterTableName;
    rule.modifyRule = m_refInt.ModifyOperation == urCascade ? 1 : 0;
    rule.deleteRule = m_refInt.DeleteOperation == urCascade ? 1 : 0;
    rule.linkedFieldCount = primary->keyFields.size();
    rule.masterFields = primary->keyFields;
    rule.fields = QVector<int>(rule.linkedFieldCount, 0);
    for (const auto &index : m_description.indexes) {
        if (index.entry.name.compare(indexName, Qt::CaseInsensitive) == 0) {
            rule.fields = index.entry.keyFields;
            break;
        }
    }
    m_description.refInts.append({rule, db::RestructureMark::Add});
}

void TRestructure::DeleteRefInt(const QString &ruleName) {
    for (auto &rule : m_description.refInts) {
        if (rule.entry.name.compare(ruleName, Qt::CaseInsensitive) == 0) {
            rule.mark = db::RestructureMark::Drop;
            return;
        }
    }
    throw db::DbError(QStringLiteral("Referential integrity not found!"));
}

void TRestructure::LoadStructure() {
    m_loaded = false;
    m_description = {};
    m_structure = openedStructure(tablePath());
    m_description.isProtected = m_structure.isProtected;
    for (const db::FieldEntry &field : m_structure.fields)
        m_description.fields.append({field});
    for (const db::ValCheckEntry &check : m_structure.valChecks)
        m_description.valChecks.append({check});
    for (const db::RefIntEntry &rule : m_structure.refInts)
        m_description.refInts.append({rule});
    m_hasPrimaryIndex = false;
    m_primaryIndexFieldCount = 0;
    for (const db::IndexEntry &index : m_structure.indexes) {
        m_description.indexes.append({index});
        if (index.primary) {
            m_hasPrimaryIndex = true;
            m_primaryIndexFieldCount = quint16(index.keyFields.size());
        }
    }
    for (const db::PasswordEntry &password : m_structure.passwords)
        m_description.passwords.append({password});
    m_loaded = true;
}

void TRestructure::applyPrimaryIndexFieldCount() {
    auto &indexes = m_description.indexes;
    const bool append = !m_hasPrimaryIndex && m_primaryIndexFieldCount > 0;
    if (append) {
        db::IndexEntry primary;
        primary.primary = primary.unique = primary.maintained = true;
        indexes.append({primary});
    }
    for (int i = 0; i < indexes.size(); ++i) {
        if (!indexes.at(i).entry.primary)
            continue;
        QVector<int> &keys = indexes[i].entry.keyFields;
        keys.resize(m_primaryIndexFieldCount);
        std::iota(keys.begin(), keys.end(), 1);
        indexes[i].mark = m_primaryIndexFieldCount == 0       ? db::RestructureMark::Drop
                          : append && i == indexes.size() - 1 ? db::RestructureMark::Add
                                                              : db::RestructureMark::Modify;
    }
}

bool TRestructure::markEmptyValChecksDropped() {
    bool any = false;
    for (auto &check : m_description.valChecks) {
        if (check.entry.isEmpty()) {
            check.mark = db::RestructureMark::Drop;
            any = true;
        }
    }
    return any;
}

void TRestructure::DoRestructure() {
    if (!m_loaded)
        return;
    const QString path = tablePath();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isReadable() || !info.isWritable() || !QFileInfo(info.path()).isWritable())
        throw db::DbError(QStringLiteral("Table could not be opened for exclusive access"));
    std::stable_sort(m_description.valChecks.begin(), m_description.valChecks.end(),
                     [](const auto &a, const auto &b) { return a.entry.fieldNumber < b.entry.fieldNumber; });
    applyPrimaryIndexFieldCount();
    if (m_description.passwords.size() > 1) {
        for (auto &password : m_description.passwords)
            password.mark = db::RestructureMark::Modify;
    }
    m_description.isProtected = m_structure.isProtected;
    m_description.pack = m_packTable;
    db::restructureTable(path, m_description);
    LoadStructure();
    if (markEmptyValChecksDropped())
        DoRestructure();
}
