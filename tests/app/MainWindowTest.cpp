#include "app/AppForms.h"
#include "app/ToCrewmintMain.h"
#include "env/DebugLog.h"
#include "platform/LocaleFormat.h"
#include "settings/Settings.h"
#include "support/GuiApp.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        guiApp();
        ASSERT_TRUE(home.isValid());
        qputenv("TOCREWMINT_HOME", home.path().toLocal8Bit());
        qputenv("QUARVEX_REGISTRY", home.filePath("none.reg").toLocal8Bit());
        qputenv("TMPDIR", home.filePath("tmp").toLocal8Bit());
        qunsetenv("Temp");
        qunsetenv("TEMP");
    }
    void TearDown() override { qunsetenv("TOCREWMINT_HOME"); }

    QStringList logMessages() const
    {
        QFile file(home.filePath("DEBUG.LOG"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList messages;
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"))) {
            const int at = line.indexOf(QStringLiteral("]  "));
            if (at >= 0)
                messages << line.mid(at + 3);
        }
        return messages;
    }

    QTemporaryDir home;
};
} // namespace

TEST(StatusPanels, WidthsAreTruncatedShares)
{
    EXPECT_EQ(statusPanelWidths(900), (std::array<int, 3>{540, 135, 90}));
    EXPECT_EQ(statusPanelWidths(133), (std::array<int, 3>{79, 19, 13})); // 79.8, 19.95, 13.3
    EXPECT_EQ(statusPanelWidths(0), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(MainWindowTest, StartAndCloseLeaveTheLogLinesAndTheSettingsFile)
{
    {
        std::unique_ptr<AppForms> forms = startApplication();
        TToCrewmintMainFrm &main = *forms->ToCrewmintMainFrm;
        EXPECT_EQ(main.currentNotebookPage(), QStringLiteral("Splash"));
        EXPECT_FALSE(main.tbExportCrew->isEnabled());
        EXPECT_FALSE(main.tbSelectAll->isEnabled());
        EXPECT_FALSE(main.tbClearAll->isEnabled());
        EXPECT_EQ(main.windowTitle(), QStringLiteral("ToCrewmint"));
        main.show();
        main.EditJobNo->setText(QStringLiteral("J-77"));
        main.close();
        EXPECT_EQ(AppRec.JOBNUMBER, QStringLiteral("J-77"));
    }
    const QStringList log = logMessages();
    const QStringList expected = {">>---ToCrewmint Loading", "Main formCreate done.",
                                  "toCrew Stat panel= " + longDateText(QDate::currentDate()),
                                  ">>---ToCrewmint Run", "----<<Form Destroy done."};
    int at = -1;
    for (const QString &line : expected) {
        const int found = log.indexOf(line, at + 1);
        EXPECT_GT(found, at) << line.toStdString();
        at = std::max(at, found);
    }

    QFile ini(home.filePath("ToCrewmint.INI"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    const int crewmint = text.indexOf("[Crewmint]"), options = text.indexOf("[OPTIONS]"), csv = text.indexOf("[CSV]");
    EXPECT_GE(crewmint, 0);
    EXPECT_LT(crewmint, options);
    EXPECT_LT(options, csv);
    EXPECT_TRUE(text.contains("Inbox=" + home.path() + "/CrewmintInbox"));
    EXPECT_TRUE(text.contains("COLLAPSETASKS=2"));
    EXPECT_TRUE(text.contains("showMaterial=0"));
}

TEST_F(MainWindowTest, ShowStatusBeyondTheLastPanelOnlyLogs)
{
    TToCrewmintMainFrm main;
    const QString before = main.statusPanels[3]->text();
    main.ShowStatus(4, QStringLiteral("nowhere"));
    for (QLabel *panel : main.statusPanels)
        EXPECT_NE(panel->text(), QStringLiteral("nowhere"));
    EXPECT_EQ(main.statusPanels[3]->text(), before);
    main.ShowStatus(0, QStringLiteral("here"));
    EXPECT_EQ(main.statusPanels[0]->text(), QStringLiteral("here"));
    const QStringList log = logMessages();
    EXPECT_TRUE(log.contains("toCrew Stat panel= nowhere"));
    EXPECT_TRUE(log.contains("toCrew Stat panel= here"));
}

TEST_F(MainWindowTest, ResizingKeepsThePanelSharesOfTheBar)
{
    TToCrewmintMainFrm main;
    main.show();
    main.resize(413, 300);
    QApplication::processEvents();
    const std::array<int, 3> widths = statusPanelWidths(main.StatusBar->width());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(main.statusPanels[i]->width(), widths[i]) << i;
    EXPECT_GT(main.ToolBar->linesDrawn(), 0);
}
