#include "db/ParadoxRestructure.h"

#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/ParadoxValue.h"
#include "db/RestructureConvert.h"
#include "db/RestructureSidecar.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace db {

const QString ParadoxTableType = QStringLiteral("PARADOX");

namespace {

struct TypeCodeOf {
    FieldType type;
    int code;
};

constexpr TypeCodeOf typeCodes[] = {
    {FieldType::Alpha, TypeCode::Alpha},
    {FieldType::Number, TypeCode::Number},
    {FieldType::Money, TypeCode::Money},
    {FieldType::Date, TypeCode::Date},
    {FieldType::Short, TypeCode::Short},
    {FieldType::Memo, TypeCode::Memo},
    {FieldType::Blob, TypeCode::Binary},
    {FieldType::FmtMemo, TypeCode::FmtMemo},
    {FieldType::Ole, TypeCode::Ole},
    {FieldType::Graphic, TypeCode::Graphic},
    {FieldType::Long, TypeCode::Long},
    {FieldType::Time, TypeCode::Time},
    {FieldType::Timestamp, TypeCode::Timestamp},
    {FieldType::Logical, TypeCode::Logical},
    {FieldType::AutoInc, TypeCode::AutoInc},
    {FieldType::Bytes, TypeCode::Bytes},
    {FieldType::BCD, TypeCode::BCD},
};

int codeOf(FieldType type) {
    for (const TypeCodeOf &item : typeCodes) {
        if (item.type == type)
            return item.code;
    }
    return 0;
}

bool typeOf(int code, FieldType &type) {
    for (const TypeCodeOf &item : typeCodes) {
        if (item.code == code) {
            type = item.type;
            return true;
        }
    }
    return false;
}

FieldEntry entryOf(const FieldDef &field, int position) {
    FieldEntry entry;
    entry.loadPosition = position;
    entry.name = field.name;
    entry.typeCode = codeOf(field.type);
    if (field.type == FieldType::BCD)
        entry.size2 = field.size;
    else if (field.type == FieldType::Alpha || !hasReadableValue(field.type))
        entry.size1 = field.size;
    return entry;
}

class Restructuring {
public:
    Restructuring(const QString &path, const TableDescription &description)
        : m_path(path), m_table(QFileInfo(path).fileName()), m_description(description) {}

    void run();

private:
    [[noreturn]] void fail(const QString &reason) const {
        throw DbError(QStringLiteral("Cannot restructure table %1: %2").arg(m_table, reason));
    }
    FieldDef fieldOf(const FieldEntry &entry) const;
    void buildFields();
    void checkNames() const;
    int primaryKeyCount() const;
    void convertRecords();
    void orderByKey();
    SidecarContent sidecarContent() const;
    void write(const SidecarContent &sidecar);

    QString m_path;
    QString m_table;
    const TableDescription &m_description;
    TableData m_old;
    TableData m_new;
    QVector<int> m_loadPositions;
};

FieldDef Restructuring::fieldOf(const FieldEntry &entry) const {
    FieldDef field;
    field.name = entry.name;
    if (!typeOf(entry.typeCode, field.type))
        fail(QStringLiteral("field %1 has type code 0x%2, which is no Paradox field type")
                 .arg(entry.name, QString::number(entry.typeCode, 16)));
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Bytes:
        if (entry.size1 < 1 || entry.size1 > 255)
            fail(QStringLiteral("%1 field %2 has length %3; it must be 1 to 255")
                     .arg(fieldTypeName(field.type), entry.name)
                     .arg(entry.size1));
        field.size = entry.size1;
        break;
    case FieldType::BCD:
        if (entry.size2 < 0 || entry.size2 > 32)
            fail(QStringLiteral("BCD field %1 has %2 decimals; it may have 0 to 32").arg(entry.name).arg(entry.size2));
        field.size = entry.size2;
        break;
    default:
        field.size = hasReadableValue(field.type) ? fieldByteSize(field) : entry.size1;
    }
    return field;
}

void Restructuring::buildFields() {
    for (const Marked<FieldEntry> &item : m_description.fields) {
        if (item.mark == RestructureMark::Drop)
            continue;
        const FieldEntry &entry = item.entry;
        if (entry.loadPosition < 0 || entry.loadPosition > m_old.fields.size())
            fail(QStringLiteral("field %1 loads from position %2, but the table has %3 fields")
                     .arg(entry.name)
                     .arg(entry.loadPosition)
                     .arg(m_old.fields.size()));
        if (entry.loadPosition > 0) {
            const FieldDef &source = m_old.fields.at(entry.loadPosition - 1);
            if (!hasReadableValue(source.type))
                fail(QStringLiteral("the %1 data of field %2 cannot be carried over")
                         .arg(fieldTypeName(source.type), source.name));
        }
        m_new.fields.append(fieldOf(entry));
        m_loadPositions.append(entry.loadPosition);
    }
    if (m_new.fields.isEmpty())
        fail(QStringLiteral("a table needs at least one field"));
    checkNames();
}

void Restructuring::checkNames() const {
    QStringList seen;
    for (const FieldDef &field : m_new.fields) {
        if (field.name.trimmed().isEmpty())
            fail(QStringLiteral("a field has no name"));
        if (seen.contains(field.name, Qt::CaseInsensitive))
            fail(QStringLiteral("the field name %1 occurs twice").arg(field.name));
        seen.append(field.name);
    }
}

