#include "db/ClientFilter.h"
#include "db/DbError.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace db;

namespace {

const FieldList fields = {
    {"PhaseID", FieldType::Long, 4},
    {"Name", FieldType::Alpha, 20},
    {"Qty", FieldType::Number, 8},
    {"Made", FieldType::Date, 4},
};

const QVector<QVariant> row12 = {12, QStringLiteral("Walls"), 2.5, QDate(2024, 5, 1)};
const QVector<QVariant> row15 = {15, QStringLiteral("Roof"), 0.0, QDate(2023, 1, 9)};
const QVector<QVariant> blankRow = {QVariant(), QVariant(), QVariant(), QVariant()};

struct Case {
    const char *expression;
    bool row12, row15, blank;
};

} // namespace

TEST(ClientFilter, EvaluatesExpressions)
{
    const Case cases[] = {
        {"", true, true, true},
        {"   ", true, true, true},
        {"(PhaseID=12) OR (PhaseID=15)", true, true, false},
        {"phaseid=15", false, true, false},
        {"PhaseID <> 12", false, true, false},
        {"PhaseID>12 AND Qty<1", false, true, false},
        {"PhaseID>=12 and Qty<=2.5", true, true, false},
        {"NOT (PhaseID=12)", false, true, true},
        {"not PhaseID=12 or Name='Walls'", true, true, true},
        {"Name = \"Roof\"", false, true, false},
        {"Name = 'roof'", false, false, false},
        {"Name < 'S'", false, true, false},
        {"12 = PhaseID", true, false, false},
        {"Qty > -1", true, true, false},
        {"Made > '2024-01-01'", true, false, false},
        {"(PhaseID=12 OR PhaseID=15) AND (Name='Roof')", false, true, false},
        {"PhaseID=Qty", false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        const ClientFilter filter = ClientFilter::parse(QString::fromUtf8(c.expression), fields);
        EXPECT_EQ(filter.accepts(row12), c.row12);
        EXPECT_EQ(filter.accepts(row15), c.row15);
        EXPECT_EQ(filter.accepts(blankRow), c.blank);
    }
    EXPECT_TRUE(ClientFilter::parse("", fields).isEmpty());
    EXPECT_FALSE(ClientFilter::parse("PhaseID=1", fields).isEmpty());
}

TEST(ClientFilter, BadExpressionsNameTheFault)
{
    const struct {
        const char *expression;
        const char *mentions;
    } cases[] = {
        {"Phase=12", "unknown field \"Phase\""},
        {"(PhaseID=12", "\")\" expected at position 12"},
        {"PhaseID 12", "comparison operator expected at position 9"},
        {"PhaseID=12 PhaseID=15", "unexpected \"PhaseID\" at position 12"},
        {"Name='Walls", "unterminated text"},
        {"PhaseID='abc'", "value \"abc\" does not fit field \"PhaseID\""},
        {"Made='yesterday'", "does not fit field \"Made\" of type date"},
        {"PhaseID=#1", "unexpected character \"#\" at position 9"},
        {"PhaseID=", "field name or value expected at position 9"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expression);
        try {
            ClientFilter::parse(QString::fromUtf8(c.expression), fields);
            ADD_FAILURE() << "no error";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.expression))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.mentions))) << e.what();
        }
    }
}
