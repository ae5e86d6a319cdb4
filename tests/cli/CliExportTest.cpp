#include "cli/CliRun.h"
#include "db/ParadoxFile.h"
#include "writers/WriterTestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

namespace {

class CliExportTest : public CliFixture {
protected:
    Result exportHill(const QStringList &options)
    {
        return cli(QStringList{QStringLiteral("export"), QStringLiteral("Hill Street Offices"),
                               QStringLiteral("--inbox"), inbox()} +
                   options);
    }
    QString file(const QString &name) const { return inbox() + QLatin1Char('/') + name; }
    QStringList inboxFiles() const { return QDir(inbox()).entryList(QDir::Files); }
    // CODE, QTY, TYPE and cost of every data row of a CSV file.
    QStringList codeQtyTypeCost(const QString &csv) const
    {
        QStringList rows;
        const QJsonArray table = readCsv(csv);
        for (int r = 1; r < table.size(); ++r) {
            const QJsonArray row = table.at(r).toArray();
            rows << QStringList{row.at(4).toString(), row.at(5).toString(), row.at(6).toString(),
                                row.at(7).toString()}
                        .join(QLatin1Char(' '));
        }
        return rows;
    }
};

TEST_F(CliExportTest, ExportWritesBothFilesRecordsThePhasesAndTheJobNumber)
{
    const Result result = exportHill({"--phase", "3", "--phase", "7", "--job", "J-1001"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, file("HILL_J-1001.xls") + "\n" + file("HILL_J-1001.csv") + "\n");

    const QByteArray titles = "JOB,JOB_DESC,PHASE,PHASE_DESC,CODE,QTY,TYPE,cost,codeName,phaseID\r\n";
    const QByteArray demolition = "J-1001,Hill Street Offices,D\xe9molition,\"Strip out, ground floor\",";
    EXPECT_EQ(fileBytes(file("HILL_J-1001.csv")),
              titles + demolition + "Remove partitions,5,A,275,Remove partitions,3\r\n" + demolition +
                  "SC,16,A,880,Strip ceiling,3\r\n"
                  "J-1001,Hill Street Offices,Framing,Walls and roof,FW,12.5,A,687.5,Frame wall,7\r\n"
                  "J-1001,Hill Street Offices,Framing,Walls and roof,HD,3,A,165,Hang door,7\r\n");

    const QJsonArray xls = readXls(file("HILL_J-1001.xls"));
    ASSERT_EQ(xls.size(), 5);
    const QJsonArray framing = xls.at(3).toArray();
    EXPECT_EQ(framing.at(2).toArray(), (QJsonArray{1, "Framing"}));
    EXPECT_EQ(framing.at(5).toArray(), (QJsonArray{2, 12.5}));
    EXPECT_EQ(framing.at(9).toArray(), (QJsonArray{2, 7}));
    EXPECT_EQ(xls.at(1).toArray().at(2).toArray(), (QJsonArray{1, QString::fromUtf8("Démolition")}));

    EXPECT_EQ(setting("HILL", "MRU_PHASE"), "3,7");
    EXPECT_EQ(setting("HILL", "JOBNUMBER"), "J-1001");
    // The inbox given on the command line is not stored.
    EXPECT_EQ(setting("Crewmint", "Inbox"), programFolder() + "/CrewmintInbox");

    const QString log = QString::fromUtf8(fileBytes(programFolder() + "/DEBUG.LOG"));
    EXPECT_TRUE(log.contains(">>---tocrewmint-cli --data")) << log.toStdString();
    EXPECT_TRUE(log.contains("----<<tocrewmint-cli exit 0")) << log.toStdString();
}

TEST_F(CliExportTest, PendingExportsOnlyThePhasesNotDoneYet)
{
    ASSERT_EQ(exportHill({"--phase", "3", "--job", "A1"}).exitCode, 0);
    const Result result = exportHill({"--pending", "--job", "A2"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(codeQtyTypeCost(file("HILL_A2.csv")), (QStringList{"FW 12.5 A 687.5", "HD 3 A 165"}));
    EXPECT_EQ(setting("HILL", "MRU_PHASE"), "3,7");

    const Result nothingLeft = exportHill({"--pending", "--job", "A3"});
    EXPECT_EQ(nothingLeft.exitCode, 0);
    EXPECT_TRUE(nothingLeft.err.contains("nothing exported")) << nothingLeft.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("HILL_A3.csv")));
}

TEST_F(CliExportTest, EachGroupingPicksItsQuery)
{
    struct Case {
        QStringList options;
        QStringList rows;
    } cases[] = {
        {{"--tasks-by", "library"}, {"LAB 21 A 1155", "LAB 15.5 A 852.5"}},
        {{"--tasks-by", "category"}, {"DEMO 21 A 1155", "CARP 15.5 A 852.5"}},
        {{"--tasks-by", "activity"}, {"Remove partitions 5 A 275", "SC 16 A 880", "FW 12.5 A 687.5", "HD 3 A 165"}},
        // Only materials: the material batch move creates the table; a library without an export code
        // puts its name in CODE.
        {{"--no-tasks", "--materials", "--materials-by", "library"}, {"Materials 4 M 128", "Materials 62 M 666"}},
        {{"--no-tasks", "--materials", "--materials-by", "category"}, {"TIM 4 M 128", "TIM 62 M 666"}},
        {{"--no-tasks", "--materials", "--materials-by", "material"},
         {"PLY-12 4 M 128", "NAIL-75 2 M 30", "PLY-12  M 96", "TIM-90 60 M 540"}},
        {{"--materials", "--tasks-by", "category", "--materials-by", "category"},
         {"DEMO 21 A 1155", "CARP 15.5 A 852.5", "TIM 4 M 128", "TIM 62 M 666"}},
    };
    int run = 0;
    for (const Case &c : cases) {
        const QString job = QStringLiteral("G%1").arg(++run);
        const Result result = exportHill(QStringList{"--phase", "3", "--phase", "7", "--job", job} + c.options);
        ASSERT_EQ(result.exitCode, 0) << c.options.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_EQ(codeQtyTypeCost(file("HILL_" + job + ".csv")), c.rows) << c.options.join(' ').toStdString();
    }
}

TEST_F(CliExportTest, StampingChangesOnlyTheExportedLineItems)
{
    const db::TableData before = db::readParadoxTable(lineItemPath());
    ASSERT_EQ(exportHill({"--phase", "7", "--job", "S1", "--stamp-milestone", "2"}).exitCode, 0);
    const db::TableData milestone = db::readParadoxTable(lineItemPath());
    const int m2 = 8, reference = 15; // field indexes in the line-item table
    for (int row = 0; row < before.records.size(); ++row) {
        QVector<QVariant> expected = before.records.at(row);
        if (expected.at(1).toInt() == 7)
            expected[m2] = 1;
        EXPECT_EQ(milestone.records.at(row), expected) << "line item " << row + 1;
    }

    ASSERT_EQ(exportHill({"--phase", "3", "--job", "S2", "--stamp-reference"}).exitCode, 0);
    const db::TableData stamped = db::readParadoxTable(lineItemPath());
    for (int row = 0; row < before.records.size(); ++row) {
        const QString text = stamped.records.at(row).at(reference).toString();
        if (before.records.at(row).at(1).toInt() == 3)
            EXPECT_TRUE(text.startsWith("Crewmint: ")) << text.toStdString();
        else
            EXPECT_TRUE(text.isEmpty()) << text.toStdString();
        EXPECT_EQ(stamped.records.at(row).mid(0, reference), milestone.records.at(row).mid(0, reference));
    }
}

TEST_F(CliExportTest, AFailedStampExitsThreeWithTheExportDone)
{
    db::TableData withoutM2 = db::readParadoxTable(lineItemPath());
    const int m2 = 8;
    withoutM2.fields.remove(m2);
    for (auto &record : withoutM2.records)
        record.remove(m2);
    db::writeParadoxTable(lineItemPath(), withoutM2);

    const Result result = exportHill({"--phase", "7", "--job", "S1", "--stamp-milestone", "2"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_TRUE(result.err.contains("DoLogging - Error opening table")) << result.err.toStdString();
    EXPECT_EQ(inboxFiles(), (QStringList{"HILL_S1.csv", "HILL_S1.xls"}));
    EXPECT_EQ(setting("HILL", "MRU_PHASE"), "7");
    EXPECT_EQ(db::readParadoxTable(lineItemPath()).records, withoutM2.records);
}

TEST_F(CliExportTest, MissingProjectOrPhaseExitsTwo)
{
    const Result project = cli({"export", "No Such Project", "--phase", "3"});
    EXPECT_EQ(project.exitCode, 2);
    EXPECT_TRUE(project.err.contains("No Such Project")) << project.err.toStdString();
    EXPECT_EQ(project.err.count('\n'), 1);

    const Result phase = exportHill({"--phase", "3", "--phase", "9"}); // 9 has no line items
    EXPECT_EQ(phase.exitCode, 2);
    EXPECT_TRUE(phase.err.contains("Phase 9")) << phase.err.toStdString();
    EXPECT_TRUE(inboxFiles().isEmpty());
}

TEST_F(CliExportTest, RefusedOrFailedExportsLeaveNoFileAndRecordNothing)
{
    QFile blocker(programFolder() + "/not-a-folder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A folder where the text file should go makes the text writer fail after the spreadsheet was written.
    QDir().mkpath(programFolder() + "/blocked/HILL_J1.csv");
    QDir().mkpath(programFolder() + "/readonly");
    QFile::setPermissions(programFolder() + "/readonly", QFile::ReadOwner | QFile::ExeOwner);
    const bool rootIgnoresPermissions = QFileInfo(programFolder() + "/readonly").isWritable();

    struct Case {
        QStringList options;
        QString message;
    } cases[] = {
        {{"--job", "  "}, "Job number is empty"},
        {{"--job", "J/1"}, "\"/\""},
        {{"--job", "J:1"}, "\":\""},
        {{"--job", "J\t1"}, "code 9"},
        {{"--job", "J1", "--inbox", programFolder() + "/not-a-folder/inbox"}, "inbox"},
        {{"--job", "J1", "--inbox", programFolder() + "/blocked"}, "failed"},
        {{"--job", "J1", "--inbox", programFolder() + "/readonly"}, "failed"},
    };
    for (const Case &c : cases) {
        if (c.options.last().endsWith("/readonly") && rootIgnoresPermissions)
            continue;
        const Result result = cli(QStringList{"export", "Hill Street Offices", "--phase", "3"} + c.options);
        EXPECT_EQ(result.exitCode, 3) << c.options.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        for (const char *folder : {"/readonly", "/blocked"})
            EXPECT_TRUE(QDir(programFolder() + folder).entryList(QDir::Files).isEmpty()) << folder;
    }
    EXPECT_EQ(setting("HILL", "MRU_PHASE"), "<none>");
    EXPECT_FALSE(QDir(inbox()).exists());
}

} // namespace
