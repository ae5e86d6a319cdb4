#include "WriterTestSupport.h"

#include "support/ScriptedUi.h"
#include "writers/Felv2XLS.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>

#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray u16(int value) {
    QByteArray bytes(2, 0);
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

QByteArray record(int number, const QByteArray &data) {
    return u16(number) + u16(data.size()) + data;
}

QByteArray cellHead(int row, int column, int attributes, int alignment) {
    return u16(row) + u16(column) + char(0) + char(attributes) + char(alignment);
}

QByteArray label(int row, int column, int attributes, int alignment, const QByteArray &text) {
    return record(4, cellHead(row, column, attributes, alignment) + char(text.size()) + text);
}

QByteArray number(int row, int column, int attributes, int alignment, double value) {
    QByteArray bytes(8, 0);
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    qToLittleEndian(bits, bytes.data());
    return record(3, cellHead(row, column, attributes, alignment) + bytes);
}

QByteArray format(const QString &pattern) {
    const QByteArray bytes = pattern.toLatin1();
    return record(0x1E, char(bytes.size()) + bytes);
}

// BOF and the five formats, as a file of this machine's user begins.
QByteArray prolog() {
    const QLocale user = QLocale::system();
    return hex("09 04 06 00 00 00 10 00 00 00") + format(QStringLiteral("General")) +
           format(localeShortDatePattern(user)) + format(localeShortTimePattern(user)) +
           format(localeShortDatePattern(user)) + format(QStringLiteral("00.00$"));
}

const QByteArray boldFont = hex("31 00 14 00 A0 00 01 00 FF 7F 0D") + "MS Sans Serif";
const QByteArray plainFont = hex("31 00 14 00 A0 00 00 00 FF 7F 0D") + "MS Sans Serif";
const QByteArray eof = hex("0A 00 00 00");

QByteArray exportTableHead(int rowBound) {
    QByteArray head = prolog() + record(0, u16(0) + u16(rowBound) + u16(0) + u16(11) + u16(0));
    const int widths[] = {40, 40, 20, 40, 20, 12, 1, 12, 40, 12};
    for (int c = 0; c < 10; ++c)
        head += record(0x24, QByteArray(2, char(c)) + u16(widths[c] * 256));
    const db::FieldList fields = exportFields();
    for (int c = 0; c < fields.size(); ++c)
        head += label(0, c, 0, db::isNumeric(fields[c].type) ? 3 : 1, fields[c].name.toLatin1());
    return head;
}

class XlsWriterTest : public ::testing::Test {
protected:
    QString path(const QString &name = QStringLiteral("export.xls")) const { return dir.filePath(name); }

    RunStatus run(db::Dataset &dataSet, const QString &fileName) {
        configureAsProgram(writer, dataSet, fileName);
        writer.setProgress(&progress);
        return writer.Execute();
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    RecordingProgress progress;
    TFelvanToXLS writer;
};

TEST_F(XlsWriterTest, ExampleRecordGivesTheExactFile) {
    MemoryDataset table(exportFields(), {exampleRecord()});
    ASSERT_EQ(run(table, path()), RunStatus::Done);

    QByteArray expected = exportTableHead(2);
    expected += label(1, 0, 0x46, 1, "J-1001") + label(1, 1, 0x46, 1, "Hill Street Offices") +
                label(1, 2, 0x46, 1, "01 Framing") + label(1, 3, 0x46, 1, "Wall framing") +
                label(1, 4, 0x46, 1, "LAB-FR") + hex("03 00 0F 00 01 00 05 00 00 46 03 00 00 00 00 00 00 29 40") +
                label(1, 6, 0x46, 1, "A") + number(1, 7, 0x46, 3, 431.25) + label(1, 8, 0x46, 1, "Framing labour") +
                hex("02 00 09 00 01 00 09 00 00 46 03 07 00");
    expected += boldFont + plainFont + eof;
    const QByteArray bytes = fileBytes(path());
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));
    EXPECT_TRUE(bytes.contains(hex("04 00 0B 00 00 00 00 00 00 00 01 03") + "JOB"));
    EXPECT_TRUE(bytes.contains(hex("24 00 04 00 00 00 00 28")));
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();

    const QJsonArray expectedRows = QJsonDocument::fromJson(R"([
        [[1,"JOB"],[1,"JOB_DESC"],[1,"PHASE"],[1,"PHASE_DESC"],[1,"CODE"],
         [1,"QTY"],[1,"TYPE"],[1,"cost"],[1,"codeName"],[1,"phaseID"]],
        [[1,"J-1001"],[1,"Hill Street Offices"],[1,"01 Framing"],[1,"Wall framing"],[1,"LAB-FR"],
         [2,12.5],[1,"A"],[2,431.25],[1,"Framing labour"],[2,7]]])")
                                        .array();
    EXPECT_EQ(readXls(path()), expectedRows);
}

