#include "db/ParadoxFile.h"
#include "db/TableFiles.h"
#include "env/QuarvexRec.h"
#include "export/ExportCSV.h"
#include "fixtures/QuarvexFixture.h"
#include "platform/Progress.h"
#include "settings/Settings.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Cancels the first writer run at its first step.
class CancellingProgress : public NullProgress {
public:
    void step(int, const QString &) override { m_cancelled = true; }
    bool cancelled() const override { return m_cancelled; }

private:
    bool m_cancelled = false;
};

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.standardProject();
        m_fixture.write();
        AppRec = TAppRec();
        AppRec.ProgramFolder = m_home.path();
        AppRec.myTemp = m_home.path() + "/tmp";
        QDir().mkpath(AppRec.myTemp);
        AppRec.Inbox = "~";
        AppRec.JOBNUMBER = "J-1001";
        AppRec.ExportList = QStringList{"3", "7"};
        ResetQuarvexRec();
        QuarvexRec.ProjectPath = m_fixture.projectPath("HILL");
        QuarvexRec.ProjectName = "Hill Street Offices";
        QuarvexRec.ProjectShort = "HILL";
    }
    QString inbox() const { return m_home.path() + "/CrewmintInbox"; }
    QString tempTable() const { return db::findTableFile(AppRec.myTemp, TExportRun::tableName()); }
    QStringList inboxFiles() const { return QDir(inbox()).entryList(QDir::Files); }

    QTemporaryDir m_home;
    QuarvexFixture m_fixture;
    ScriptedUi m_ui;
};

TEST_F(ExportRunTest, RunFillsTheTableWritesTheInboxAndSummarises)
{
    QuarvexRec.ProjectName = QString(45, 'P');
    AppRec.JOBNUMBER = QString(42, '7');
    AppRec.showMaterial = true;
    AppRec.COLLAPSEMATERIALS = 0;
    TExportRun run;
    QVector<QPair<int, int>> bar;
    run.onProgress = [&](int position, int maximum) { bar.append({position, maximum}); };
    run.Run();

    ASSERT_TRUE(run.ExportOk) << m_ui.shown.join('\n').toStdString();
    EXPECT_EQ(run.Caption, "Exporting - " + QuarvexRec.ProjectName);
    EXPECT_EQ(AppRec.Inbox, inbox());
    const QString base = inbox() + "/HILL_" + AppRec.JOBNUMBER;
    EXPECT_EQ(run.XlsFileName, base + ".xls");
    EXPECT_EQ(run.CsvFileName, base + ".csv");
    EXPECT_EQ(inboxFiles().size(), 2);
    EXPECT_EQ(bar.last(), qMakePair(6, 6));

    // The table keeps its rows: job fields widened to 40 and cut to it, tasks first, then materials.
    const db::TableData table = db::readParadoxTable(tempTable());
    ASSERT_EQ(table.fields.size(), 10);
    EXPECT_EQ(table.fields.at(0).name, "JOB");
    EXPECT_EQ(table.fields.at(0).size, 40);
    EXPECT_EQ(table.fields.at(1).name, "JOB_DESC");
    EXPECT_EQ(table.fields.at(1).size, 40);
    ASSERT_EQ(table.records.size(), 6);
    EXPECT_EQ(table.records.at(0).at(0), QString(40, '7'));
    EXPECT_EQ(table.records.at(0).at(1), QString(40, 'P'));
    EXPECT_EQ(table.records.at(4).at(4), "Materials"); // library without an export code
    EXPECT_EQ(table.records.at(4).at(6), "M");

    const QStringList memo = run.Memo;
    ASSERT_EQ(memo.size(), 7 + 6);
    EXPECT_EQ(memo.at(0), "JOB,JOB_DESC,PHASE,PHASE_DESC,CODE,QTY,TYPE,cost,codeName,phaseID");
    EXPECT_EQ(memo.at(1), QString(40, '7') + "," + QString(40, 'P') +
                              QString::fromUtf8(",Démolition,\"Strip out, ground floor\",Remove partitions,5,A,275,"
                                                "Remove partitions,3"));
    EXPECT_EQ(memo.mid(7), (QStringList{"", "\tTasks grouped by\t\tActivity", "\tMaterials grouped by\tLibrary", "",
                                        "** Export sent to:", base + ".csv"}));
}

