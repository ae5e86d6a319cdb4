#include "export/Restructure.h"

#include "db/DbError.h"
#include "db/ParadoxFile.h"
#include "db/ParadoxRestructure.h"
#include "db/RestructureConvert.h"
#include "db/RestructureSidecar.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using db::FieldType;
using db::RestructureMark;

namespace {

db::FieldDef def(const QString &name, FieldType type, int size) {
    return {name, type, size};
}

// The temporary export table as the batch copy leaves it: two alpha 1 fields from empty text constants,
// then the grouped rows.
db::TableData exportTable() {
    db::TableData data;
    data.fields = {def("JOB", FieldType::Alpha, 1),       def("JOB_DESC", FieldType::Alpha, 1),
                   def("PHASE", FieldType::Alpha, 20),    def("PHASE_DESC", FieldType::Alpha, 40),
                   def("CODE", FieldType::Alpha, 20),     def("QTY", FieldType::Number, 8),
                   def("TYPE", FieldType::Alpha, 1),      def("cost", FieldType::Money, 8),
                   def("codeName", FieldType::Alpha, 40), def("phaseID", FieldType::Long, 4)};
    data.records = {
        {{}, {}, "01 Site", "Démolition, clearing", "LAB-1", 12.5, "A", 1250.75, "Labour", 3},
        {{}, {}, "01 Site", "Démolition, clearing", {}, {}, "A", {}, "Général", 3},
        {{}, {}, "02 Frame", {}, "SKU-9", 4.0, "M", -3.25, "Studs 2×4", 7},
    };
    return data;
}

// The message of the DbError the operation throws.
QString errorOf(const std::function<void()> &operation) {
    try {
        operation();
    } catch (const db::DbError &e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RestructureTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    void write(const QString &name, const db::TableData &data) { db::writeParadoxTable(path(name), data); }
    void load(const QString &name) {
        restruct.setDatabaseName(dir.path());
        restruct.setTableName(name);
    }
    void setField(const QString &name, TdBasePxFieldType type, quint16 length, quint16 precision = 0) {
        restruct.setField({name, type, length, precision});
    }
    // A loaded table of four alpha fields A, B, C, D.
    void loadFourFields() {
        db::TableData data;
        data.fields = {def("A", FieldType::Alpha, 5), def("B", FieldType::Alpha, 5), def("C", FieldType::Alpha, 5),
                       def("D", FieldType::Alpha, 5)};
        write("four.db", data);
        load("four.db");
    }
    void addRequiredCheck(const QString &field) {
        restruct.setValCheck({});
        restruct.ValCheck().Required = true;
        restruct.AddValCheck(field);
    }
    QVector<int> checkFields() const {
        QVector<int> numbers;
        for (const auto &check : restruct.description().valChecks)
            numbers.append(check.entry.fieldNumber);
        return numbers;
    }
    const db::Marked<db::FieldEntry> &fieldAt(int pos) const { return restruct.description().fields.at(pos - 1); }

    QTemporaryDir dir;
    TRestructure restruct;
};

TEST_F(RestructureTest, ExportSequenceWidensTheFirstTwoFieldsAndKeepsEveryRecordAndField) {
    const db::TableData before = exportTable();
    write("tmpCrew.db", before);

    load("TMPCREW.DB");
    setField("JOB", pxAlpha, 40);
    restruct.ModifyField(1, false);
    restruct.DoRestructure();
    setField("JOB_DESC", pxAlpha, 40);
    restruct.ModifyField(2, false);
    restruct.DoRestructure();

    const db::TableData after = db::readParadoxTable(path("tmpCrew.db"));
    ASSERT_EQ(after.fields.size(), before.fields.size());
    EXPECT_EQ(after.fields.at(0), def("JOB", FieldType::Alpha, 40));
    EXPECT_EQ(after.fields.at(1), def("JOB_DESC", FieldType::Alpha, 40));
    EXPECT_EQ(after.fields.mid(2), before.fields.mid(2));
    EXPECT_EQ(after.keyFieldCount, 0);
    EXPECT_EQ(after.records, before.records);
    EXPECT_FALSE(QFile::exists(db::restructureSidecarPath(path("tmpCrew.db"))));

    // The reload leaves a fresh copy: every entry kept and loaded from its own position.
    for (int pos = 1; pos <= 10; ++pos) {
        EXPECT_EQ(fieldAt(pos).mark, RestructureMark::Keep);
        EXPECT_EQ(fieldAt(pos).entry.loadPosition, pos);
    }

    // The widened fields take a full 40-character job number and title.
    const QString title = QString(40, QLatin1Char('x'));
    db::ParadoxFile::load(path("tmpCrew.db")).updateRecord(2, {{0, "J-1001"}, {1, title}});
    const db::TableData filled = db::readParadoxTable(path("tmpCrew.db"));
    EXPECT_EQ(filled.records.at(2).at(0), QVariant("J-1001"));
    EXPECT_EQ(filled.records.at(2).at(1), QVariant(title));
}

TEST_F(RestructureTest, FieldsAreAddedDroppedMovedAndConvertedInTheFile) {
    db::TableData data;
    data.fields = {def("Amount", FieldType::Alpha, 10), def("Qty", FieldType::Number, 8),
                   def("Name", FieldType::Alpha, 30), def("Gone", FieldType::Short, 2),
                   def("When", FieldType::Date, 4)};
    data.records = {{"12.5", 2.6, "Démolition générale", 7, QDate(2024, 3, 1)}, {"abc", {}, {}, {}, {}}};
    write("items.db", data);
    load("items.db");

    setField("Amount", pxNumber, 0);
    restruct.ModifyField(1, false);
    setField("Qty", pxShort, 0);
    restruct.ModifyField(2, false);
    setField("Name", pxAlpha, 10);
    restruct.ModifyField(3, false);
    restruct.DeleteField(4);
    setField("When", pxAlpha, 10);
    restruct.ModifyField(4, false);
    setField("Added", pxLongInteger, 0);
    restruct.AddField(false);
    restruct.MoveField(5, 1);
    restruct.DoRestructure();

    const db::TableData after = db::readParadoxTable(path("items.db"));
    const db::FieldList expected = {def("Added", FieldType::Long, 4), def("Amount", FieldType::Number, 8),
                                    def("Qty", FieldType::Short, 2), def("Name", FieldType::Alpha, 10),
                                    def("When", FieldType::Alpha, 10)};
    EXPECT_EQ(after.fields, expected);
    ASSERT_EQ(after.records.size(), 2);
    EXPECT_EQ(after.records.at(0), (QVector<QVariant>{{}, 12.5, 3, "Démolition", "2024-03-01"}));
    EXPECT_EQ(after.records.at(1), (QVector<QVariant>{{}, {}, {}, {}, {}}));
}

TEST(RestructureConvert, ValuesBecomeTheNewTypeOrBlank) {
    struct Case {
        QVariant value;
        db::FieldDef target;
        QVariant expected;
    };
    const Case cases[] = {
        {"Démolition", def("A", FieldType::Alpha, 4), "Démo"},
        {12.5, def("A", FieldType::Alpha, 10), "12.5"},
        {40000, def("A", FieldType::Alpha, 3), "400"},
        {QDate(2024, 3, 1), def("A", FieldType::Alpha, 20), "2024-03-01"},
        {" 7.6 ", def("S", FieldType::Short, 2), 8},
        {40000, def("S", FieldType::Short, 2), QVariant()},
        {-2.5e9, def("L", FieldType::Long, 4), QVariant()},
        {"abc", def("N", FieldType::Number, 8), QVariant()},
        {"", def("N", FieldType::Number, 8), QVariant()},
        {3, def("M", FieldType::Money, 8), 3.0},
        {1.23456, def("B", FieldType::BCD, 2), 1.23},
        {"2024-03-01", def("D", FieldType::Date, 4), QDate(2024, 3, 1)},
        {QDateTime(QDate(2024, 3, 1), QTime(8, 30)), def("T", FieldType::Time, 4), QTime(8, 30)},
        {QDate(2024, 3, 1), def("@", FieldType::Timestamp, 8), QDateTime(QDate(2024, 3, 1), QTime(0, 0))},
        {12.5, def("D", FieldType::Date, 4), QVariant()},
        {"TRUE", def("L", FieldType::Logical, 1), true},
        {0, def("L", FieldType::Logical, 1), false},
        {"maybe", def("L", FieldType::Logical, 1), QVariant()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString() + " -> " + db::fieldTypeName(c.target.type).toStdString());
        EXPECT_EQ(db::convertFieldValue(c.value, c.target), c.expected);
    }
}

TEST_F(RestructureTest, ModifyKeepsTheAddMarkAndTheLoadPosition) {
    loadFourFields();
    setField("E", pxAlpha, 8);
    restruct.AddField(false);
    setField("E2", pxNumber, 0);
    restruct.ModifyField(5, false);
    EXPECT_EQ(fieldAt(5).mark, RestructureMark::Add);
    EXPECT_EQ(fieldAt(5).entry.loadPosition, 0);
    EXPECT_EQ(fieldAt(5).entry.typeCode, 0x102);

    setField("Bee", pxAlpha, 12);
    restruct.ModifyField(2, false);
    EXPECT_EQ(fieldAt(2).mark, RestructureMark::Modify);
    EXPECT_EQ(fieldAt(2).entry.loadPosition, 2);
    EXPECT_EQ(fieldAt(2).entry.name, "Bee");
    EXPECT_EQ(fieldAt(2).entry.size1, 12);
    EXPECT_EQ(fieldAt(1).mark, RestructureMark::Keep);
}

TEST_F(RestructureTest, BcdLengthGoesToTheSecondSize) {
    loadFourFields();
    setField("Price", pxBCD, 2, 9);
    restruct.AddField(false);
    EXPECT_EQ(fieldAt(5).entry.typeCode, 0x111);
    EXPECT_EQ(fieldAt(5).entry.size1, 0);
    EXPECT_EQ(fieldAt(5).entry.size2, 2);
    EXPECT_EQ(fieldAt(5).entry.subType, 0);
}

TEST_F(RestructureTest, PositionsOutOfRangeAreRefused) {
    loadFourFields();
    setField("E", pxAlpha, 8);
    struct Case {
        const char *what;
        std::function<void()> operation;
        QString message;
    };
    const QString notInRange = "Field index not in range";
    const Case cases[] = {
        {"insert 0", [&] { restruct.InsertField(0, false); }, notInRange},
        {"insert count + 2", [&] { restruct.InsertField(6, false); }, notInRange},
        {"modify 0", [&] { restruct.ModifyField(0, false); }, notInRange},
        {"modify count + 1", [&] { restruct.ModifyField(5, false); }, notInRange},
        {"delete count + 1", [&] { restruct.DeleteField(5); }, notInRange},
        {"move from 0", [&] { restruct.MoveField(0, 2); }, notInRange + ": OldPos"},
        {"move to count + 1", [&] { restruct.MoveField(2, 5); }, notInRange + ": NewPos"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf(c.operation), c.message);
        EXPECT_EQ(restruct.description().fields.size(), 4);
    }

    restruct.InsertField(5, false);
    ASSERT_EQ(restruct.description().fields.size(), 5);
    EXPECT_EQ(fieldAt(5).entry.name, "E");
    EXPECT_EQ(fieldAt(5).mark, RestructureMark::Add);
}

TEST_F(RestructureTest, ChecksFollowTheirFieldsThroughInsertMoveAndDelete) {
    loadFourFields();
    addRequiredCheck("A");
    addRequiredCheck("c"); // found without regard to case
    EXPECT_EQ(checkFields(), (QVector<int>{1, 3}));

    restruct.MoveField(3, 1);
    EXPECT_EQ(checkFields(), (QVector<int>{2, 1}));
    EXPECT_EQ(fieldAt(1).entry.name, "C");

    setField("New", pxAlpha, 3);
    restruct.InsertField(2, false);
    EXPECT_EQ(checkFields(), (QVector<int>{3, 1}));

    restruct.MoveField(1, 4);
    EXPECT_EQ(checkFields(), (QVector<int>{2, 4}));

    restruct.DeleteField(2);
    EXPECT_EQ(checkFields(), (QVector<int>{0, 3}));
}

TEST_F(RestructureTest, TypesThatDoNotSuitTheTableChangeNothingAndCallTheEvent) {
    loadFourFields();
    EXPECT_EQ(restruct.tableTypeName(), "PARADOX");
    EXPECT_EQ(restruct.tableLevel(), 7);
    for (int t = pxUnknown; t <= dbLock; ++t) {
        restruct.Field().FieldType = TdBasePxFieldType(t);
        EXPECT_EQ(restruct.FieldAppropriate(), t != pxUnknown && t < dbCharacter) << "type " << t;
    }

    int calls = 0;
    restruct.setOnFieldInappropriate([&](TRestructure *sender, const TFieldDesc &field) {
        ++calls;
        EXPECT_EQ(sender, &restruct);
        EXPECT_EQ(field.Name, "Memo");
    });
    setField("Memo", dbCharacter, 20);
    const db::TableDescription before = restruct.description();
    restruct.ModifyField(1, false);
    restruct.AddField(false);
    restruct.InsertField(99, false); // the type test comes before the range test
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(restruct.description().fields.size(), 4);
    EXPECT_EQ(fieldAt(1).entry.name, before.fields.at(0).entry.name);
    EXPECT_EQ(fieldAt(1).mark, RestructureMark::Keep);
}

TEST_F(RestructureTest, EncodeValueStoresTheFieldsForm) {
    loadFourFields();
    const auto intAt = [](const QByteArray &value) { return qFromLittleEndian<qint32>(value.constData()); };
    QByteArray value;

    EXPECT_EQ(restruct.EncodeValue(" today ", pxDate, 0, value), 2);
    EXPECT_EQ(value, QByteArray(256, '\0'));
    EXPECT_EQ(restruct.EncodeValue("now", pxTimestamp, 0, value), 3);
    EXPECT_EQ(restruct.EncodeValue("NOW", pxTime, 0, value), 3);

    EXPECT_EQ(restruct.EncodeValue("2024-03-01", pxDate, 0, value), 1);
    EXPECT_EQ(intAt(value), QDate(2024, 3, 1).toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1);
    EXPECT_EQ(restruct.EncodeValue("08:30:15.250", pxTime, 0, value), 1);
    EXPECT_EQ(intAt(value), ((8 * 60 + 30) * 60 + 15) * 1000 + 250);
    EXPECT_EQ(restruct.EncodeValue("-1234", pxLongInteger, 0, value), 1);
    EXPECT_EQ(intAt(value), -1234);
    EXPECT_EQ(restruct.EncodeValue("-12", pxShort, 0, value), 1);
    EXPECT_EQ(qFromLittleEndian<qint16>(value.constData()), -12);
    EXPECT_EQ(restruct.EncodeValue("2.5", pxMoney, 0, value), 1);
    EXPECT_EQ(qFromLittleEndian<double>(value.constData()), 2.5);
    EXPECT_EQ(restruct.EncodeValue("false", pxLogical, 0, value), 1);
    EXPECT_EQ(intAt(value), 0);
    EXPECT_EQ(restruct.EncodeValue("True", pxLogical, 0, value), 1);
    EXPECT_EQ(intAt(value), 1);
    EXPECT_EQ(restruct.EncodeValue("maybe", pxLogical, 0, value), 0);
    EXPECT_EQ(restruct.EncodeValue("x", pxMemo, 0, value), 0);

    EXPECT_EQ(restruct.EncodeValue("Déjà", pxAlpha, 0, value), 1);
    EXPECT_EQ(value.left(5), QByteArray("D\xe9j\xe0\0", 5)); // the table's code page, 1252

    EXPECT_EQ(restruct.EncodeValue("-12.345", pxBCD, 2, value), 1);
    EXPECT_EQ(value.left(2), QByteArray("\x20\x82", 2)); // precision 32, negative, 2 decimals
    EXPECT_EQ(value.mid(2, 16).toHex(), QByteArray("00000000000000000000000000001235"));

    for (const auto &[text, type] : {std::pair{"40000", pxShort}, {"abc", pxNumber}, {"31.02.x", pxDate}}) {
        const QString error = errorOf([&] { restruct.EncodeValue(text, type, 0, value); });
        EXPECT_TRUE(error.startsWith(QStringLiteral("'%1' is not a valid").arg(text))) << error.toStdString();
    }
}

TEST_F(RestructureTest, DateCheckOfTodayStoresThePresenceCodeOnly) {
    db::TableData data;
    data.fields = {def("Due", FieldType::Date, 4), def("Qty", FieldType::Number, 8)};
    write("dates.db", data);
    load("dates.db");
    restruct.ValCheck().MinimumValue = "TODAY";
    restruct.ValCheck().MaximumValue = "2030-12-31";
    restruct.AddValCheck("Due");

    ASSERT_EQ(restruct.description().valChecks.size(), 1);
    const auto &check = restruct.description().valChecks.at(0);
    EXPECT_EQ(check.mark, RestructureMark::Add);
    EXPECT_EQ(check.entry.fieldNumber, 1);
    EXPECT_EQ(check.entry.minimum.presence, db::ValuePresence::Today);
    EXPECT_EQ(check.entry.minimum.value, QByteArray(256, '\0'));
    EXPECT_EQ(check.entry.maximum.presence, db::ValuePresence::Value);
    EXPECT_EQ(check.entry.defaultValue.presence, db::ValuePresence::None);
    EXPECT_EQ(check.entry.lookupType, 0);

    // A check that holds nothing for the field's type is not added.
    restruct.setValCheck({});
    restruct.ValCheck().DefaultValue = "1";
    restruct.AddValCheck("NoSuchField");
    restruct.ValCheck().LookupTableName = "prices.db"; // a lookup needs both names
    restruct.AddValCheck("qty");                       // other case: found, but without its type
    EXPECT_EQ(restruct.description().valChecks.size(), 1);
}

TEST_F(RestructureTest, ChecksAndRulesSurviveTheReloadAndADeletedCheckIsGoneAfterTheSecondPass) {
    db::TableData master;
    master.fields = {def("Code", FieldType::Alpha, 10), def("Name", FieldType::Alpha, 20)};
    master.keyFieldCount = 1;
    write("master.db", master);
    db::TableData detail;
    detail.fields = {def("Code", FieldType::Alpha, 10), def("Qty", FieldType::Number, 8)};
    detail.records = {{"A", 1.0}, {"B", 2.0}};
    write("detail.db", detail);

    load("detail.db");
    restruct.ValCheck().DefaultValue = "5";
    restruct.ValCheck().LookupDatabaseName = dir.path();
    restruct.ValCheck().LookupTableName = "master.db";
    restruct.ValCheck().LookupType = ltAllCorresponding;
    restruct.ValCheck().LookupAccess = laFillNoHelp;
    restruct.AddValCheck("Qty");
    restruct.RefInt().MasterTableName = "MASTER";
    restruct.AddRefInt("byCode", "");
    restruct.DoRestructure();

    ASSERT_EQ(restruct.description().valChecks.size(), 1);
    const db::ValCheckEntry check = restruct.description().valChecks.at(0).entry;
    EXPECT_EQ(check.fieldNumber, 2);
    EXPECT_EQ(check.defaultValue.presence, db::ValuePresence::Value);
    EXPECT_EQ(qFromLittleEndian<double>(check.defaultValue.value.constData()), 5.0);
    EXPECT_EQ(check.lookupType, 2);
    EXPECT_EQ(check.lookupPath, dir.path() + "/master.db");
    ASSERT_EQ(restruct.description().refInts.size(), 1);
    const db::RefIntEntry rule = restruct.description().refInts.at(0).entry;
    EXPECT_EQ(rule.name, "byCode");
    EXPECT_EQ(rule.masterTableName, "MASTER");
    EXPECT_EQ(rule.modifyRule, 1);
    EXPECT_EQ(rule.deleteRule, 0);
    EXPECT_EQ(rule.masterFields, QVector<int>{1});
    EXPECT_EQ(rule.fields, QVector<int>{0}); // this table has no index of that name
    EXPECT_EQ(db::readParadoxTable(path("detail.db")).records, detail.records);

    // The engine keeps an emptied check as it is told ...
    db::TableDescription emptied = restruct.description();
    emptied.valChecks[0].entry = db::ValCheckEntry{};
    emptied.valChecks[0].entry.fieldNumber = 2;
    emptied.valChecks[0].mark = RestructureMark::Modify;
    db::restructureTable(path("detail.db"), emptied);
    EXPECT_TRUE(db::readTableStructure(path("detail.db")).valChecks.at(0).isEmpty());

    // ... so the component's second pass is what removes it.
    load("detail.db");
    restruct.DeleteValCheck("Qty");
    restruct.DeleteRefInt("BYCODE");
    restruct.DoRestructure();
    EXPECT_TRUE(restruct.description().valChecks.isEmpty());
    EXPECT_TRUE(restruct.description().refInts.isEmpty());
    EXPECT_FALSE(QFile::exists(db::restructureSidecarPath(path("detail.db"))));
}

TEST_F(RestructureTest, RuleErrors) {
    db::TableData unkeyed;
    unkeyed.fields = {def("Code", FieldType::Alpha, 10)};
    write("unkeyed.db", unkeyed);
    load("unkeyed.db");
    restruct.RefInt().MasterTableName = "unkeyed.db";
    EXPECT_EQ(errorOf([&] { restruct.AddRefInt("r", ""); }), "Master table does not have a primary index!");
    restruct.RefInt().MasterTableName = "missing.db";
    EXPECT_EQ(errorOf([&] { restruct.AddRefInt("r", ""); }), "Table could not be opened");
    EXPECT_EQ(errorOf([&] { restruct.DeleteRefInt("r"); }), "Referential integrity not found!");
    EXPECT_TRUE(restruct.description().refInts.isEmpty());
}

TEST_F(RestructureTest, PrimaryIndexFieldCountDropsOrCreatesTheKey) {
    db::TableData keyed;
    keyed.fields = {def("Id", FieldType::Long, 4), def("Name", FieldType::Alpha, 10)};
    keyed.keyFieldCount = 1;
    keyed.records = {{1, "one"}, {2, "two"}};
    write("keyed.db", keyed);
    load("keyed.db");
    EXPECT_TRUE(restruct.hasPrimaryIndex());
    EXPECT_EQ(restruct.PrimaryIndexFieldCount(), 1);
    restruct.setPrimaryIndexFieldCount(0);
    restruct.DoRestructure();
    EXPECT_EQ(db::readParadoxTable(path("keyed.db")).keyFieldCount, 0);
    EXPECT_FALSE(restruct.hasPrimaryIndex());
    EXPECT_TRUE(restruct.description().indexes.isEmpty());

    db::TableData loose;
    loose.fields = {def("Phase", FieldType::Alpha, 10), def("Line", FieldType::Short, 2),
                    def("Qty", FieldType::Number, 8)};
    loose.records = {{"B", 1, 1.5}, {"A", 2, 2.5}, {"A", 1, 3.5}};
    write("loose.db", loose);
    load("loose.db");
    EXPECT_FALSE(restruct.hasPrimaryIndex());
    restruct.setPrimaryIndexFieldCount(2);
    restruct.DoRestructure();
    const db::TableData after = db::readParadoxTable(path("loose.db"));
    EXPECT_EQ(after.keyFieldCount, 2);
    EXPECT_EQ(after.records, (QVector<QVector<QVariant>>{{"A", 1, 3.5}, {"A", 2, 2.5}, {"B", 1, 1.5}}));
    ASSERT_EQ(restruct.description().indexes.size(), 1);
    EXPECT_EQ(restruct.description().indexes.at(0).entry.keyFields, (QVector<int>{1, 2}));
    EXPECT_EQ(restruct.PrimaryIndexFieldCount(), 2);
}

TEST_F(RestructureTest, AKeyThatTwoRecordsShareLeavesTheTableAsItWas) {
    db::TableData data;
    data.fields = {def("Phase", FieldType::Alpha, 10), def("Qty", FieldType::Number, 8)};
    data.records = {{"A", 1.0}, {"B", 2.0}, {"A", 3.0}};
    write("dup.db", data);
    const QByteArray bytes = fileBytes(path("dup.db"));
    load("dup.db");
    restruct.setPrimaryIndexFieldCount(1);
    const QString error = errorOf([&] { restruct.DoRestructure(); });
    EXPECT_TRUE(error.contains("dup.db") && error.contains("(A)")) << error.toStdString();
    EXPECT_EQ(fileBytes(path("dup.db")), bytes);
}

TEST_F(RestructureTest, TableErrors) {
    EXPECT_EQ(errorOf([&] { load("nothing.db"); }), "Table could not be opened");
    EXPECT_FALSE(restruct.isLoaded());
    restruct.AddField(false); // nothing loaded: nothing happens
    restruct.DoRestructure();
    EXPECT_TRUE(restruct.description().fields.isEmpty());

    QFile notATable(path("junk.db"));
    ASSERT_TRUE(notATable.open(QIODevice::WriteOnly));
    notATable.write("not a table at all");
    notATable.close();
    EXPECT_EQ(errorOf([&] { load("junk.db"); }), "Table could not be opened");

    loadFourFields();
    ASSERT_TRUE(QFile::remove(path("four.db")));
    EXPECT_EQ(errorOf([&] { restruct.DoRestructure(); }), "Table could not be opened for exclusive access");
}

TEST_F(RestructureTest, DataTheEngineCannotCarryIsRefusedByName) {
    db::TableData data;
    data.fields = {def("Name", FieldType::Alpha, 10), def("Notes", FieldType::Memo, 11)};
    data.records = {{"a", {}}};
    write("memo.db", data);
    const QByteArray bytes = fileBytes(path("memo.db"));
    load("memo.db");
    setField("Name", pxAlpha, 20);
    restruct.ModifyField(1, false);
    const QString error = errorOf([&] { restruct.DoRestructure(); });
    EXPECT_TRUE(error.contains("memo.db") && error.contains("Notes")) << error.toStdString();
    EXPECT_EQ(fileBytes(path("memo.db")), bytes);

    // Dropping the memo field is allowed.
    restruct.DeleteField(2);
    restruct.DoRestructure();
    EXPECT_EQ(db::readParadoxTable(path("memo.db")).fields, (db::FieldList{def("Name", FieldType::Alpha, 20)}));
}

} // namespace
