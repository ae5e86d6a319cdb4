#include "db/CodePage.h"
#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "fixtures/Pxlib.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace db;

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QVariant &value, std::ostream *out)
{
    *out << value.typeName() << '(' << value.toString().toStdString() << ')';
}

namespace {

// Day count of the file format: 0001-01-01 is day 1.
qint64 fileDays(const QDate &date)
{
    return date.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1;
}

const QString demolition = QStringLiteral("Démolition");
const QByteArray demolition1252 = QByteArray("D\xe9molition");

TableData everyTypeTable()
{
    TableData data;
    data.fields = {{"Name", FieldType::Alpha, 20},     {"Count", FieldType::Short, 2},
                   {"Big", FieldType::Long, 4},        {"Seq", FieldType::AutoInc, 4},
                   {"Qty", FieldType::Number, 8},      {"Cost", FieldType::Money, 8},
                   {"Day", FieldType::Date, 4},        {"At", FieldType::Time, 4},
                   {"Stamp", FieldType::Timestamp, 8}, {"Done", FieldType::Logical, 1},
                   {"Exact", FieldType::BCD, 2}};
    data.keyFieldCount = 1;
    data.records = {
        {demolition, -12, 2000000000, 1, 12.5, -1234.25, QDate(2024, 3, 5), QTime(14, 7, 30, 250),
         QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), true, 123.45},
        {QStringLiteral("Zero"), 0, -7, 2, -0.001, 0.0, QDate(1, 1, 1), QTime(0, 0), QDateTime(QDate(2024, 2, 29), QTime(0, 0)),
         false, -0.5},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant()},
    };
    return data;
}

