// The program's local SQL statements, as its forms write them, on the standard project:
// rows, their order and the types of the result columns.

#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Query.h"
#include "db/Session.h"
#include "export/ExportQueries.h"
#include "fixtures/QuarvexFixture.h"

#include <QDir>
#include <QMetaType>

#include <gtest/gtest.h>

using db::FieldList;
using db::FieldType;

namespace {

enum class Folder { System, Project };

struct Statement {
    const char *name;
    Folder folder;
    QStringList sql;
    QString filter; // empty: no client filter
    FieldList fields;
    QStringList rows; // values joined by "|", blank values empty
};

const QString catalogueSql = QStringLiteral("Select * from Projname where not(Projname.reservedlibrary =1)");

const FieldList catalogueFields = {{"LongName", FieldType::Alpha, 40},
                                   {"ShortName", FieldType::Alpha, 40},
                                   {"Modified", FieldType::Timestamp, 8},
                                   {"Password", FieldType::Alpha, 10},
                                   {"ReservedLibrary", FieldType::Short, 2}};

// The standard project with two additions: line item 5 of phase 7 with a blank quantity and no
// cost lines, and product 1004 of type "S0", which is no labour task. The catalogue also holds
// "Cedar Mews", the reserved "Master Library" and "Anchor Quay", modified at the same minute
// as "Hill Street Offices".
QString writeProjects(QuarvexFixture &fixture)
{
    fixture.standardProject()
        .lineItem(5, 7, 1, 1000, QVariant())
        .product(1004, 100, 1, "Site survey", "SURV", "S0")
        .project("Cedar Mews", "CEDAR", QDateTime(QDate(2024, 2, 1), QTime(8, 0)))
        .project("Master Library", "MASTER", QDateTime(QDate(2023, 12, 1), QTime(9, 0)), 1)
        .project("Anchor Quay", "QUAY", QDateTime(QDate(2024, 1, 15), QTime(10, 30)));
    return fixture.write();
}

const QString hill = QStringLiteral("Hill Street Offices|HILL|2024-01-15T10:30:00.000||0");
const QString cedar = QStringLiteral("Cedar Mews|CEDAR|2024-02-01T08:00:00.000||0");
const QString quay = QStringLiteral("Anchor Quay|QUAY|2024-01-15T10:30:00.000||0");

// The catalogue statement after clicks on the grid's column titles.
Statement sorted(const char *orderBy, const QStringList &rows)
{
    return {orderBy, Folder::System, {catalogueSql + QStringLiteral(" ") + orderBy}, {}, catalogueFields, rows};
}

const QStringList checklistSql = {
    "SELECT PH.Name, PH.Desct, PH.Link_Phs, SUM(T.Qty) As ItemCount, COUNT(T.Qty) As LineCount",
    "FROM \"phase.db\" AS PH JOIN \"Qvex_prd.db\" AS T ON (PH.Link_Phs=T.Link_Phs)",
    "GROUP BY PH.Name, PH.Desct, PH.Link_Phs",
    "ORDER BY PH.Name",
};

const QStringList itemsSql = {
    "SELECT DISTINCT d2.Name AS PHASE, d3.Name AS LOCATION, d1.Qty AS Quantity, d4.Desct AS Product,  d5.Name AS "
    "UOM, d1.LabQty1, d1.LabQty2,",
    "d1.Link_QuarvexPrd AS QuarvexID, d1.Link_Phs as PhaseID",
    "FROM \"qvex_prd.db\" d1, \"phase.db\" d2, \"Location.db\" d3, \"product.db\" d4, \"uom.db\" d5",
    "WHERE (d1.Link_Phs = d2.Link_PHS)",
    "AND (d1.Link_loc = d3.Link_loc)",
    "AND (d1.Link_prod = d4.Link_prod)",
    "AND (d4.Link_Uom = d5.Link_UOM)",
    "ORDER BY d2.Name, d3.Name, d1.Link_QuarvexPrd",
};

const FieldList itemFields = {{"PHASE", FieldType::Alpha, 20},   {"LOCATION", FieldType::Alpha, 60},
                              {"Quantity", FieldType::Number, 8}, {"Product", FieldType::Alpha, 40},
                              {"UOM", FieldType::Alpha, 20},      {"LabQty1", FieldType::Number, 8},
                              {"LabQty2", FieldType::Number, 8},  {"QuarvexID", FieldType::Long, 4},
                              {"PhaseID", FieldType::Long, 4}};

const QStringList demolitionItems = {"Démolition|First Floor|10|Remove partitions|hr|||2|3",
                                     "Démolition|Ground Floor|40|Strip ceiling|m2|2|0|1|3"};
const QStringList framingItems = {"Framing|First Floor|4|Hang door|ea|||4|7",
                                  "Framing|Ground Floor|25|Frame wall|hr|1.5|0.5|3|7",
                                  "Framing|Ground Floor||Frame wall|hr|||5|7"};

// All six grouping queries give these columns: codes are export codes or SKUs (alpha 20),
// names are names or descriptions (alpha 40).
const FieldList groupingFields = {{"JOB", FieldType::Alpha, 1},       {"JOB_DESC", FieldType::Alpha, 1},
                                  {"PHASE", FieldType::Alpha, 20},    {"PHASE_DESC", FieldType::Alpha, 40},
                                  {"CODE", FieldType::Alpha, 20},     {"QTY", FieldType::Number, 8},
                                  {"TYPE", FieldType::Alpha, 1},      {"cost", FieldType::Money, 8},
                                  {"codeName", FieldType::Alpha, 40}, {"phaseID", FieldType::Long, 4}};

Statement grouping(const char *name, GroupKind kind, int level, const QStringList &rows, const QString &filter = {})
{
    return {name, Folder::Project, groupingQuery(kind, level), filter, groupingFields, rows};
}

// Rows of a grouping query, from its phase, code, quantity, cost and name.
const QString demolition = QStringLiteral("||Démolition|Strip out, ground floor|");
const QString framing = QStringLiteral("||Framing|Walls and roof|");

const FieldList previewFields = {{"Export", FieldType::Alpha, 20}, {"Name", FieldType::Alpha, 40}};

Statement preview(const char *sql, const QStringList &rows)
{
    return {sql, Folder::Project, {sql}, {}, previewFields, rows};
}

QList<Statement> statements()
{
    return {
        {"catalogue", Folder::System, {catalogueSql}, {}, catalogueFields, {hill, cedar, quay}},
        sorted("ORDER BY LONGNAME ASC", {quay, cedar, hill}),
        sorted("ORDER BY LONGNAME DESC ", {hill, cedar, quay}),
        sorted("ORDER BY SHORTNAME ASC, LONGNAME DESC ", {cedar, hill, quay}),
        sorted("ORDER BY MODIFIED ASC, SHORTNAME ASC , LONGNAME DESC ", {hill, quay, cedar}),
        sorted("ORDER BY SHORTNAME DESC, MODIFIED ASC , LONGNAME DESC ", {quay, hill, cedar}),

        {"phase check list",
         Folder::Project,
         checklistSql,
         {},
         {{"Name", FieldType::Alpha, 20},
          {"Desct", FieldType::Alpha, 40},
          {"Link_Phs", FieldType::Long, 4},
          {"ItemCount", FieldType::Number, 8},
          {"LineCount", FieldType::Long, 4}},
         {"Démolition|Strip out, ground floor|3|50|2", "Framing|Walls and roof|7|29|2"}},

        {"line items", Folder::Project, itemsSql, {}, itemFields, demolitionItems + framingItems},
        {"line items of phase 7", Folder::Project, itemsSql, "(PhaseID=7)", itemFields, framingItems},
        {"line items of phases 3 and 9", Folder::Project, itemsSql, "(PhaseID=3) OR (PhaseID=9)", itemFields,
         demolitionItems},

        grouping("tasks by library", GroupKind::Tasks, 0,
                 {demolition + "LAB|21|A|1155|Labour|3", framing + "LAB|15.5|A|852.5|Labour|7"}),
        grouping("tasks by category", GroupKind::Tasks, 1,
                 {demolition + "DEMO|21|A|1155|Demolition crew|3", framing + "CARP|15.5|A|852.5|Carpentry|7"}),
        grouping("tasks by item", GroupKind::Tasks, 2,
                 {demolition + "|5|A|275|Remove partitions|3", demolition + "SC|16|A|880|Strip ceiling|3",
                  framing + "FW|12.5|A|687.5|Frame wall|7", framing + "HD|3|A|165|Hang door|7"}),
        grouping("tasks by item of phase 7", GroupKind::Tasks, 2,
                 {framing + "FW|12.5|A|687.5|Frame wall|7", framing + "HD|3|A|165|Hang door|7"},
                 BuildPhaseFilter({"7"})),
        grouping("materials by library", GroupKind::Materials, 0,
                 {demolition + "|4|M|128|Materials|3", framing + "|62|M|666|Materials|7"}),
        grouping("materials by category", GroupKind::Materials, 1,
                 {demolition + "TIM|4|M|128|Timber|3", framing + "TIM|62|M|666|Timber|7"}),
        grouping("materials by item", GroupKind::Materials, 2,
                 {demolition + "PLY-12|4|M|128|Plywood 12mm|3", framing + "NAIL-75|2|M|30|Nails 75mm|7",
                  framing + "PLY-12||M|96|Plywood 12mm|7", framing + "TIM-90|60|M|540|Stud 90x45|7"}),

        preview("SELECT L.Export, L.Name FROM Prod_Lib AS L WHERE Lib_level=1 ORDER BY Export, Name", {"LAB|Labour"}),
        preview("SELECT C.Export, C.Name FROM Prod_Lib AS L JOIN Prod_Cat AS C ON (Prod_Lib.Link_Lib=Prod_cat.Link_Lib) "
                "WHERE Lib_level=1 ORDER BY C.Export, C.Name",
                {"CARP|Carpentry", "DEMO|Demolition crew"}),
        preview("SELECT P.Export, P.Desct AS Name FROM Product AS P WHERE (P.Type=\"L0\")OR(P.Type=\"L1\") ORDER BY "
                "Export, Name",
                {"|Remove partitions", "FW|Frame wall", "HD|Hang door", "SC|Strip ceiling"}),
        preview("SELECT L.Export, L.Name FROM Prod_Lib AS L WHERE Lib_level=6 ORDER BY Export, Name", {"|Materials"}),
        preview("SELECT C.Export, C.Name FROM Prod_Lib AS L JOIN Prod_Cat AS C ON (Prod_Lib.Link_Lib=Prod_cat.Link_Lib) "
                "WHERE Lib_level=6 ORDER BY C.Export, C.Name",
                {"TIM|Timber"}),
        preview("SELECT M.SKU As Export, M.Desct AS Name FROM Material AS M ORDER BY Export, Name",
                {"NAIL-75|Nails 75mm", "PLY-12|Plywood 12mm", "TIM-90|Stud 90x45"}),
    };
}

// The value type a column of this field type carries.
int valueTypeOf(FieldType type)
{
    switch (type) {
    case FieldType::Alpha: return QMetaType::QString;
    case FieldType::Short:
    case FieldType::Long: return QMetaType::Int;
    case FieldType::Number:
    case FieldType::Money: return QMetaType::Double;
    case FieldType::Timestamp: return QMetaType::QDateTime;
    default: return QMetaType::UnknownType;
    }
}

// The rows as "|"-joined text; fails the test for a value whose type does not match its column.
QStringList readRows(db::Query &query)
{
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList values;
        for (int f = 0; f < query.fields().size(); ++f) {
            const QVariant value = query.value(f);
            if (!value.isNull()) {
                EXPECT_EQ(value.typeId(), valueTypeOf(query.fields()[f].type)) << query.fields()[f].name.toStdString();
            }
            values << value.toString();
        }
        rows << values.join('|');
    }
    return rows;
}

