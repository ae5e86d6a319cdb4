#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Table.h"
#include "db/TableFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db;

namespace {

// The message of the DbError the action throws; empty when it throws none.
QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.message();
    }
    return QString();
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeParadoxTable(dir.filePath("Qvex_Prd.DB"), {{{"Link_QuarvexPrd", FieldType::Long, 4},
                                                          {"Link_Phs", FieldType::Long, 4},
                                                          {"M1", FieldType::Short, 2},
                                                          {"REFERENCE", FieldType::Alpha, 12}},
                                                         1,
                                                         1252,
                                                         {{1, 3, QVariant(), "a"},
                                                          {2, 7, QVariant(), "b"},
                                                          {3, 7, 1, QVariant()},
                                                          {4, 9, QVariant(), "d"}}});
        table.setDatabaseName(dir.path());
        table.setTableName("QVEX_PRD.db"); // found without case
        // Keyed on PHS and LINE; names in mixed case, a blank name and number, a tie on QTY.
        writeParadoxTable(dir.filePath("Items.db"), {{{"PHS", FieldType::Long, 4},
                                                      {"LINE", FieldType::Short, 2},
                                                      {"NAME", FieldType::Alpha, 12},
                                                      {"QTY", FieldType::Number, 8}},
                                                     2,
                                                     1252,
                                                     {{7, 1, "beta", 9.5},
                                                      {7, 2, "Alpha", 10.0},
                                                      {7, 3, QVariant(), QVariant()},
                                                      {7, 4, "Charlie", 9.5},
                                                      {9, 1, "aardvark", 1.0}}});
        items.setDatabaseName(dir.path());
        items.setTableName("Items");
    }
    QByteArray bytes() const
    {
        QFile file(dir.filePath("Qvex_Prd.DB"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QVariantList column(Table &t, const QString &field)
    {
        QVariantList values;
        for (t.first(); !t.eof(); t.next())
            values << t.value(field);
        return values;
    }

    QTemporaryDir dir;
    Table table;
    Table items;
};

TEST_F(TableTest, FilterLocateAndReadByName)
{
    ASSERT_TRUE(table.exists());
    table.setFiltered(true);
    table.setFilter("Link_Phs=7");
    table.open(Table::Access::ReadOnly);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(column(table, "link_quarvexprd"), (QVariantList{2, 3}));
    table.setFilter("(Link_Phs=3) OR (Link_Phs=9)");
    EXPECT_EQ(column(table, "Link_QuarvexPrd"), (QVariantList{1, 4}));
    EXPECT_TRUE(table.locate("REFERENCE", "d"));
    EXPECT_EQ(table.value("Link_QuarvexPrd"), 4);
    EXPECT_FALSE(table.locate("REFERENCE", "b")); // filtered out
    EXPECT_EQ(table.value("Link_QuarvexPrd"), 4);
}

TEST_F(TableTest, PostRewritesTheRecordAndCancelForgetsTheEdit)
{
    const QByteArray before = bytes();
    table.open();
    ASSERT_TRUE(table.locate("Link_QuarvexPrd", 2));
    table.edit();
    table.setValue("M1", 1);
    table.setValue("REFERENCE", "stamped");
    EXPECT_EQ(table.value("REFERENCE"), "stamped"); // the edit buffer
    table.post();
    EXPECT_EQ(table.value("REFERENCE"), "stamped");

    table.next();
    table.edit();
    table.setValue("REFERENCE", "forgotten");
    table.cancel();
    EXPECT_EQ(table.value("REFERENCE"), QVariant());

    const TableData after = readParadoxTable(dir.filePath("Qvex_Prd.DB"));
    EXPECT_EQ(after.records.at(1), (QVector<QVariant>{2, 7, 1, "stamped"}));
    EXPECT_EQ(after.records.at(2), (QVector<QVariant>{3, 7, 1, QVariant()}));
    EXPECT_EQ(bytes().size(), before.size());
}

TEST_F(TableTest, ErrorsNameTheTableAndTheFault)
{
    struct Case {
        std::function<void()> action;
        QString message;
    } cases[] = {
        {[&] { table.open(); table.value("Nope"); }, "no field Nope"},
        {[&] { table.open(); table.setValue("M1", 1); }, "outside edit mode"},
        {[&] { table.open(); table.setFiltered(true); table.setFilter("Link_Phs="); }, "Link_Phs="},
        {[&] { table.setTableName("missing.db"); table.open(); }, "missing.db: the table does not exist"},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(errorOf(c.action).contains(c.message)) << c.message.toStdString();
        table.setTableName("QVEX_PRD.db");
        table.setFiltered(false);
    }
}

TEST_F(TableTest, DeleteRemovesTheTable)
{
    table.open();
    table.deleteTable();
    EXPECT_FALSE(table.isOpen());
    EXPECT_FALSE(table.exists());
    EXPECT_FALSE(QFile::exists(dir.filePath("Qvex_Prd.DB")));
}

TEST_F(TableTest, IndexOrdersTheFilteredRecords)
{
    items.addIndex("ByName", "name", IndexOption::CaseInsensitive);
    items.addIndex("ByNameDesc", "NAME", IndexOption::CaseInsensitive | IndexOption::Descending);
    items.addIndex("ByNameExact", "NAME", {});
    items.addIndex("ByNameExactDesc", "NAME", IndexOption::Descending);
    items.setFiltered(true);
    items.setFilter("PHS=7");
    items.open(Table::Access::ReadOnly);
    struct Case {
        QString indexName;
        QString fieldNames;
        QVariantList lines;
    } cases[] = {
        {"", "", {1, 2, 3, 4}},               // file order
        {"byname", "", {3, 2, 1, 4}},         // blank, Alpha, beta, Charlie
        {"ByNameDesc", "", {4, 1, 2, 3}},     // Charlie, beta, Alpha, blank
        {"ByNameExact", "", {3, 2, 4, 1}},    // capitals before small letters
        {"ByNameExactDesc", "", {1, 4, 2, 3}},
        {"", "QTY;NAME", {3, 4, 1, 2}},       // 9.5 before 10; the tie decided by NAME
    };
    for (const Case &c : cases) {
        if (c.fieldNames.isEmpty())
            items.setIndexName(c.indexName);
        else
            items.setIndexFieldNames(c.fieldNames);
        EXPECT_EQ(column(items, "LINE"), c.lines) << c.indexName.toStdString() << c.fieldNames.toStdString();
    }
}

TEST_F(TableTest, IndexesPersistAndGoWithTheTable)
{
    const IndexDef primary{"", "PHS;LINE", IndexOption::Primary | IndexOption::Unique};
    const IndexDef byName{"ByName", "NAME;QTY", IndexOption::CaseInsensitive | IndexOption::Unique};
    const IndexDef byQty{"ByQty", "QTY", IndexOption::Descending};
    items.addIndex(byName.name, "name;qty", byName.options); // closed: as the grid adds them
    items.open();
    items.addIndex(byQty.name, byQty.fields, byQty.options);
    EXPECT_EQ(items.indexDefs(), (IndexDefs{primary, byName, byQty}));

    Table reopened;
    reopened.setDatabaseName(dir.path());
    reopened.setTableName("ITEMS.DB");
    reopened.refreshIndexDefs();
    EXPECT_EQ(reopened.indexDefs(), (IndexDefs{primary, byName, byQty}));
    reopened.setIndexName("ByName");
    reopened.open();
    reopened.deleteIndex("BYNAME");
    EXPECT_EQ(reopened.indexName(), "");
    items.refreshIndexDefs();
    EXPECT_EQ(items.indexDefs(), (IndexDefs{primary, byQty}));

    const QString indexFile = indexFilePath(dir.filePath("Items.db"));
    ASSERT_TRUE(QFile::exists(indexFile));
    reopened.deleteTable();
    EXPECT_FALSE(QFile::exists(indexFile));
}

TEST_F(TableTest, FindKeySearchesTheLeadingKeyFields)
{
    items.open(Table::Access::ReadOnly);
    struct Case {
        QVariantList key;
        QVariant name; // null: not found
    } cases[] = {
        {{7}, "beta"},
        {{7, 2}, "Alpha"},
        {{"9", 1}, "aardvark"}, // converted to the field's type
        {{9, 2}, QVariant()},
        {{8}, QVariant()},
    };
    for (const Case &c : cases) {
        items.first();
        items.next();
        const bool found = items.findKey(c.key);
        EXPECT_EQ(found, !c.name.isNull()) << c.key.size();
        EXPECT_EQ(items.value("NAME"), found ? c.name : QVariant("Alpha")) << "no move on a miss";
    }
    items.setFiltered(true);
    items.setFilter("PHS=7");
    EXPECT_FALSE(items.findKey({9, 1}));
}

TEST_F(TableTest, CreateMakesAnEmptyTableAndReplacesOnlyWhenAsked)
{
    const FieldList fields{{"JOB", FieldType::Alpha, 40}, {"QTY", FieldType::Number, 8}};
    Table created;
    created.setDatabaseName(dir.path());
    created.setTableName("New");
    created.create(fields, 1);
    created.open();
    EXPECT_EQ(created.fields(), fields);
    EXPECT_EQ(created.recordCount(), 0);
    EXPECT_EQ(created.indexDefs(), (IndexDefs{{"", "JOB", IndexOption::Primary | IndexOption::Unique}}));
    EXPECT_EQ(created.driverName(), "PARADOX");

    items.addIndex("ByName", "NAME", {});
    EXPECT_THROW(items.create(fields, 0), DbError);
    EXPECT_THROW(items.create({}, 0, true), DbError); // no fields: the old table stays whole
    items.open();
    EXPECT_EQ(items.recordCount(), 5);
    EXPECT_EQ(items.indexDefs().size(), 2);

    items.create(fields, 0, true);
    items.open();
    EXPECT_EQ(items.fields(), fields);
    EXPECT_EQ(items.recordCount(), 0);
    EXPECT_TRUE(items.indexDefs().isEmpty());
    EXPECT_FALSE(QFile::exists(indexFilePath(dir.filePath("Items.db"))));
}

TEST_F(TableTest, IndexErrorsNameTheTableIndexAndField)
{
    items.addIndex("ByName", "NAME", {});
    struct Case {
        std::function<void()> action;
        QString message;
    } cases[] = {
        {[&] { items.addIndex("byname", "QTY", {}); }, "index byname already exists"},
        {[&] { items.addIndex("ByCode", "NAME;CODE", {}); }, "index ByCode: no field CODE"},
        {[&] { items.deleteIndex("ByCode"); }, "no index ByCode"},
        {[&] { items.setIndexName("ByCode"); items.open(); }, "no index ByCode"},
        {[&] { items.open(); items.setIndexFieldNames("QTY;CODE"); }, "index fields QTY;CODE: no field CODE"},
        {[&] { items.open(); items.findKey({7, 1, "beta"}); }, "a key search takes 1 to 2 values, not 3"},
        {[&] { items.setTableName("Qvex_Prd"); items.open(); items.findKey({"x"}); }, "Link_QuarvexPrd"},
        {[&] { items.setTableName("Gone"); items.addIndex("ByName", "NAME", {}); }, "Gone: the table does not exist"},
    };
    for (const Case &c : cases) {
        const QString error = errorOf(c.action);
        EXPECT_TRUE(error.contains(c.message)) << c.message.toStdString() << ": " << error.toStdString();
        EXPECT_TRUE(error.startsWith("Table " + dir.path())) << error.toStdString();
        items.setTableName("Items");
        items.setIndexName("");
    }
}

TEST_F(TableTest, AFailedOrderChangeKeepsTheOrderAndABadIndexFileIsNamed)
{
    items.addIndex("ByName", "NAME", IndexOption::Descending);
    items.setIndexName("ByName");
    items.open();
    EXPECT_THROW(items.setIndexName("Nope"), DbError);
    EXPECT_EQ(items.indexName(), "ByName");
    EXPECT_EQ(column(items, "NAME"), (QVariantList{"beta", "aardvark", "Charlie", "Alpha", QVariant()}));

    QFile indexFile(indexFilePath(dir.filePath("Items.db")));
    ASSERT_TRUE(indexFile.open(QIODevice::WriteOnly));
    indexFile.write(R"({"indexes": [{"name": "X", "fields": "NAME", "options": ["sideways"]}]})");
    indexFile.close();
    try {
        items.open();
        ADD_FAILURE() << "a bad index file was read";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Index file " + indexFile.fileName() + ": unknown index option \"sideways\"");
    }
}

} // namespace