bool isBlank(const QByteArray &record, int offset, int size)
{
    return record.mid(offset, size) == QByteArray(size, '\0');
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class ParadoxFileTest : public ::testing::Test {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(ParadoxFileTest, PxlibReadsEveryTypeWeWrite)
{
    const QString file = path("every.db");
    writeParadoxTable(file, everyTypeTable());

    pxlib::Document px(file);
    ASSERT_EQ(px.recordCount(), 3);
    EXPECT_EQ(px.codePage(), 1252);
    EXPECT_EQ(px.keyFieldCount(), 1);
    const QVector<pxlib::Field> fields = px.fields();
    const QVector<int> types = {0x01, 0x03, 0x04, 0x16, 0x06, 0x05, 0x02, 0x14, 0x15, 0x09, 0x17};
    const QVector<int> lengths = {20, 2, 4, 4, 8, 8, 4, 4, 8, 1, 17};
    ASSERT_EQ(fields.size(), types.size());
    for (int f = 0; f < fields.size(); ++f) {
        EXPECT_EQ(fields[f].type, types[f]) << f;
        EXPECT_EQ(fields[f].length, lengths[f]) << f;
        EXPECT_EQ(QString::fromLatin1(fields[f].name), everyTypeTable().fields[f].name);
    }
    EXPECT_EQ(fields[10].decimals, 2);

    const QByteArray r0 = px.record(0);
    EXPECT_EQ(px.alpha(r0, 0), demolition1252);
    EXPECT_EQ(px.shortValue(r0, 1), -12);
    EXPECT_EQ(px.longValue(r0, 2), 2000000000);
    EXPECT_EQ(px.longValue(r0, 3), 1);
    EXPECT_EQ(px.doubleValue(r0, 4), 12.5);
    EXPECT_EQ(px.doubleValue(r0, 5), -1234.25);
    EXPECT_EQ(px.longValue(r0, 6), fileDays(QDate(2024, 3, 5)));
    EXPECT_EQ(px.longValue(r0, 7), (14 * 3600 + 7 * 60 + 30) * 1000 + 250);
    EXPECT_EQ(px.doubleValue(r0, 8), (fileDays(QDate(1999, 12, 31)) * 86400.0 + 86399) * 1000);
    EXPECT_EQ(px.byteValue(r0, 9), char(1));
    EXPECT_EQ(px.bcd(r0, 10), QByteArray("123.45"));

    const QByteArray r1 = px.record(1);
    EXPECT_EQ(px.shortValue(r1, 1), 0);
    EXPECT_EQ(px.longValue(r1, 2), -7);
    EXPECT_EQ(px.doubleValue(r1, 4), -0.001);
    EXPECT_EQ(px.doubleValue(r1, 5), 0.0);
    EXPECT_FALSE(isBlank(r1, 38, 8)) << "zero money is a value, not blank";
    EXPECT_EQ(px.longValue(r1, 6), 1);
    EXPECT_EQ(px.byteValue(r1, 9), char(0));
    EXPECT_EQ(px.bcd(r1, 10), QByteArray("-0.50"));

    EXPECT_EQ(px.record(2), px.blankRecord()) << "blank values are all zero bytes";
}

TEST_F(ParadoxFileTest, ReadsEveryTypePxlibWrites)
{
    const QString file = path("PXLIB.DB");
    {
        pxlib::Document px(file,
                           {{"Name", 0x01, 12}, {"Notes", 0x0c, 20}, {"Count", 0x03, 2}, {"Big", 0x04, 4},
                            {"Seq", 0x16, 4},   {"Qty", 0x06, 8},    {"Cost", 0x05, 8}, {"Day", 0x02, 4},
                            {"At", 0x14, 4},    {"Stamp", 0x15, 8},  {"Done", 0x09, 1}, {"Raw", 0x18, 3}},
                           1, 1252);
        QByteArray r = px.blankRecord();
        px.putAlpha(r, 0, demolition1252);
        px.putShort(r, 2, -300);
        px.putLong(r, 3, -2000000000);
        px.putLong(r, 4, 42);
        px.putDouble(r, 5, -0.25);
        px.putDouble(r, 6, 99.99);
        px.putLong(r, 7, static_cast<int>(fileDays(QDate(1970, 1, 1))));
        px.putLong(r, 8, 3600 * 1000 + 5);
        px.putDouble(r, 9, (fileDays(QDate(2024, 3, 5)) * 86400.0 + 50400) * 1000);
        px.putByte(r, 10, 0);
        px.append(r);
        px.append(px.blankRecord());
    }
    const TableData data = readParadoxTable(file);
    ASSERT_EQ(data.fields.size(), 12);
    EXPECT_EQ(data.fields[1].type, FieldType::Memo);
    EXPECT_EQ(data.fields[11].type, FieldType::Bytes);
    EXPECT_EQ(data.fields[0], (FieldDef{"Name", FieldType::Alpha, 12}));
    EXPECT_EQ(data.keyFieldCount, 1);
    ASSERT_EQ(data.records.size(), 2);
    const QVector<QVariant> expected = {demolition,
                                        QVariant(),
                                        -300,
                                        -2000000000,
                                        42,
                                        -0.25,
                                        99.99,
                                        QDate(1970, 1, 1),
                                        QTime(1, 0, 0, 5),
                                        QDateTime(QDate(2024, 3, 5), QTime(14, 0)),
                                        false,
                                        QVariant()};
    EXPECT_EQ(data.records[0], expected);
    for (const QVariant &v : data.records[1])
        EXPECT_TRUE(v.isNull());
}

TEST_F(ParadoxFileTest, RoundTripKeepsValuesAcrossManyBlocks)
{
    TableData data = everyTypeTable();
    for (int i = 0; i < 700; ++i)
        data.records.append({QStringLiteral("row %1").arg(i), i % 32000, i * 1000, i + 3, i / 4.0, i * -0.5,
                             QDate(2020, 1, 1).addDays(i), QTime(0, 0).addSecs(i), QDateTime(QDate(2021, 6, 1), QTime(8, 0)).addSecs(i * 60),
                             i % 2 == 0, QVariant()});
    const QString file = path("many.db");
    writeParadoxTable(file, data);
    const TableData back = readParadoxTable(file);
    EXPECT_EQ(back.fields, data.fields);
    ASSERT_EQ(back.records.size(), data.records.size());
    for (int i = 0; i < data.records.size(); ++i)
        EXPECT_EQ(back.records[i], data.records[i]) << i;
    EXPECT_EQ(pxlib::Document(file).recordCount(), data.records.size());
}

TEST_F(ParadoxFileTest, CodePagesConvertBothWays)
{
    struct Case {
        int codePage;
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {1252, demolition, demolition1252},
        {1252, QStringLiteral("a√b€"), QByteArray("a?b\x80")},
        {850, QStringLiteral("é"), QByteArray("\x82")},
        {437, QStringLiteral("Ω≥€"), QByteArray("\xea\xf2?")},
        {1250, QStringLiteral("Łódź"), QByteArray("\xa3\xf3\x64\x9f")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(encodeText(c.text, c.codePage), c.bytes) << c.codePage;
        if (!c.bytes.contains('?')) {
            EXPECT_EQ(decodeText(c.bytes, c.codePage), c.text) << c.codePage;
        }
    }

    const QString file = path("cp850.db");
    TableData data;
    data.codePage = 850;
    data.fields = {{"Name", FieldType::Alpha, 4}};
    data.records = {{QStringLiteral("été√x")}};
    writeParadoxTable(file, data);
    pxlib::Document px(file);
    EXPECT_EQ(px.codePage(), 850);
    EXPECT_EQ(px.alpha(px.record(0), 0), QByteArray("\x82t\x82?")) << "cut to the field's four bytes";
    EXPECT_EQ(readParadoxTable(file).records[0][0], QStringLiteral("été?"));
}

TEST_F(ParadoxFileTest, UpdateRewritesOnlyThatRecord)
{
    const QString file = path("update.db");
    TableData data = everyTypeTable();
    for (int i = 0; i < 200; ++i)
        data.records.append(data.records[i % 2]);
    writeParadoxTable(file, data);
    const QByteArray before = fileBytes(file);

    ParadoxFile table = ParadoxFile::load(file);
    table.updateRecord(150, {{1, 7}, {0, QStringLiteral("Crewmint: March 5, 2024 - 14:07")}});
    const QByteArray after = fileBytes(file);
    ASSERT_EQ(after.size(), before.size());
    QVector<int> changed;
    for (int i = 0; i < before.size(); ++i)
        if (before[i] != after[i])
            changed.append(i);
    ASSERT_FALSE(changed.isEmpty());
    const int recordSize = 20 + 2 + 4 + 4 + 8 + 8 + 4 + 4 + 8 + 1 + 17;
    EXPECT_LT(changed.last() - changed.first(), recordSize);

    const TableData back = readParadoxTable(file);
    EXPECT_EQ(back.records[150][0], QStringLiteral("Crewmint: March 5, 2")) << "cut to 20 characters";
    EXPECT_EQ(back.records[150][1], 7);
    EXPECT_EQ(back.records[150][2], data.records[150][2]);
    EXPECT_EQ(table.data().records[150], back.records[150]);
    EXPECT_EQ(back.records[149], data.records[149]);
    EXPECT_EQ(back.records[151], data.records[151]);
}

TEST_F(ParadoxFileTest, FailedUpdateLeavesEveryByte)
{
    const QString file = path("update.db");
    writeParadoxTable(file, everyTypeTable());
    const QByteArray before = fileBytes(file);
    ParadoxFile table = ParadoxFile::load(file);
    try {
        table.updateRecord(0, {{0, QStringLiteral("fine")}, {1, QStringLiteral("abc")}});
        FAIL() << "a text that is no number must not go into a short field";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("update.db")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Count")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("abc")));
    }
    EXPECT_THROW(table.updateRecord(0, {{1, 40000}}), DbError);
    EXPECT_EQ(fileBytes(file), before);

    // A record changed behind our back is not overwritten.
    ParadoxFile other = ParadoxFile::load(file);
    other.updateRecord(1, {{2, 5}});
    const QByteArray changed = fileBytes(file);
    EXPECT_THROW(table.updateRecord(1, {{2, 6}}), DbError);
    EXPECT_EQ(fileBytes(file), changed);
}

TEST_F(ParadoxFileTest, ReplacingKeepsTheOldTableWhenTheNewOneCannotBeMade)
{
    const QString file = path("keep.db");
    writeParadoxTable(file, everyTypeTable());
    const QByteArray before = fileBytes(file);
    TableData bad = everyTypeTable();
    bad.fields.append({"Name", FieldType::Alpha, 3});
    EXPECT_THROW(writeParadoxTable(file, bad), DbError);
    TableData misfit = everyTypeTable();
    misfit.records[1][2] = QStringLiteral("not a number");
    EXPECT_THROW(writeParadoxTable(file, misfit), DbError);
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.db")});
}

// A valid file of three blocks (2 KB blocks of 100-byte records: 20 records each).
QByteArray threeBlockFile(const QString &path)
{
    TableData data;
    data.fields = {{"Id", FieldType::Long, 4}, {"Text", FieldType::Alpha, 96}};
    for (int i = 0; i < 50; ++i)
        data.records.append({i, QStringLiteral("text %1").arg(i)});
    writeParadoxTable(path, data);
    return fileBytes(path);
}

TEST_F(ParadoxFileTest, MalformedFilesGiveErrorsNamingFileAndReason)
{
    const QString file = path("bad.db");
    const QByteArray good = threeBlockFile(file);
    const int header = 0x800;
    auto setWord = [](QByteArray bytes, int offset, int value) {
        qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data() + offset);
        return bytes;
    };
    auto setByte = [](QByteArray bytes, int offset, int value) {
        bytes[offset] = char(value);
        return bytes;
    };
    QByteArray noNameEnd = good;
    noNameEnd.replace(0x100, header - 0x100, QByteArray(header - 0x100, 'x'));
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "too short"},
        {"text file", QByteArray("LongName,ShortName\nHill Street Offices,HILL\n").repeated(4), "not a Paradox"},
        {"truncated", good.left(good.size() - 100), "file size"},
        {"block size", setByte(good, 5, 5), "block size"},
        {"version", setByte(good, 0x39, 0x20), "version"},
        {"record size", setWord(good, 0, 101), "record size"},
        {"field type", setByte(good, 0x78, 0x07), "unknown type"},
        {"alpha size", setByte(good, 0x7b, 0), "invalid size"},
        {"short size", setByte(setByte(good, 0x78, 0x03), 0x79, 4), "invalid size"},
        {"names", noNameEnd, "field names"},
        {"cycle", setWord(good, header + 2 * 2048, 1), "cycle"},
        {"chain leaves", setWord(good, header, 9), "leaves the file"},
        {"block count", setWord(good, header + 4, 2040), "impossible record count"},
        {"odd offset", setWord(good, header + 4, 150), "impossible record count"},
        {"record count", setWord(good, 6, 49), "header"},
        {"key count", setWord(good, 0x23, 3), "key field count"},
        {"encrypted", setWord(good, 0x5c, 0x1234), "password"},
    };
    for (const Case &c : cases) {
        writeBytes(file, c.bytes);
        try {
            readParadoxTable(file);
            ADD_FAILURE() << c.what << ": read without error";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(file)) << c.what << ": " << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QLatin1String(c.reason))) << c.what << ": " << e.message().toStdString();
        }
    }
}