TEST_F(ExportRunTest, NothingBuiltOrAnUnknownGroupingEndsWithoutFiles)
{
    struct Case {
        bool tasks, materials;
        int tasksBy;
        bool ok;
        QString memo;
        QString message;
    } cases[] = {
        {false, false, 2, true, "No export file found.", ""},
        {true, false, 5, false, "No export file found.", "inform: BatchMove: Invalid batch move parameters"},
        // Task rows built, material grouping unknown: the table exists but the run is aborted.
        {true, true, 2, false, "** Export Aborted", "inform: BatchMove: Invalid batch move parameters"},
    };
    for (const Case &c : cases) {
        AppRec.showActivity = c.tasks;
        AppRec.showMaterial = c.materials;
        AppRec.COLLAPSETASKS = c.tasksBy;
        AppRec.COLLAPSEMATERIALS = c.materials ? 7 : 2;
        m_ui.shown.clear();
        TExportRun run;
        run.Run();
        EXPECT_EQ(run.ExportOk, c.ok) << c.memo.toStdString();
        EXPECT_EQ(run.Memo, QStringList{c.memo});
        EXPECT_EQ(m_ui.shown, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(inboxFiles().isEmpty());
    }
}

TEST_F(ExportRunTest, PhasesWithoutRowsGiveTitleOnlyFiles)
{
    AppRec.ExportList = QStringList{"9"};
    AppRec.showMaterial = true;
    TExportRun run;
    run.Run();
    ASSERT_TRUE(run.ExportOk);
    EXPECT_EQ(run.Memo.at(0), "JOB,JOB_DESC,PHASE,PHASE_DESC,CODE,QTY,TYPE,cost,codeName,phaseID");
    EXPECT_EQ(run.Memo.at(1), "");
    EXPECT_EQ(run.Memo.size(), 7);
}

TEST_F(ExportRunTest, ASecondRunStartsFromANewTableAndTheRunRemovesItAtTheEnd)
{
    {
        TExportRun run;
        run.Run();
        ASSERT_TRUE(run.ExportOk);
        AppRec.ExportList = QStringList{"7"};
        run.Run();
        ASSERT_TRUE(run.ExportOk);
        EXPECT_EQ(db::readParadoxTable(tempTable()).records.size(), 2);
        EXPECT_EQ(run.Memo.size(), 3 + 6);
    }
    EXPECT_TRUE(tempTable().isEmpty());
}

TEST_F(ExportRunTest, ACancelledWriterAbortsAndTakesItsFilesAway)
{
    const QString olderCsv = inbox() + "/HILL_J-1001.csv";
    QDir().mkpath(inbox());
    QFile older(olderCsv);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("an earlier export\r\n");
    older.close();

    CancellingProgress cancelling;
    TExportRun run(&cancelling);
    run.Run();
    EXPECT_FALSE(run.ExportOk);
    EXPECT_EQ(run.Memo, QStringList{"** Export Aborted"});
    EXPECT_TRUE(run.XlsFileName.isEmpty());
    // The spreadsheet of this run is gone; the text file of an earlier run was never touched.
    EXPECT_EQ(inboxFiles(), QStringList{"HILL_J-1001.csv"});
}

TEST_F(ExportRunTest, RefusedNamesStopBeforeAnythingRuns)
{
    struct Case {
        QString job, shortName, message;
    } cases[] = {
        {"", "HILL", "Job number is empty"},
        {"J>1", "HILL", "\">\""},
        {"J|1", "HILL", "\"|\""},
        {"J\n1", "HILL", "code 10"},
        {"J1", "..", "Project short name \"..\""},
        {"J1", "A/B", "Project short name \"A/B\""},
        {"J1", " ", "Project short name \" \""},
    };
    for (const Case &c : cases) {
        AppRec.JOBNUMBER = c.job;
        QuarvexRec.ProjectShort = c.shortName;
        m_ui.shown.clear();
        TExportRun run;
        run.Run();
        EXPECT_FALSE(run.ExportOk);
        ASSERT_EQ(m_ui.shown.size(), 1);
        EXPECT_TRUE(m_ui.shown.at(0).contains(c.message)) << m_ui.shown.at(0).toStdString();
        EXPECT_TRUE(tempTable().isEmpty());
    }
    EXPECT_TRUE(exportNameProblem(" J-1001 ", "HILL").isEmpty()); // blanks around are used as typed
}

} // namespace