TEST_F(XlsWriterTest, EmptyTableHasTitlesAndOnlyTheTitleFont) {
    MemoryDataset table(exportFields());
    ASSERT_EQ(run(table, path()), RunStatus::Done);
    EXPECT_EQ(fileBytes(path()).toHex(' '), (exportTableHead(1) + boldFont + eof).toHex(' '));

    const QJsonArray rows = readXls(path());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toArray().size(), 10);
    EXPECT_EQ(rows[0].toArray()[9].toArray()[1].toString(), QStringLiteral("phaseID"));
}

TEST_F(XlsWriterTest, IntegersNumbersAndBlanksAsTheirRecords) {
    using db::FieldType;
    MemoryDataset table({{"n", FieldType::Long, 4},
                         {"q", FieldType::Number, 8},
                         {"c", FieldType::Money, 8},
                         {"t", FieldType::Alpha, 10}},
                        {{255, QVariant(), QVariant(), QVariant()},
                         {256, 0.1 + 0.2, -12.5, "x"},
                         {-1, 1e-6, 3.0, ""},
                         {0, 1234567.891, 2.675, "y"}});
    ASSERT_EQ(run(table, path()), RunStatus::Done);

    const QByteArray bytes = fileBytes(path());
    EXPECT_TRUE(bytes.contains(hex("02 00 09 00 01 00 00 00 00 46 03 FF 00"))); // 255: INTEGER
    EXPECT_TRUE(bytes.contains(number(2, 0, 0x46, 3, 256.0)));                  // 256: NUMBER
    EXPECT_TRUE(bytes.contains(number(3, 0, 0x46, 3, -1.0)));                   // -1: NUMBER
    EXPECT_TRUE(bytes.contains(hex("01 00 07 00 01 00 01 00 00 46 03")));       // null number: BLANK
    EXPECT_TRUE(bytes.contains(hex("01 00 07 00 01 00 02 00 00 44 03")));       // null money: BLANK
    EXPECT_TRUE(bytes.contains(number(2, 1, 0x46, 3, 0.3)));                    // through its text "0.3"
    EXPECT_TRUE(bytes.contains(number(2, 2, 0x44, 3, -12.5)));                  // money: format 4
    EXPECT_TRUE(bytes.contains(hex("01 00 07 00 03 00 03 00 00 46 01")));       // empty text: BLANK

    // Each cell as a reader of the format sees it: [type, value], 2 number, 1 text, 6 blank.
    const QJsonArray expected = QJsonDocument::fromJson(R"([
        [[1,"n"],[1,"q"],[1,"c"],[1,"t"]],
        [[2,255],[6,""],[6,""],[6,""]],
        [[2,256],[2,0.3],[2,-12.5],[1,"x"]],
        [[2,-1],[2,1e-6],[2,3],[6,""]],
        [[2,0],[2,1234567.891],[2,2.675],[1,"y"]]])")
                                    .array();
    EXPECT_EQ(readXls(path()), expected) << QJsonDocument(readXls(path())).toJson(QJsonDocument::Compact).toStdString();
}

