#include "db/DbError.h"
#include "db/SqlDialect.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace db;

namespace {

// Table layouts by lower-case file name, as the engine would hand them over.
const QHash<QString, FieldList> layouts = {
    {"projname.db",
     {{"LongName", FieldType::Alpha, 40}, {"ShortName", FieldType::Alpha, 40}, {"ReservedLibrary", FieldType::Short, 2}}},
    {"prod_lib.db", {{"Link_lib", FieldType::Long, 4}, {"Name", FieldType::Alpha, 40}, {"Lib_level", FieldType::Short, 2}}},
    {"prod_cat.db", {{"Link_cat", FieldType::Long, 4}, {"Link_lib", FieldType::Long, 4}, {"Name", FieldType::Alpha, 30}}},
    {"qvex_cst.db",
     {{"Link_Cost", FieldType::Long, 4}, {"Qty", FieldType::Number, 8}, {"Cost", FieldType::Money, 8}}},
};

ResolvedTable resolve(const QString &name)
{
    QString file = name.toLower();
    if (!file.endsWith(".db"))
        file += ".db";
    if (!layouts.contains(file))
        throw DbError("no table " + name);
    return {"t_" + file.left(file.size() - 3), layouts[file]};
}

} // namespace

TEST(SqlDialect, TranslatesTableNamesQuotesAndQualifiers)
{
    const struct {
        const char *local, *sqlite;
    } cases[] = {
        {"Select * from Projname where not(Projname.reservedlibrary =1)",
         "Select * from \"t_projname\" AS \"Projname\" where not IFNULL((Projname.reservedlibrary =1), 0)"},
        {"SELECT \"\" AS JOB, SUM(C.Qty) FROM \"qvex_cst.db\" AS C WHERE (C.GrpType = \"L\")",
         "SELECT '' AS JOB, SUM(C.Qty) FROM \"t_qvex_cst\" AS C WHERE (C.GrpType = 'L')"},
        {"SELECT C.Name FROM Prod_Lib AS L JOIN Prod_Cat AS C ON (Prod_Lib.Link_Lib=Prod_cat.Link_Lib)",
         "SELECT C.Name FROM \"t_prod_lib\" AS L JOIN \"t_prod_cat\" AS C ON (\"L\".Link_Lib=\"C\".Link_Lib)"},
        {"SELECT d1.Name FROM \"prod_lib.db\" d1, \"prod_cat.db\" d2 WHERE d1.Link_lib = d2.Link_lib",
         "SELECT d1.Name FROM \"t_prod_lib\" d1, \"t_prod_cat\" d2 WHERE d1.Link_lib = d2.Link_lib"},
        {"SELECT phase.Name FROM prod_lib.db phase WHERE Name = 'it''s \"x\"' -- \"note\"",
         "SELECT phase.Name FROM \"t_prod_lib\" phase WHERE Name = 'it''s \"x\"' -- \"note\""},
        {"select Name from PROD_LIB where Name = \"say \"\"hi\"\"\" and Lib_level=:level",
         "select Name from \"t_prod_lib\" AS \"PROD_LIB\" where Name = 'say \"hi\"' and Lib_level=:level"},
        {"SELECT x FROM (SELECT Name AS x FROM Prod_Lib) AS s ORDER BY x",
         "SELECT x FROM (SELECT Name AS x FROM \"t_prod_lib\" AS \"Prod_Lib\") AS s ORDER BY x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.local);
        EXPECT_EQ(translateSql(c.local, resolve).text.toStdString(), c.sqlite);
    }
}

TEST(SqlDialect, InfersResultColumnTypes)
{
    const TranslatedSql sql = translateSql(
        "SELECT \"\" AS JOB, \"AB\" TYPE, L.Name, Name AS n2, SUM(C.Cost) AS cost, SUM(C.Qty), SUM(L.Lib_level),"
        " COUNT(C.Qty) As LineCount, MAX(L.Lib_level), AVG(C.Cost), 7, 2.5, C.Qty * 2, C.*\n"
        "FROM \"qvex_cst.db\" AS C JOIN prod_lib AS L ON (C.Link_Cost = L.Link_lib)",
        resolve);
    const struct {
        bool known;
        FieldType type;
        int size;
    } expected[] = {
        {true, FieldType::Alpha, 1},  {true, FieldType::Alpha, 2},   {true, FieldType::Alpha, 40},
        {true, FieldType::Alpha, 40}, {true, FieldType::Money, 8},   {true, FieldType::Number, 8},
        {true, FieldType::Long, 4},   {true, FieldType::Long, 4},    {true, FieldType::Short, 2},
        {true, FieldType::Number, 8}, {true, FieldType::Long, 4},    {true, FieldType::Number, 8},
        {false, FieldType::Alpha, 0}, {true, FieldType::Long, 4},    {true, FieldType::Number, 8},
        {true, FieldType::Money, 8},
    };
    ASSERT_EQ(sql.columns.size(), int(std::size(expected)));
    for (int i = 0; i < sql.columns.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sql.columns[i].known, expected[i].known);
        if (expected[i].known) {
            EXPECT_EQ(sql.columns[i].def.type, expected[i].type);
            EXPECT_EQ(sql.columns[i].def.size, expected[i].size);
        }
    }
}

TEST(SqlDialect, RefusesWhatItCannotRun)
{
    const struct {
        const char *sql, *mentions;
    } cases[] = {
        {"DELETE FROM Projname", "only SELECT statements"},
        {"SELECT * FROM Projname WHERE (a = 1", "unbalanced \"(\""},
        {"SELECT * FROM Projname WHERE a = 1)", "unbalanced \")\""},
        {"SELECT * FROM Projname WHERE a = 'x", "unterminated quote at position 34"},
        {"SELECT * FROM Projname /* open", "unterminated comment"},
        {"SELECT 1", "no table named"},
        {"SELECT * FROM Nowhere", "no table Nowhere"},
        {"SELECT * FROM Projname AS WHERE a = 1", "alias expected after AS for table \"Projname\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            translateSql(c.sql, resolve);
            ADD_FAILURE() << "no error";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
        }
    }
}
