#include "db/ParadoxFile.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun makeDemoData(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(MAKE_DEMO_DATA), args);
    EXPECT_TRUE(tool.waitForFinished(120000)) << tool.errorString().toStdString();
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

// The first column of a statement's rows, as text.
QStringList firstColumn(const QString &folder, const QString &sql)
{
    db::Query query;
    query.setDatabaseName(folder);
    query.setSql({sql});
    query.open();
    QStringList values;
    for (query.first(); !query.eof(); query.next())
        values << query.value(0).toString();
    return values;
}

int count(const QString &folder, const QString &sql)
{
    return firstColumn(folder, sql).value(0).toInt();
}

const QString catalogue = QStringLiteral("Select * from Projname where not(Projname.reservedlibrary =1)");

class MakeDemoData : public ::testing::Test {
protected:
    void TearDown() override { db::Session::defaultSession().dropConnections(); }

    QString systemFolder() const { return data + QStringLiteral("/System"); }
    QString project(const QString &shortName) const { return data + QStringLiteral("/Projects/") + shortName; }

    QTemporaryDir temp;
    const QString data = temp.filePath(QStringLiteral("demo"));
};

} // namespace

TEST_F(MakeDemoData, BadArgumentsGiveUsageAndWriteNothing)
{
    const struct {
        QStringList args;
        const char *mentions;
    } cases[] = {
        {{}, "no data folder given"},
        {{data, "--scale"}, "--scale needs a whole number from 1 to 1000000"},
        {{data, "--scale", "0"}, "not \"0\""},
        {{data, "--scale", "2.5"}, "not \"2.5\""},
        {{data, "--scale", "1000001"}, "not \"1000001\""},
        {{data, "--size", "5"}, "unknown option \"--size\""},
        {{data, data + "2"}, "one data folder only"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mentions);
        const ToolRun run = makeDemoData(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.mentions)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("usage: make-demo-data DIR [--scale N]")) << run.err.toStdString();
        EXPECT_FALSE(QDir(data).exists());
    }
}

TEST_F(MakeDemoData, FolderThatCannotBeMadeIsNamed)
{
    QFile blocker(data);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ToolRun run = makeDemoData({data});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(data + "/System")) << run.err.toStdString();
}

TEST_F(MakeDemoData, CatalogueHidesTheReservedLibrary)
{
    const ToolRun run = makeDemoData({data});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QDir(data).absolutePath())) << run.out.toStdString();

    EXPECT_EQ(firstColumn(systemFolder(), catalogue).join('|').toStdString(),
              "Hill Street Offices|Riverside Primary School|Maple Court Townhouses");
    const db::TableData projname = db::readParadoxTable(systemFolder() + "/Projname.DB");
    ASSERT_EQ(projname.records.size(), 4);
    EXPECT_EQ(projname.records[2][0].toString().toStdString(), "Master Library");
    EXPECT_EQ(projname.records[2][4].toInt(), 1);
    EXPECT_TRUE(QDir(project("MASTERLIB")).exists());
    EXPECT_EQ(firstColumn(systemFolder(), "SELECT Fullname FROM Users ORDER BY UserName").join('|').toStdString(),
              "Administrator|Erin Walsh|Zoë Fernández");
}

TEST_F(MakeDemoData, HillKeepsItsRoughEdges)
{
    ASSERT_EQ(makeDemoData({data}).exitCode, 0);
    const struct {
        const char *sql, *expected;
    } cases[] = {
        {"SELECT Name FROM Prod_Lib WHERE Export IS NULL", "Materials"},
        {"SELECT Desct FROM Phase WHERE Name = 'Démolition'", "Strip out, ground floor"},
        {"SELECT Name FROM Phase WHERE Link_Phs NOT IN (SELECT Link_Phs FROM Qvex_Prd)", "Finishes"},
        {"SELECT COUNT(*) FROM Qvex_Prd WHERE LabQty1 IS NULL", "2"},
        {"SELECT COUNT(*) FROM Qvex_Cst WHERE Qty IS NULL", "1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(firstColumn(project("HILL"), c.sql).join('|').toStdString(), c.expected) << c.sql;
}

// Every line item reaches its phase, location, product and unit, and every cost line its
// line item and its product or material, so that nothing drops out of a join.
TEST_F(MakeDemoData, ScaledProjectHasTheSizeAskedAndEveryRowJoins)
{
    for (int pass = 0; pass < 2; ++pass) { // a second run replaces the tables, it does not add to them
        const ToolRun run = makeDemoData({data, "--scale", "50"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    EXPECT_EQ(firstColumn(systemFolder(), catalogue).last().toStdString(), "Harbour Tower");
    EXPECT_EQ(count(project("TOWER"), "SELECT COUNT(*) FROM Qvex_Prd"), 50);
    EXPECT_EQ(count(project("TOWER"), "SELECT COUNT(*) FROM Qvex_Cst"), 200);

    for (const char *shortName : {"HILL", "RIVERSIDE", "MAPLE", "TOWER"}) {
        SCOPED_TRACE(shortName);
        const QString folder = project(shortName);
        const int lineItems = count(folder, "SELECT COUNT(*) FROM Qvex_Prd");
        const int costLines = count(folder, "SELECT COUNT(*) FROM Qvex_Cst");
        EXPECT_GT(lineItems, 0);
        EXPECT_EQ(count(folder, "SELECT COUNT(*) FROM Qvex_Prd d1, Phase d2, Location d3, Product d4, Uom d5 "
                                "WHERE d1.Link_Phs = d2.Link_Phs AND d1.Link_loc = d3.Link_loc "
                                "AND d1.Link_prod = d4.Link_prod AND d4.Link_Uom = d5.Link_UOM"),
                  lineItems);
        EXPECT_EQ(count(folder, "SELECT COUNT(*) FROM Qvex_Cst C JOIN Qvex_Prd T ON T.Link_QuarvexPrd = "
                                "C.Link_QuarvexPrd JOIN Product P ON P.Link_Prod = C.Link_Cost WHERE C.GrpType = 'L'") +
                      count(folder, "SELECT COUNT(*) FROM Qvex_Cst C JOIN Qvex_Prd T ON T.Link_QuarvexPrd = "
                                    "C.Link_QuarvexPrd JOIN Material M ON M.Link_Mat = C.Link_Cost "
                                    "WHERE C.GrpType = 'C'"),
                  costLines);
    }
    const ToolRun smaller = makeDemoData({data});
    ASSERT_EQ(smaller.exitCode, 0);
    EXPECT_FALSE(firstColumn(systemFolder(), catalogue).contains(QStringLiteral("Harbour Tower")));
}
