#include "db/BatchMove.h"
#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db;

namespace {

class BatchMoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeParadoxTable(dir.filePath("lines.db"), {{{"Link_Phs", FieldType::Long, 4},
                                                       {"Name", FieldType::Alpha, 20},
                                                       {"Cost", FieldType::Money, 8}},
                                                      1,
                                                      1252,
                                                      {{7, "Walls", 10.5}, {9, "Roof", 3.0}, {7, "Doors", 1.25}}});
        query.setDatabaseName(dir.path());
        query.setSql({"SELECT \"\" AS JOB, Name AS codeName, SUM(Cost) AS cost, Link_Phs AS phaseID",
                      "FROM \"lines.db\" GROUP BY Name, Link_Phs ORDER BY Name"});
        query.setFiltered(true);
        query.setFilter("(PhaseID=7)");
        query.open();
        move.setSource(&query);
        move.setDestination(dir.path(), "tmpCrew.db");
    }
    void TearDown() override { Session::defaultSession().dropConnections(); }

    TableData result() { return readParadoxTable(dir.filePath("tmpCrew.db")); }

    QTemporaryDir dir;
    Query query;
    BatchMove move;
};

} // namespace

TEST_F(BatchMoveTest, CopyCreatesTableWithTheSourceColumns)
{
    move.setMode(BatchMove::Mode::Copy);
    EXPECT_EQ(move.execute(), 2);
    const TableData table = result();
    const FieldList expected = {{"JOB", FieldType::Alpha, 1},
                                {"codeName", FieldType::Alpha, 20},
                                {"cost", FieldType::Money, 8},
                                {"phaseID", FieldType::Long, 4}};
    EXPECT_EQ(table.fields, expected);
    EXPECT_EQ(table.keyFieldCount, 0);
    const QVector<QVector<QVariant>> rows = {{QVariant(), "Doors", 1.25, 7}, {QVariant(), "Walls", 10.5, 7}};
    EXPECT_EQ(table.records, rows);
}

TEST_F(BatchMoveTest, CopyReplacesTableAndCompanionFiles)
{
    writeParadoxTable(dir.filePath("TMPCREW.DB"), {{{"Other", FieldType::Number, 8}}, 1, 1252, {{1.0}, {2.0}, {3.0}}});
    QFile index(dir.filePath("tmpcrew.px"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    move.setMode(BatchMove::Mode::Copy);
    move.execute();
    EXPECT_EQ(QDir(dir.path()).entryList({"tmpcrew*"}, QDir::Files | QDir::CaseSensitive), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList({"TMPCREW*"}, QDir::Files | QDir::CaseSensitive), QStringList({"TMPCREW.DB"}));
    EXPECT_EQ(readParadoxTable(dir.filePath("TMPCREW.DB")).fields.size(), 4);
}

TEST_F(BatchMoveTest, AppendConvertsToTheDestinationTypes)
{
    writeParadoxTable(dir.filePath("tmpCrew.db"), {{{"JOB", FieldType::Alpha, 40},
                                                    {"codeName", FieldType::Alpha, 3},
                                                    {"cost", FieldType::Number, 8},
                                                    {"phaseID", FieldType::Alpha, 5},
                                                    {"Extra", FieldType::Short, 2}},
                                                   0,
                                                   1252,
                                                   {{"J-1", "Old", 1.0, "1", 5}}});
    move.setMode(BatchMove::Mode::Append);
    EXPECT_EQ(move.execute(), 2);
    const QVector<QVector<QVariant>> rows = {{"J-1", "Old", 1.0, "1", 5},
                                             {QVariant(), "Doo", 1.25, "7", QVariant()},
                                             {QVariant(), "Wal", 10.5, "7", QVariant()}};
    EXPECT_EQ(result().records, rows);
}

TEST_F(BatchMoveTest, FailuresNameTheCauseAndLeaveTheTable)
{
    writeParadoxTable(dir.filePath("tmpCrew.db"),
                      {{{"JOB", FieldType::Alpha, 40}, {"Qty", FieldType::Long, 4}}, 0, 1252, {{"J-1", 4}}});
    const struct {
        bool withSource;
        const char *table;
        const char *mentions;
    } cases[] = {
        {false, "tmpCrew.db", "BatchMove: Invalid batch move parameters"},
        {true, "absent.db", "table absent.db does not exist"},
        {true, "tmpCrew.db", "does not fit field Qty"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mentions);
        BatchMove append;
        append.setSource(c.withSource ? &query : nullptr);
        append.setDestination(dir.path(), c.table);
        try {
            append.execute();
            ADD_FAILURE() << "no error";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
        }
        const QVector<QVector<QVariant>> unchanged = {{"J-1", 4}};
        EXPECT_EQ(result().records, unchanged);
    }
}
