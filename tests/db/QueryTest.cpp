#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/Table.h"
#include "db/TableCache.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db;

namespace {

// Two small tables on disk: cost lines with money and number columns, and their groups.
class QueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeGroups({{1, "Walls", 0}, {2, "Roof", 1}, {3, "Spare", QVariant()}});
        writeParadoxTable(dir.filePath("Cost_Lines.DB"),
                          {{{"Link_Cost", FieldType::Long, 4},
                            {"Link_Grp", FieldType::Long, 4},
                            {"GrpType", FieldType::Alpha, 1},
                            {"Qty", FieldType::Number, 8},
                            {"Cost", FieldType::Money, 8}},
                           1,
                           1252,
                           {{1, 1, "L", 2.5, 10.0},
                            {2, 1, "L", 1.5, 5.25},
                            {3, 2, "L", QVariant(), 7.0},
                            {4, 2, "C", 4.0, 1.0}}});
    }
    void TearDown() override { Session::defaultSession().dropConnections(); }

    void writeGroups(const QVector<QVector<QVariant>> &rows)
    {
        writeParadoxTable(dir.filePath("groups.db"), {{{"Link_Grp", FieldType::Long, 4},
                                                        {"Name", FieldType::Alpha, 20},
                                                        {"Reserved", FieldType::Short, 2}},
                                                       1,
                                                       1252,
                                                       rows});
    }

    std::unique_ptr<Query> query(const QString &sql)
    {
        auto q = std::make_unique<Query>();
        q->setDatabaseName(dir.path());
        q->setSql(sql.split('\n'));
        return q;
    }

    static QStringList column(Query &q, const QString &field)
    {
        QStringList values;
        for (q.first(); !q.eof(); q.next())
            values << q.value(field).toString();
        return values;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(QueryTest, GroupsJoinsAndTypesColumns)
{
    Query q;
    q.setDatabaseName(dir.path());
    q.setSql({"SELECT", "  \"\" AS JOB, G.Name AS codeName, SUM(C.Qty) AS QTY, \"A\" AS TYPE, SUM(C.Cost) AS cost,",
              "  COUNT(C.Qty) As ItemCount, G.Link_Grp AS phaseID", "FROM", "  \"cost_lines.db\" AS C",
              "  JOIN  \"GROUPS.db\" AS G ON (Groups.Link_Grp = C.Link_Grp)", "WHERE", " (C.GrpType = \"L\")",
              "GROUP BY", " G.Name, G.Link_Grp", "ORDER BY", " G.Name"});
    q.open();
    const FieldList expected = {{"JOB", FieldType::Alpha, 1},     {"codeName", FieldType::Alpha, 20},
                                {"QTY", FieldType::Number, 8},    {"TYPE", FieldType::Alpha, 1},
                                {"cost", FieldType::Money, 8},    {"ItemCount", FieldType::Long, 4},
                                {"phaseID", FieldType::Long, 4}};
    EXPECT_EQ(q.fields(), expected);
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(column(q, "codeName"), QStringList({"Roof", "Walls"}));
    EXPECT_EQ(column(q, "QTY"), QStringList({"", "4"}));
    EXPECT_EQ(column(q, "cost"), QStringList({"7", "15.25"}));
    EXPECT_EQ(column(q, "ItemCount"), QStringList({"0", "2"}));
    q.first();
    EXPECT_TRUE(q.value("JOB").isNull());
    EXPECT_EQ(q.value("TYPE"), QVariant("A"));
    EXPECT_EQ(q.value("phaseID").typeId(), QMetaType::Int);
    EXPECT_EQ(q.value("cost").typeId(), QMetaType::Double);
    EXPECT_EQ(q.codePage(), 1252);
}

TEST_F(QueryTest, BlankValuesPassNotOfAComparison)
{
    auto qPtr = query("Select * from Groups where not(Groups.reserved =1) ORDER BY NAME DESC, LINK_GRP ASC ");
    Query &q = *qPtr;
    q.open();
    EXPECT_EQ(column(q, "Name"), QStringList({"Walls", "Spare"}));
    EXPECT_EQ(q.fields().size(), 3);
    EXPECT_EQ(q.fields()[2], (FieldDef{"Reserved", FieldType::Short, 2}));
}

TEST_F(QueryTest, FilterHidesRowsBeforeTheyAreRead)
{
    auto qPtr = query("SELECT Link_Cost, Link_Grp AS PhaseID FROM cost_lines ORDER BY Link_Cost");
    Query &q = *qPtr;
    q.setFiltered(true);
    q.setFilter("(phaseid=2) OR (PhaseID=7)");
    q.open();
    EXPECT_EQ(column(q, "Link_Cost"), QStringList({"3", "4"}));
    q.setFilter("Link_Cost <= 3");
    EXPECT_EQ(q.recordCount(), 3);
    q.setFiltered(false);
    EXPECT_EQ(q.recordCount(), 4);
    EXPECT_TRUE(q.locate("Link_Cost", 4));
    EXPECT_EQ(q.recNo(), 3);
    EXPECT_FALSE(q.locate("Link_Cost", 9));
    q.setFiltered(true);
    EXPECT_THROW(q.setFilter("Nothing=1"), DbError);
}

TEST_F(QueryTest, ParametersBindByName)
{
    auto qPtr = query("SELECT Name FROM groups WHERE Link_Grp >= :First AND Name <> :skip ORDER BY Name");
    Query &q = *qPtr;
    q.setParameter("first", 2);
    q.setParameter(":SKIP", "Roof");
    q.open();
    EXPECT_EQ(column(q, "Name"), QStringList({"Spare"}));

    auto missingPtr = query("SELECT Name FROM groups WHERE Link_Grp = :id");
    Query &missing = *missingPtr;
    try {
        missing.open();
        FAIL() << "no error";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("parameter \":id\" has no value")) << e.what();
    }
}

