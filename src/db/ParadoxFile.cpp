#include "db/ParadoxFile.h"

#include "db/CodePage.h"
#include "db/DbError.h"
#include "db/ParadoxValue.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QtEndian>

#include <cstring>

namespace db {

namespace {

constexpr int blockHeaderSize = 6;
constexpr int fieldInfoOld = 0x58;  // versions 3.0 and 3.5
constexpr int fieldInfoNew = 0x78;  // version 4.0 and later
constexpr int version7 = 0x0c;
constexpr int unencrypted4 = static_cast<int>(0xff00ff00);

struct TypeCode {
    FieldType type;
    quint8 code;
};

const TypeCode typeCodes[] = {
    {FieldType::Alpha, 0x01},  {FieldType::Date, 0x02},     {FieldType::Short, 0x03},  {FieldType::Long, 0x04},
    {FieldType::Money, 0x05},  {FieldType::Number, 0x06},   {FieldType::Logical, 0x09}, {FieldType::Memo, 0x0c},
    {FieldType::Blob, 0x0d},   {FieldType::FmtMemo, 0x0e},  {FieldType::Ole, 0x0f},    {FieldType::Graphic, 0x10},
    {FieldType::Time, 0x14},   {FieldType::Timestamp, 0x15}, {FieldType::AutoInc, 0x16}, {FieldType::BCD, 0x17},
    {FieldType::Bytes, 0x18},
};

bool typeFromCode(quint8 code, FieldType *type)
{
    for (const TypeCode &t : typeCodes)
        if (t.code == code) {
            *type = t.type;
            return true;
        }
    return false;
}

quint8 codeOf(FieldType type)
{
    for (const TypeCode &t : typeCodes)
        if (t.type == type)
            return t.code;
    return 0;
}

bool isBlobKind(FieldType type)
{
    return !hasReadableValue(type) && type != FieldType::Bytes;
}

// The size byte of a field descriptor: the length for alpha and bytes, the decimals for
// BCD, the byte size otherwise.
int descriptorSize(const FieldDef &field)
{
    return field.type == FieldType::BCD ? field.size : fieldByteSize(field);
}

bool sizeFits(const FieldDef &field, int sizeByte)
{
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Bytes: return sizeByte >= 1;
    case FieldType::BCD: return sizeByte <= 32;
    default:
        if (isBlobKind(field.type))
            return sizeByte >= 10;
        return sizeByte == fieldByteSize(field);
    }
}

quint16 word(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

qint32 dword(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

void putWord(QByteArray &bytes, int offset, int value)
{
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data() + offset);
}

void putDword(QByteArray &bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

int tableNameLength(int version)
{
    return version >= version7 ? 261 : 79;
}

// Reads and checks the header, then the data blocks, of one file held in memory.
class Reader {
public:
    Reader(const QString &path, const QByteArray &bytes) : m_path(path), m_bytes(bytes) {}

    void readHeader(TableData &data, int &recordSize);
    QVector<qint64> readBlockChain(int recordSize);

private:
    [[noreturn]] void fail(const QString &reason) const
    {
        throw DbError(QStringLiteral("Paradox table %1: %2").arg(m_path, reason));
    }
    void readFields(TableData &data, int recordSize);

    QString m_path;
    const QByteArray &m_bytes;
    int m_version = 0;
    int m_headerSize = 0;
    int m_blockSize = 0;
    int m_numRecords = 0;
    int m_fileBlocks = 0;
    int m_firstBlock = 0;
};

void Reader::readHeader(TableData &data, int &recordSize)
{
    if (m_bytes.size() < fieldInfoOld)
        fail(QStringLiteral("the file is too short to be a Paradox table"));
    const int fileType = static_cast<quint8>(m_bytes[4]);
    if (fileType != 0 && fileType != 2)
        fail(QStringLiteral("not a Paradox data table (file type %1)").arg(fileType));
    m_version = static_cast<quint8>(m_bytes[0x39]);
    if (m_version < 3 || m_version > version7)
        fail(QStringLiteral("unknown Paradox file version %1").arg(m_version));
    const int blockKb = static_cast<quint8>(m_bytes[5]);
    if (!QVector<int>{1, 2, 3, 4, 8, 16, 32}.contains(blockKb))
        fail(QStringLiteral("invalid block size %1 KB").arg(blockKb));
    m_blockSize = blockKb * 1024;
    recordSize = word(m_bytes, 0);
    m_headerSize = word(m_bytes, 2);
    const int infoStart = m_version >= 5 ? fieldInfoNew : fieldInfoOld;
    if (m_headerSize < infoStart || m_headerSize > m_bytes.size())
        fail(QStringLiteral("invalid header size %1").arg(m_headerSize));
    const qint32 encryption = m_version >= 5 ? dword(m_bytes, 0x5c) : dword(m_bytes, 0x25);
    if (encryption != 0 && !(m_version < 5 && encryption == unencrypted4))
        fail(QStringLiteral("the table is password-protected (encrypted) and cannot be read"));
    m_numRecords = dword(m_bytes, 6);
    m_fileBlocks = word(m_bytes, 0x0c);
    m_firstBlock = word(m_bytes, 0x0e);
    if (m_bytes.size() != qint64(m_headerSize) + qint64(m_fileBlocks) * m_blockSize)
        fail(QStringLiteral("the file size %1 does not match its header (%2 blocks of %3 bytes after %4)")
                 .arg(m_bytes.size())
                 .arg(m_fileBlocks)
                 .arg(m_blockSize)
                 .arg(m_headerSize));
    if (m_numRecords < 0)
        fail(QStringLiteral("invalid record count %1").arg(m_numRecords));
    if (recordSize < 1 || recordSize > m_blockSize - blockHeaderSize)
        fail(QStringLiteral("invalid record size %1 for blocks of %2 bytes").arg(recordSize).arg(m_blockSize));
    const int codePage = m_version >= 5 ? word(m_bytes, 0x6a) : 0;
    data.codePage = codePage == 0 ? 1252 : codePage;
    if (!isSupportedCodePage(data.codePage))
        fail(QStringLiteral("unsupported code page %1").arg(data.codePage));
    readFields(data, recordSize);
}

void Reader::readFields(TableData &data, int recordSize)
{
    const int count = static_cast<qint16>(word(m_bytes, 0x21));
    const int infoStart = m_version >= 5 ? fieldInfoNew : fieldInfoOld;
    if (count < 1 || infoStart + 2 * count > m_headerSize)
        fail(QStringLiteral("invalid field count %1").arg(count));
    data.keyFieldCount = static_cast<qint16>(word(m_bytes, 0x23));
    if (data.keyFieldCount < 0 || data.keyFieldCount > count)
        fail(QStringLiteral("invalid key field count %1").arg(data.keyFieldCount));
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<quint8>(m_bytes[infoStart + 2 * i]);
        const int sizeByte = static_cast<quint8>(m_bytes[infoStart + 2 * i + 1]);
        FieldDef field;
        if (!typeFromCode(code, &field.type))
            fail(QStringLiteral("field %1 has unknown type 0x%2").arg(i + 1).arg(code, 2, 16, QLatin1Char('0')));
        field.size = sizeByte;
        if (!sizeFits(field, sizeByte))
            fail(QStringLiteral("field %1 (%2) has invalid size %3").arg(i + 1).arg(fieldTypeName(field.type)).arg(sizeByte));
        total += fieldByteSize(field);
        data.fields.append(field);
    }
    if (total != recordSize)
        fail(QStringLiteral("record size %1 differs from the sum of the field sizes %2").arg(recordSize).arg(total));
    CodePageText text(data.codePage);
    int pos = infoStart + 2 * count + 4 + 4 * count + tableNameLength(m_version);
    for (FieldDef &field : data.fields) {
        const int end = pos < m_headerSize ? m_bytes.indexOf('\0', pos) : -1;
        if (end < 0 || end >= m_headerSize)
            fail(QStringLiteral("the field names run past the header"));
        field.name = text.decode(m_bytes.constData() + pos, end - pos);
        pos = end + 1;
    }
}

QVector<qint64> Reader::readBlockChain(int recordSize)
{
    QVector<qint64> offsets;
    offsets.reserve(m_numRecords);
    QSet<int> seen;
    const int perBlock = (m_blockSize - blockHeaderSize) / recordSize;
    for (int block = m_firstBlock; block != 0;) {
        if (block > m_fileBlocks)
            fail(QStringLiteral("the block chain leaves the file (block %1 of %2)").arg(block).arg(m_fileBlocks));
        if (seen.contains(block))
            fail(QStringLiteral("the block chain runs in a cycle at block %1").arg(block));
        seen.insert(block);
        const qint64 start = m_headerSize + qint64(block - 1) * m_blockSize;
        const int lastOffset = static_cast<qint16>(word(m_bytes, static_cast<int>(start + 4)));
        if (lastOffset < -recordSize || (lastOffset + recordSize) % recordSize != 0 ||
            (lastOffset + recordSize) / recordSize > perBlock)
            fail(QStringLiteral("block %1 holds an impossible record count").arg(block));
        const int inBlock = (lastOffset + recordSize) / recordSize;
        if (offsets.size() + inBlock > m_numRecords)
            fail(QStringLiteral("the blocks hold more records than the header's %1").arg(m_numRecords));
        for (int r = 0; r < inBlock; ++r)
            offsets.append(start + blockHeaderSize + qint64(r) * recordSize);
        block = word(m_bytes, static_cast<int>(start));
    }
    if (offsets.size() != m_numRecords)
        fail(QStringLiteral("the blocks hold %1 records, the header says %2").arg(offsets.size()).arg(m_numRecords));
    return offsets;
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Cannot open table %1: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DbError(QStringLiteral("Cannot read table %1: %2").arg(path, file.errorString()));
    return bytes;
}

// Builds a new table file in memory.
class Writer {
public:
    Writer(const QString &path, const TableData &data) : m_path(path), m_data(data), m_text(data.codePage) {}
    QByteArray build();

private:
    [[noreturn]] void fail(const QString &reason) const
    {
        throw DbError(QStringLiteral("Cannot create table %1: %2").arg(m_path, reason));
    }
    void checkFields();
    QByteArray headerBytes(int headerSize, int blockKb, int blocks);
    QByteArray nameBytes();

    QString m_path;
    const TableData &m_data;
    CodePageText m_text;
    int m_recordSize = 0;
};

void Writer::checkFields()
{
    if (m_data.fields.isEmpty() || m_data.fields.size() > 255)
        fail(QStringLiteral("a table has 1 to 255 fields, not %1").arg(m_data.fields.size()));
    if (m_data.keyFieldCount < 0 || m_data.keyFieldCount > m_data.fields.size())
        fail(QStringLiteral("invalid key field count %1").arg(m_data.keyFieldCount));
    if (!isSupportedCodePage(m_data.codePage))
        fail(QStringLiteral("unsupported code page %1").arg(m_data.codePage));
    QSet<QString> names;
    for (const FieldDef &field : m_data.fields) {
        const QString key = field.name.toLower();
        if (field.name.isEmpty() || names.contains(key))
            fail(QStringLiteral("field name \"%1\" is empty or repeated").arg(field.name));
        names.insert(key);
        const int size = descriptorSize(field);
        if (size > 255 || !sizeFits(field, size))
            fail(QStringLiteral("field %1 (%2) has invalid size %3").arg(field.name, fieldTypeName(field.type)).arg(field.size));
        m_recordSize += fieldByteSize(field);
    }
}

QByteArray Writer::nameBytes()
{
    QByteArray names(tableNameLength(version7), '\0');
    const QByteArray tableName = m_text.encode(QFileInfo(m_path).completeBaseName()).left(names.size() - 1);
    std::memcpy(names.data(), tableName.constData(), tableName.size());
    for (const FieldDef &field : m_data.fields)
        names += m_text.encode(field.name) + '\0';
    for (int i = 1; i <= m_data.fields.size(); ++i)
        names += char(i & 0xff), names += char(i >> 8);
    names += QByteArrayLiteral("ANSIINTL") + '\0';
    return names;
}

QByteArray Writer::headerBytes(int headerSize, int blockKb, int blocks)
{
    const int count = m_data.fields.size();
    QByteArray h(headerSize, '\0');
    putWord(h, 0x00, m_recordSize);
    putWord(h, 0x02, headerSize);
    h[0x04] = char(m_data.keyFieldCount > 0 ? 0 : 2);
    h[0x05] = char(blockKb);
    putDword(h, 0x06, m_data.records.size());
    putWord(h, 0x0a, blocks);
    putWord(h, 0x0c, blocks);
    putWord(h, 0x0e, blocks > 0 ? 1 : 0);
    putWord(h, 0x10, blocks);
    putWord(h, 0x21, count);
    putWord(h, 0x23, m_data.keyFieldCount);
    putDword(h, 0x25, unencrypted4);
    h[0x29] = char(0x62);
    h[0x39] = char(version7);
    putWord(h, 0x3a, blocks);
    putWord(h, 0x58, 0x0100 | version7);
    putWord(h, 0x5a, 0x0100 | version7);
    putWord(h, 0x64, count + 1);
    putWord(h, 0x6a, m_data.codePage);
    for (int i = 0; i < count; ++i) {
        h[fieldInfoNew + 2 * i] = char(codeOf(m_data.fields[i].type));
        h[fieldInfoNew + 2 * i + 1] = char(descriptorSize(m_data.fields[i]));
    }
    const QByteArray names = nameBytes();
    std::memcpy(h.data() + fieldInfoNew + 6 * count + 4, names.constData(), names.size());
    return h;
}

QByteArray Writer::build()
{
    checkFields();
    const int count = m_data.fields.size();
    const int namesEnd = fieldInfoNew + 6 * count + 4 + nameBytes().size();
    const int headerSize = (namesEnd + 0x7ff) / 0x800 * 0x800;
    if (headerSize > 0xf800)
        fail(QStringLiteral("the field names do not fit in a header"));
    int blockKb = 2;
    while (blockKb < 32 && (m_recordSize > blockKb * 1024 - blockHeaderSize ||
                            qint64(m_data.records.size()) / ((blockKb * 1024 - blockHeaderSize) / m_recordSize) >= 0xffff))
        blockKb *= 2;
    const int blockSize = blockKb * 1024;
    if (m_recordSize > blockSize - blockHeaderSize)
        fail(QStringLiteral("records of %1 bytes are too long").arg(m_recordSize));
    const int perBlock = (blockSize - blockHeaderSize) / m_recordSize;
    const qint64 blocks = (m_data.records.size() + perBlock - 1) / perBlock;
    if (blocks > 0xffff)
        fail(QStringLiteral("too many records (%1)").arg(m_data.records.size()));
    QByteArray file = headerBytes(headerSize, blockKb, static_cast<int>(blocks));
    file.append(QByteArray(blocks * blockSize, '\0'));
    QVector<int> fieldOffsets;
    for (int i = 0, offset = 0; i < count; offset += fieldByteSize(m_data.fields[i]), ++i)
        fieldOffsets.append(offset);
    const QString tableName = QFileInfo(m_path).fileName();
    for (int b = 0; b < blocks; ++b) {
        const qint64 start = headerSize + qint64(b) * blockSize;
        const int first = b * perBlock;
        const int inBlock = std::min<int>(perBlock, m_data.records.size() - first);
        putWord(file, start, b + 1 < blocks ? b + 2 : 0);
        putWord(file, start + 2, b);
        putWord(file, start + 4, (inBlock - 1) * m_recordSize);
        for (int r = 0; r < inBlock; ++r) {
            const QVector<QVariant> &record = m_data.records[first + r];
            char *out = file.data() + start + blockHeaderSize + qint64(r) * m_recordSize;
            for (int f = 0; f < count; ++f)
                encodeValue(m_data.fields[f], record.value(f), out + fieldOffsets[f], m_text, tableName);
        }
    }
    return file;
}

} // namespace

TableData readParadoxTable(const QString &path)
{
    return ParadoxFile::load(path).data();
}

void writeParadoxTable(const QString &path, const TableData &data)
{
    const QByteArray bytes = Writer(path, data).build();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DbError(QStringLiteral("Cannot write table %1: %2").arg(path, file.errorString()));
}

ParadoxFile ParadoxFile::load(const QString &path)
{
    ParadoxFile file;
    file.m_path = path;
    file.m_bytes = readWholeFile(path);
    Reader reader(path, file.m_bytes);
    reader.readHeader(file.m_data, file.m_recordSize);
    file.m_recordOffsets = reader.readBlockChain(file.m_recordSize);
    for (int i = 0, offset = 0; i < file.m_data.fields.size(); offset += fieldByteSize(file.m_data.fields[i]), ++i)
        file.m_fieldOffsets.append(offset);
    CodePageText text(file.m_data.codePage);
    const FieldList &fields = file.m_data.fields;
    file.m_data.records.reserve(file.m_recordOffsets.size());
    for (qint64 offset : file.m_recordOffsets) {
        const char *record = file.m_bytes.constData() + offset;
        QVector<QVariant> values(fields.size());
        for (int f = 0; f < fields.size(); ++f)
            values[f] = decodeValue(fields[f], record + file.m_fieldOffsets[f], text);
        file.m_data.records.append(values);
    }
    return file;
}

void ParadoxFile::updateRecord(int row, const QHash<int, QVariant> &changes)
{
    if (row < 0 || row >= m_recordOffsets.size())
        throw DbError(QStringLiteral("Table %1 has no record %2").arg(m_path).arg(row + 1));
    const qint64 offset = m_recordOffsets[row];
    const QByteArray old = m_bytes.mid(offset, m_recordSize);
    QByteArray updated = old;
    CodePageText text(m_data.codePage);
    const QString tableName = QFileInfo(m_path).fileName();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        encodeValue(m_data.fields.at(it.key()), it.value(), updated.data() + m_fieldOffsets[it.key()], text, tableName);
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset))
        throw DbError(QStringLiteral("Cannot open table %1 for update: %2").arg(m_path, file.errorString()));
    if (file.read(m_recordSize) != old)
        throw DbError(QStringLiteral("Table %1: record %2 was changed by another program; it was not updated")
                          .arg(m_path)
                          .arg(row + 1));
    if (!file.seek(offset) || file.write(updated) != m_recordSize || !file.flush())
        throw DbError(QStringLiteral("Cannot update table %1: %2").arg(m_path, file.errorString()));
    std::memcpy(m_bytes.data() + offset, updated.constData(), m_recordSize);
    for (int f = 0; f < m_data.fields.size(); ++f)
        m_data.records[row][f] = decodeValue(m_data.fields[f], updated.constData() + m_fieldOffsets[f], text);
}

} // namespace db
