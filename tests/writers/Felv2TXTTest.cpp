#include "WriterTestSupport.h"

#include "support/ScriptedUi.h"
#include "writers/Felv2TXT.h"

#include <QFile>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

const QByteArray titleLine = "JOB,JOB_DESC,PHASE,PHASE_DESC,CODE,QTY,TYPE,cost,codeName,phaseID\r\n";

class CsvWriterTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("export.csv")); }

    RunStatus run(db::Dataset &dataSet) {
        configureAsProgram(writer, dataSet, path());
        writer.setSeparator(QLatin1Char(','));
        return writer.Execute();
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    TFelvanToText writer;
};

TEST_F(CsvWriterTest, ExampleRecordGivesTheExactFile) {
    MemoryDataset table(exportFields(), {exampleRecord()});
    ASSERT_EQ(run(table), RunStatus::Done);
    EXPECT_EQ(fileBytes(path()), titleLine + "J-1001,Hill Street Offices,01 Framing,Wall framing,LAB-FR,12.5,A,"
                                             "431.25,Framing labour,7\r\n");
}

TEST_F(CsvWriterTest, EmptyTableGivesTheTitleLineOnly) {
    MemoryDataset table(exportFields());
    ASSERT_EQ(run(table), RunStatus::Done);
    EXPECT_EQ(fileBytes(path()), titleLine);
}

TEST_F(CsvWriterTest, ValuesAreWrittenAsTheyAreUnlessTheyWouldSplitTheirField) {
    struct Case {
        QVariant phaseDesc, qty, cost, codeName;
        QByteArray line; // PHASE_DESC to codeName
    };
    const Case cases[] = {
        {"Wall framing", 3.0, 0.25, QVariant(), "Wall framing,LAB-FR,3,A,0.25,"},
        {"Walls, exterior", -12.5, 1e-6, "Trim", "\"Walls, exterior\",LAB-FR,-12.5,A,1E-6,Trim"},
        {"2\" studs", 100.0, 0.1 + 0.2, "say \"x\"", "\"2\"\" studs\",LAB-FR,100,A,0.3,\"say \"\"x\"\"\""},
        {"line\r\nbreak", 2.675, 1234567.891, "a\nb", "\"line\r\nbreak\",LAB-FR,2.675,A,1234567.891,\"a\nb\""},
        {"Café", QVariant(), QVariant(), "x;y 'z'", "Caf\xe9,LAB-FR,,A,,x;y 'z'"},
        {"cr\ronly", 1.0, 0.0, "end", "\"cr\ronly\",LAB-FR,1,A,0,end"},
    };
    MemoryDataset table(exportFields());
    QByteArray expected = titleLine;
    for (const Case &c : cases) {
        table.appendRow({"J-1", "Job", "01", c.phaseDesc, "LAB-FR", c.qty, "A", c.cost, c.codeName, 7});
        expected += "J-1,Job,01," + c.line + ",7\r\n";
    }
    ASSERT_EQ(run(table), RunStatus::Done);
    EXPECT_EQ(fileBytes(path()), expected);

    // A standard reader gets the title row's field count and the values back.
    const QJsonArray rows = readCsv(path());
    ASSERT_EQ(rows.size(), 1 + int(std::size(cases)));
    for (int r = 1; r < rows.size(); ++r) {
        const QJsonArray fields = rows[r].toArray();
        ASSERT_EQ(fields.size(), 10) << r;
        EXPECT_EQ(fields[3].toString(), cases[r - 1].phaseDesc.toString());
        EXPECT_EQ(fields[8].toString(), cases[r - 1].codeName.toString());
    }
}

TEST_F(CsvWriterTest, AnExistingFileIsReplaced) {
    {
        QFile old(path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    MemoryDataset table(exportFields());
    ASSERT_EQ(run(table), RunStatus::Done);
    EXPECT_EQ(fileBytes(path()), titleLine);
}

} // namespace
