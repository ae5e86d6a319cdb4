#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/Table.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db;

namespace {

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
    }
    QByteArray bytes() const
    {
        QFile file(dir.filePath("Qvex_Prd.DB"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QVariantList column(const QString &field)
    {
        QVariantList values;
        for (table.first(); !table.eof(); table.next())
            values << table.value(field);
        return values;
    }

    QTemporaryDir dir;
    Table table;
};

TEST_F(TableTest, FilterLocateAndReadByName)
{
    ASSERT_TRUE(table.exists());
    table.setFiltered(true);
    table.setFilter("Link_Phs=7");
    table.open(Table::Access::ReadOnly);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(column("link_quarvexprd"), (QVariantList{2, 3}));
    table.setFilter("(Link_Phs=3) OR (Link_Phs=9)");
    EXPECT_EQ(column("Link_QuarvexPrd"), (QVariantList{1, 4}));
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
        try {
            c.action();
            ADD_FAILURE() << "no error for " << c.message.toStdString();
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(c.message)) << e.message().toStdString();
        }
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

} // namespace