// "JOB alpha 1, QTY number 8, ..." so that a failure shows the columns legibly.
std::string describe(const FieldList &fields)
{
    QStringList parts;
    for (const db::FieldDef &f : fields)
        parts << QStringLiteral("%1 %2 %3").arg(f.name, db::fieldTypeName(f.type)).arg(f.size);
    return parts.join(QStringLiteral(", ")).toStdString();
}

std::string lines(const QStringList &rows)
{
    return rows.join('\n').toStdString();
}

class Statements : public ::testing::Test {
protected:
    void TearDown() override { db::Session::defaultSession().dropConnections(); }
    QuarvexFixture fixture;
};

} // namespace

TEST_F(Statements, EachGivesItsRowsInOrderWithTypedColumns)
{
    writeProjects(fixture);
    for (const Statement &s : statements()) {
        SCOPED_TRACE(s.name);
        db::Query query;
        const bool system = s.folder == Folder::System;
        query.setDatabaseName(system ? fixture.systemPath() : fixture.projectPath("HILL"));
        query.setSql(s.sql);
        if (system)
            query.requireFields(catalogueFields);
        query.setFiltered(!s.filter.isEmpty());
        query.setFilter(s.filter);
        try {
            query.open();
        } catch (const db::DbError &e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(describe(query.fields()), describe(s.fields));
        EXPECT_EQ(lines(readRows(query)), lines(s.rows));
    }
}

TEST_F(Statements, CatalogueRefusesATableWithoutItsFieldList)
{
    const struct {
        int changed; // field of the catalogue replaced, or left out when the replacement has no name
        db::FieldDef replacement;
        const char *mentions;
    } cases[] = {
        {3, {}, "column \"Password\" is missing"},
        {2, {"Modified", FieldType::Date, 4}, "column \"Modified\" is date, expected timestamp"},
        {0, {"LongName", FieldType::Alpha, 30}, "column \"LongName\" is alpha 30, expected alpha 40"},
        {4, {"ReservedLibrary", FieldType::Long, 4}, "column \"ReservedLibrary\" is long, expected short"},
    };
    const QString system = fixture.systemPath();
    ASSERT_TRUE(QDir().mkpath(system));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mentions);
        db::TableData table;
        table.fields = catalogueFields;
        if (c.replacement.name.isEmpty())
            table.fields.remove(c.changed);
        else
            table.fields[c.changed] = c.replacement;
        db::writeParadoxTable(QDir(system).filePath("Projname.db"), table);
        // The engine knows a rewritten file by its size and time to the millisecond; these
        // empty tables have one size and are written within a millisecond of each other.
        db::Session::defaultSession().dropConnections();

        db::Query query;
        query.setDatabaseName(system);
        query.setSql({catalogueSql});
        query.requireFields(catalogueFields);
        try {
            query.open();
            ADD_FAILURE() << "opened";
        } catch (const db::DbError &e) {
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
            EXPECT_TRUE(e.message().contains(catalogueSql)) << e.what();
            EXPECT_FALSE(query.isOpen());
        }
    }
}