TEST_F(XlsWriterTest, TextIsCutTo255BytesInTheTablesCodePage) {
    const QString longText = QString(299, QLatin1Char('a')) + QStringLiteral("b");
    MemoryDataset table({{"t", db::FieldType::Alpha, 255}}, {{longText}, {QStringLiteral("Łódź ąę")}}, 1250);
    ASSERT_EQ(run(table, path()), RunStatus::Done);

    const QByteArray bytes = fileBytes(path());
    EXPECT_TRUE(bytes.contains(hex("04 00 07 01 01 00 00 00 00 46 01 FF") + QByteArray(255, 'a') + hex("04 00")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("a3f3649f") + " " + QByteArray::fromHex("b9ea"))); // cp1250
    const QJsonArray rows = readXls(path(), QStringLiteral("cp1250"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].toArray()[0].toArray()[1].toString(), QString(255, QLatin1Char('a')));
    EXPECT_EQ(rows[2].toArray()[0].toArray()[1].toString(), QStringLiteral("Łódź ąę"));
}

TEST_F(XlsWriterTest, DatesAndTimesAsDayNumbers) {
    using db::FieldType;
    const QDate day(2026, 12, 11);
    MemoryDataset table({{"d", FieldType::Date, 4}, {"t", FieldType::Time, 4}, {"s", FieldType::Timestamp, 8}},
                        {{day, QTime(18, 0), QDateTime(day, QTime(6, 0))}});
    ASSERT_EQ(run(table, path()), RunStatus::Done);

    const double dayNumber = QDate(1899, 12, 30).daysTo(day);
    const QByteArray bytes = fileBytes(path());
    EXPECT_TRUE(bytes.contains(hex("02 00 09 00 01 00 00 00 00 41 01") + u16(int(dayNumber)))); // format 1
    EXPECT_TRUE(bytes.contains(number(1, 1, 0x42, 1, 0.75)));                                   // format 2
    EXPECT_TRUE(bytes.contains(number(1, 2, 0x43, 1, dayNumber + 0.25)));                       // format 3
    const QJsonArray cells = readXls(path())[1].toArray();
    EXPECT_EQ(cells[0].toArray()[0].toInt(), 3); // xlrd's date type: the formats read as date patterns
    EXPECT_EQ(cells[0].toArray()[1].toDouble(), dayNumber);
    EXPECT_EQ(cells[2].toArray()[1].toDouble(), dayNumber + 0.25);
}

TEST_F(XlsWriterTest, MoreRowsThanTheFormatHoldsFailWithoutTouchingTheOldFile) {
    const int rowLimit = 16384; // what readers of these worksheets accept, title row included
    MemoryDataset small({{"n", db::FieldType::Long, 4}}, {{1}});
    ASSERT_EQ(run(small, path()), RunStatus::Done);
    const QByteArray before = fileBytes(path());

    MemoryDataset large({{"n", db::FieldType::Long, 4}}, QVector<QVector<QVariant>>(rowLimit, {7}));
    EXPECT_EQ(run(large, path()), RunStatus::Failed);
    EXPECT_TRUE(writer.errorText().contains(path())) << writer.errorText().toStdString();
    EXPECT_EQ(ui.shown, QStringList{QStringLiteral("error: ") + writer.errorText()});
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("export.xls")});

    // One record fewer fits: the last row index is 16383.
    MemoryDataset largest({{"n", db::FieldType::Long, 4}}, QVector<QVector<QVariant>>(rowLimit - 1, {7}));
    ASSERT_EQ(run(largest, path()), RunStatus::Done);
    EXPECT_TRUE(fileBytes(path()).endsWith(hex("02 00 09 00 FF 3F 00 00 00 46 03 07 00") + boldFont + plainFont + eof));
    const QStringList column = readTextColumn(path(), 0);
    EXPECT_EQ(column.size(), rowLimit);
    EXPECT_EQ(column.count(QStringLiteral("7")), rowLimit - 1);
}

} // namespace