int Restructuring::primaryKeyCount() const {
    for (const Marked<IndexEntry> &item : m_description.indexes) {
        if (!item.entry.primary || item.mark == RestructureMark::Drop)
            continue;
        const QVector<int> &keys = item.entry.keyFields;
        if (keys.size() > m_new.fields.size())
            fail(QStringLiteral("a primary key of %1 fields needs as many fields; the table has %2")
                     .arg(keys.size())
                     .arg(m_new.fields.size()));
        QVector<int> leading(keys.size());
        std::iota(leading.begin(), leading.end(), 1);
        if (keys != leading)
            fail(QStringLiteral("a primary key must be made of the leading fields"));
        return keys.size();
    }
    return 0;
}

void Restructuring::convertRecords() {
    m_new.records.reserve(m_old.records.size());
    for (const QVector<QVariant> &record : m_old.records) {
        QVector<QVariant> converted(m_new.fields.size());
        for (int i = 0; i < m_new.fields.size(); ++i) {
            const int from = m_loadPositions.at(i) - 1;
            if (from < 0)
                continue;
            const QVariant &value = record.value(from);
            converted[i] = m_old.fields.at(from).type == m_new.fields.at(i).type &&
                                   m_old.fields.at(from).size <= m_new.fields.at(i).size
                               ? value
                               : convertFieldValue(value, m_new.fields.at(i));
        }
        m_new.records.append(converted);
    }
}

// Orders the records by the primary key (blank first) and refuses two records with one key.
void Restructuring::orderByKey() {
    const int keys = m_new.keyFieldCount;
    if (keys == 0)
        return;
    const auto compare = [keys](const QVector<QVariant> &a, const QVector<QVariant> &b) {
        for (int i = 0; i < keys; ++i) {
            const bool aBlank = a.at(i).isNull(), bBlank = b.at(i).isNull();
            if (aBlank != bBlank)
                return aBlank ? -1 : 1;
            if (aBlank)
                continue;
            const QPartialOrdering order = QVariant::compare(a.at(i), b.at(i));
            if (order == QPartialOrdering::Less)
                return -1;
            if (order == QPartialOrdering::Greater)
                return 1;
        }
        return 0;
    };
    std::stable_sort(m_new.records.begin(), m_new.records.end(),
                     [&compare](const QVector<QVariant> &a, const QVector<QVariant> &b) { return compare(a, b) < 0; });
    for (int r = 1; r < m_new.records.size(); ++r) {
        if (compare(m_new.records.at(r - 1), m_new.records.at(r)) != 0)
            continue;
        QStringList values;
        for (int i = 0; i < keys; ++i)
            values.append(m_new.records.at(r).at(i).toString());
        fail(QStringLiteral("more than one record has the key (%1)").arg(values.join(QStringLiteral(", "))));
    }
}

SidecarContent Restructuring::sidecarContent() const {
    SidecarContent content;
    for (const Marked<ValCheckEntry> &item : m_description.valChecks) {
        const int field = item.entry.fieldNumber;
        if (item.mark != RestructureMark::Drop && field >= 1 && field <= m_new.fields.size())
            content.valChecks.append(item.entry);
    }
    for (const Marked<RefIntEntry> &item : m_description.refInts) {
        if (item.mark != RestructureMark::Drop)
            content.refInts.append(item.entry);
    }
    return content;
}

// The sidecar is prepared first and committed only after the table was replaced, so a failure leaves both
// as they were.
void Restructuring::write(const SidecarContent &sidecar) {
    const QString sidecarPath = restructureSidecarPath(m_path);
    QSaveFile file(sidecarPath);
    if (!sidecar.isEmpty()) {
        if (!file.open(QIODevice::WriteOnly) || file.write(restructureSidecarJson(sidecar, m_new.fields)) < 0)
            fail(QStringLiteral("cannot write %1: %2").arg(sidecarPath, file.errorString()));
    }
    writeParadoxTable(m_path, m_new);
    if (sidecar.isEmpty()) {
        if (QFile::exists(sidecarPath) && !QFile::remove(sidecarPath))
            fail(QStringLiteral("cannot remove %1").arg(sidecarPath));
    } else if (!file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(sidecarPath, file.errorString()));
    }
}

void Restructuring::run() {
    for (const Marked<PasswordEntry> &item : m_description.passwords) {
        if (item.mark != RestructureMark::Drop)
            fail(QStringLiteral("password protection is not supported"));
    }
    m_old = readParadoxTable(m_path);
    m_new.codePage = m_old.codePage;
    buildFields();
    m_new.keyFieldCount = primaryKeyCount();
    convertRecords();
    orderByKey();
    write(sidecarContent());
}

} // namespace

TableStructure readTableStructure(const QString &path) {
    const TableData data = readParadoxTable(path);
    TableStructure structure;
    structure.typeName = ParadoxTableType;
    structure.level = ParadoxTableLevel;
    structure.codePage = data.codePage;
    for (int i = 0; i < data.fields.size(); ++i)
        structure.fields.append(entryOf(data.fields.at(i), i + 1));
    if (data.keyFieldCount > 0) {
        IndexEntry primary;
        primary.primary = primary.unique = primary.maintained = true;
        primary.keyFields.resize(data.keyFieldCount);
        std::iota(primary.keyFields.begin(), primary.keyFields.end(), 1);
        structure.indexes.append(primary);
    }
    const SidecarContent sidecar = readRestructureSidecar(path, data.fields);
    structure.valChecks = sidecar.valChecks;
    structure.refInts = sidecar.refInts;
    return structure;
}

void restructureTable(const QString &path, const TableDescription &description) {
    Restructuring(path, description).run();
}

} // namespace db
