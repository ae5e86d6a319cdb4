#include "db/ParadoxFile.h"
#include "env/QuarvexRec.h"
#include "export/ExportLogging.h"
#include "fixtures/QuarvexFixture.h"
#include "settings/Settings.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const int PhaseField = 1, FirstMilestone = 7, ReferenceField = 15;

class ExportLoggingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.standardProject().lineItem(5, 7, 1, 1000, 1); // phase 7 gets a third line item
        m_fixture.write();
        AppRec = TAppRec();
        ResetQuarvexRec();
        QuarvexRec.ProjectPath = m_fixture.projectPath("HILL");
        m_before = lineItems();
        m_view.showStatus = [this](const QString &text) { m_statuses << text; };
    }
    QString lineItemPath() const { return m_fixture.projectPath("HILL") + "/" + QuarvexFixture::lineItemFile; }
    db::TableData lineItems() const { return db::readParadoxTable(lineItemPath()); }
    QByteArray fileBytes() const
    {
        QFile file(lineItemPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QuarvexFixture m_fixture;
    ScriptedUi m_ui;
    db::TableData m_before;
    LoggingView m_view;
    QStringList m_statuses;
};

TEST_F(ExportLoggingTest, MilestoneIsSetOnThePhasesLineItemsOnly)
{
    AppRec.INCMILELOG = true;
    AppRec.MILEINDEX = 0;
    EXPECT_TRUE(DoLogging(7, m_view));
    EXPECT_EQ(m_statuses, (QStringList{"Logging item 1\\3", "Logging item 2\\3", "Logging item 3\\3", "QX logging to M1"}));
    const db::TableData after = lineItems();
    for (int row = 0; row < m_before.records.size(); ++row) {
        QVector<QVariant> expected = m_before.records.at(row);
        if (expected.at(PhaseField).toInt() == 7)
            expected[FirstMilestone] = 1;
        EXPECT_EQ(after.records.at(row), expected) << "row " << row;
    }
}

TEST_F(ExportLoggingTest, ReferenceStampIgnoresTheMilestoneIndex)
{
    AppRec.INCREFLOG = true;
    AppRec.MILEINDEX = 9;
    EXPECT_TRUE(DoLogging(3, m_view));
    EXPECT_EQ(m_statuses.last(), "QX logging to Reference");
    const db::TableData after = lineItems();
    for (int row = 0; row < m_before.records.size(); ++row) {
        const bool phase3 = m_before.records.at(row).at(PhaseField).toInt() == 3;
        const QString reference = after.records.at(row).at(ReferenceField).toString();
        EXPECT_EQ(reference.startsWith("Crewmint: "), phase3) << reference.toStdString();
        EXPECT_EQ(after.records.at(row).mid(0, ReferenceField), m_before.records.at(row).mid(0, ReferenceField));
    }
}

TEST_F(ExportLoggingTest, NothingIsWrittenWhenOffRefusedOrWithoutRows)
{
    struct Case {
        bool milestone, reference;
        int index;
        unsigned phase;
        QStringList statuses;
    } cases[] = {
        {false, false, 0, 7, {}},
        {true, true, 9, 7, {"Invalid Milestone M1"}},
        {true, false, 8, 7, {"Invalid Milestone M9"}},
        {true, true, 1, 9, {"QX logging to M2", "QX logging to Reference"}},
    };
    const QByteArray bytes = fileBytes();
    for (const Case &c : cases) {
        AppRec.INCMILELOG = c.milestone;
        AppRec.INCREFLOG = c.reference;
        AppRec.MILEINDEX = c.index;
        m_statuses.clear();
        DoLogging(c.phase, m_view);
        EXPECT_EQ(m_statuses, c.statuses);
        EXPECT_EQ(fileBytes(), bytes);
    }
    EXPECT_TRUE(m_ui.shown.isEmpty());
}

TEST_F(ExportLoggingTest, AFailingRowEndsThePhaseWithTheMessageAndLeavesTheTableWhole)
{
    AppRec.INCREFLOG = true;
    QuarvexRec.ProjectPath = m_fixture.dataPath(); // no line-item table here
    EXPECT_FALSE(DoLogging(7, m_view));
    ASSERT_EQ(m_ui.shown.size(), 1);
    EXPECT_TRUE(m_ui.shown.at(0).startsWith("inform: DoLogging - Error opening table \r\n")) << m_ui.shown.at(0).toStdString();

    // A table without the milestone column: the first row fails, nothing is written.
    m_ui.shown.clear();
    AppRec.INCMILELOG = true;
    AppRec.MILEINDEX = 0;
    db::TableData withoutMilestones = m_before;
    withoutMilestones.fields.remove(FirstMilestone);
    for (auto &record : withoutMilestones.records)
        record.remove(FirstMilestone);
    db::writeParadoxTable(lineItemPath(), withoutMilestones);
    const QByteArray bytes = fileBytes();
    QuarvexRec.ProjectPath = m_fixture.projectPath("HILL");
    EXPECT_FALSE(DoLogging(7, m_view));
    ASSERT_EQ(m_ui.shown.size(), 1);
    EXPECT_TRUE(m_ui.shown.at(0).contains("M1")) << m_ui.shown.at(0).toStdString();
    EXPECT_EQ(fileBytes(), bytes);
}

TEST(ExportLoggingNames, MilestoneColumnAndStamp)
{
    EXPECT_EQ(milestoneColumnName(0), "M1");
    EXPECT_EQ(milestoneColumnName(7), "M8");
    EXPECT_EQ(milestoneColumnName(9), "M1");
    EXPECT_EQ(milestoneColumnName(-1), "M0");
    EXPECT_TRUE(referenceStamp(QDateTime(QDate(2024, 3, 5), QTime(14, 7))).startsWith("Crewmint: "));
    EXPECT_TRUE(referenceStamp(QDateTime(QDate(2024, 3, 5), QTime(14, 7))).endsWith("5, 2024 - 14:07"));
}

} // namespace