TEST_F(ParadoxFileTest, EveryDamagedHeaderByteReadsOrFailsCleanly)
{
    const QString file = path("flip.db");
    const QByteArray good = threeBlockFile(file);
    for (int offset = 0; offset < 0x200; ++offset)
        for (const char value : {'\x00', '\x01', '\x7f', '\xff'}) {
            QByteArray bytes = good;
            bytes[offset] = value;
            writeBytes(file, bytes);
            try {
                const TableData data = readParadoxTable(file);
                EXPECT_LE(data.records.size(), 50);
            } catch (const DbError &) {
            }
        }
}

TEST_F(ParadoxFileTest, EmptyBlockInTheChainIsNoError)
{
    const QString file = path("empty-block.db");
    QByteArray bytes = threeBlockFile(file);
    // Block 2 emptied: its last-record offset becomes minus one record, and the header
    // count drops by its 20 records.
    qToLittleEndian<quint16>(static_cast<quint16>(-100), bytes.data() + 0x800 + 2048 + 4);
    qToLittleEndian<quint32>(30, bytes.data() + 6);
    writeBytes(file, bytes);
    const TableData data = readParadoxTable(file);
    ASSERT_EQ(data.records.size(), 30);
    EXPECT_EQ(data.records[19][0], 19);
    EXPECT_EQ(data.records[20][0], 40);
}

TEST_F(ParadoxFileTest, EncryptedTableIsRefusedByName)
{
    const QString file = path("secret.db");
    {
        pxlib::Document px(file, {{"Name", 0x01, 10}}, 0, 1252, "letmein");
        QByteArray r = px.blankRecord();
        px.putAlpha(r, 0, "hidden");
        px.append(r);
    }
    try {
        readParadoxTable(file);
        FAIL() << "an encrypted table must not be read";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(file));
        EXPECT_TRUE(e.message().contains(QStringLiteral("password-protected")));
    }
}

} // namespace
