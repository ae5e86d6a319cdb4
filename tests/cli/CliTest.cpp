#include "cli/CliRun.h"
#include "export/ExportQueries.h"

namespace {

using CliTest = CliFixture;

TEST_F(CliTest, ProjectsListsTheCatalogue)
{
    m_fixture.project("Reserved Library", "RES", {}, 1);
    m_fixture.write();
    const Result result = cli({"projects"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "Hill Street Offices\tHILL\t2024-01-15 10:30\n");
}

TEST_F(CliTest, PhasesShowsIdsCountsAndDoneState)
{
    const Result before = cli({"phases", "hill street offices"});
    ASSERT_EQ(before.exitCode, 0) << before.err.toStdString();
    EXPECT_EQ(before.out, QString::fromUtf8("3\tDémolition\tStrip out, ground floor\t2\tno\n"
                                            "7\tFraming\tWalls and roof\t2\tno\n"));
    ASSERT_EQ(cli({"export", "Hill Street Offices", "--phase", "7", "--inbox", inbox()}).exitCode, 0);
    EXPECT_TRUE(cli({"phases", "Hill Street Offices"}).out.contains("7\tFraming\tWalls and roof\t2\tyes\n"));
}

TEST_F(CliTest, SqlPrintsCsv)
{
    const Result result = cli({"sql", projectPath(), "SELECT Name, Desct FROM \"phase.db\" ORDER BY Link_Phs",
                               "--filter", "Name<>'Framing'"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QString::fromUtf8("Name,Desct\nDémolition,\"Strip out, ground floor\"\nFinishes,Paint and trim\n"));

    const Result grouped = cli({"sql", projectPath(), groupingQuery(GroupKind::Tasks, 1).join('\n')});
    ASSERT_EQ(grouped.exitCode, 0) << grouped.err.toStdString();
    EXPECT_EQ(grouped.out, QString::fromUtf8("JOB,JOB_DESC,PHASE,PHASE_DESC,CODE,QTY,TYPE,cost,codeName,phaseID\n"
                                             ",,Démolition,\"Strip out, ground floor\",DEMO,21,A,1155,Demolition crew,3\n"
                                             ",,Framing,Walls and roof,CARP,15.5,A,852.5,Carpentry,7\n"));

    const Result bad = cli({"sql", projectPath(), "SELECT Nope FROM \"phase.db\""});
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_TRUE(bad.err.contains("Nope")) << bad.err.toStdString();
}

TEST_F(CliTest, BadUsageExitsOne)
{
    const QStringList cases[] = {{},
                                 {"frobnicate"},
                                 {"phases"},
                                 {"export", "Hill Street Offices"},
                                 {"export", "Hill Street Offices", "--phase", "x"},
                                 {"export", "Hill Street Offices", "--phase", "3", "--tasks-by", "week"},
                                 {"export", "Hill Street Offices", "--phase", "3", "--stamp-milestone", "9"},
                                 {"export", "Hill Street Offices", "--phase", "3", "--tasks", "--no-tasks"},
                                 {"projects", "--pending"},
                                 {"--unknown-option", "projects"}};
    for (const QStringList &args : cases) {
        const Result result = cli(args);
        EXPECT_EQ(result.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("usage: tocrewmint-cli")) << args.join(' ').toStdString();
    }
}

} // namespace