TEST_F(QueryTest, ChangedFileIsReadAgain)
{
    auto qPtr = query("SELECT Name FROM groups ORDER BY Name");
    Query &q = *qPtr;
    q.open();
    EXPECT_EQ(q.recordCount(), 3);
    q.close();
    writeGroups({{9, "Attic", 0}, {1, "Walls", 0}, {2, "Roof", 1}, {3, "Spare", 0}});
    q.open();
    EXPECT_EQ(column(q, "Name"), QStringList({"Attic", "Roof", "Spare", "Walls"}));
    q.close();
    // A post rewrites the record in place, the file keeps its size and may keep its times.
    Table groups;
    groups.setDatabaseName(dir.path());
    groups.setTableName("groups");
    groups.open();
    groups.edit();
    groups.setValue("Name", "Loft");
    groups.post();
    q.open();
    EXPECT_EQ(column(q, "Name"), QStringList({"Loft", "Roof", "Spare", "Walls"}));
}

TEST_F(QueryTest, RequiredFieldsAreChecked)
{
    const struct {
        FieldList required;
        const char *mentions; // empty: opens
    } cases[] = {
        {{{"name", FieldType::Alpha, 20}, {"Reserved", FieldType::Short, 2}}, ""},
        {{{"Modified", FieldType::Timestamp, 8}}, "column \"Modified\" is missing"},
        {{{"Name", FieldType::Alpha, 40}}, "column \"Name\" is alpha 20, expected alpha 40"},
        {{{"Reserved", FieldType::Long, 4}}, "column \"Reserved\" is short, expected long"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mentions);
        auto qPtr = query("SELECT * FROM groups");
        Query &q = *qPtr;
        q.requireFields(c.required);
        try {
            q.open();
            EXPECT_STREQ(c.mentions, "");
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
            EXPECT_FALSE(q.isOpen());
        }
    }
}

TEST_F(QueryTest, ErrorsNameStatementAndCause)
{
    const struct {
        const char *sql, *mentions;
    } cases[] = {
        {"SELECT * FROM \"nowhere.db\"", "table \"nowhere.db\" not found"},
        {"SELECT Colour FROM groups", "no such column: Colour"},
        {"SELECT Name, FROM groups", "near \"FROM\": syntax error"},
        {"UPDATE groups SET Name = 'x'", "only SELECT statements"},
        {"SELECT Name FROM groups; SELECT 1", "more than one statement"},
        {"", "no statement"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        auto qPtr = query(c.sql);
        Query &q = *qPtr;
        try {
            q.open();
            ADD_FAILURE() << "no error";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
            EXPECT_TRUE(e.message().contains(c.sql)) << e.what();
        }
    }
    QFile::resize(dir.filePath("groups.db"), 100);
    auto brokenPtr = query("SELECT * FROM groups");
    Query &broken = *brokenPtr;
    EXPECT_THROW(broken.open(), DbError);
    auto nowherePtr = query("SELECT * FROM groups");
    Query &nowhere = *nowherePtr;
    nowhere.setDatabaseName(dir.filePath("missing"));
    EXPECT_THROW(nowhere.open(), DbError);
}

TEST_F(QueryTest, SessionCloseClosesOpenQueries)
{
    Session &session = Session::defaultSession();
    auto aPtr = query("SELECT * FROM groups");
    Query &a = *aPtr;
    auto bPtr = query("SELECT * FROM cost_lines");
    Query &b = *bPtr;
    a.open();
    b.open();
    EXPECT_TRUE(session.active());
    session.close();
    EXPECT_FALSE(a.isOpen());
    EXPECT_FALSE(b.isOpen());
    EXPECT_FALSE(session.active());
    EXPECT_FALSE(session.tableCache().isEmpty());
    session.dropConnections();
    EXPECT_TRUE(session.tableCache().isEmpty());
    a.open();
    EXPECT_EQ(a.recordCount(), 3);
}
