#include "settings/Settings.h"

#include "env/QuarvexRec.h"
#include "env/ScopedEnv.h"
#include "platform/Folders.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_env.set("TOCREWMINT_HOME", m_home.path());
        m_env.set("QUARVEX_REGISTRY", "");
        m_env.set("WINEPREFIX", "");
        m_env.set("HOME", m_home.filePath("nohome"));
        m_env.set("Temp", m_temp.path());
        QuarvexRec.ProjectShort.clear();
    }
    QString iniPath() const { return m_home.filePath("ToCrewmint.INI"); }
    void writeIni(const QByteArray &text) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray iniBytes() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_home;
    QTemporaryDir m_temp;
    ScopedEnv m_env;
};
} // namespace

TEST_F(SettingsTest, FirstStartGivesTheDefaultsAndWritesTheSectionsInOrder)
{
    SetStartupValues();
    const QString base = programBaseName();
    EXPECT_EQ(AppRec.ProgramFolder, m_home.path());
    EXPECT_EQ(AppRec.myTemp, m_temp.path() + "/" + base);
    EXPECT_TRUE(FolderExists(AppRec.myTemp));
    EXPECT_EQ(AppRec.myPriv, m_home.path() + "/Priv/" + base);
    EXPECT_FALSE(FolderExists(AppRec.myPriv));
    EXPECT_EQ(AppRec.JOBNUMBER, "9999");
    EXPECT_EQ(QuarvexRec.SystemName, "QuarvexSystem");
    ASSERT_TRUE(CloseSettings()); // no project open: no project section
    EXPECT_EQ(QString::fromUtf8(iniBytes()), "[Crewmint]\nInbox=" + m_home.path() +
                                                 "/CrewmintInbox\n"
                                                 "[OPTIONS]\nCOLLAPSETASKS=2\nCOLLAPSEMATERIALS=2\nINCMILELOG=0\n"
                                                 "INCREFLOG=0\nMILEINDEX=0\n"
                                                 "[CSV]\nshowHeader=1\nshowActivity=1\nshowMaterial=0\n");
}

TEST_F(SettingsTest, ScratchFolderFollowsTheTemporaryFolderChain)
{
    // Sub-folders of a temporary folder stand for the variables' values; "" clears a variable.
    const QString base = programBaseName();
    const auto in = [this](const char *name) { return *name ? m_temp.filePath(name) : QString(); };
    const struct {
        const char *temp;
        const char *upperTemp;
        const char *tmpdir;
        QString expected;
    } cases[] = {
        {"a", "b", "c", in("a/") + base},
        {"", "b/", "c", in("b/") + base},
        {"", "", "c", in("c/") + base},
        {"", "", "", "/tmp/" + base},
    };
    for (const auto &c : cases) {
        ScopedEnv env;
        env.set("Temp", in(c.temp));
        env.set("TEMP", in(c.upperTemp));
        env.set("TMPDIR", in(c.tmpdir));
        SetStartupValues();
        EXPECT_EQ(AppRec.myTemp, c.expected);
        EXPECT_TRUE(FolderExists(AppRec.myTemp));
    }
    QDir().rmdir("/tmp/" + base);
}

TEST_F(SettingsTest, ReadsValuesAndAppliesTheMilestoneRule)
{
    const struct {
        const char *mileIndex;
        int expectedIndex;
        bool milestoneLogging;
    } cases[] = {{"-1", -1, false}, {"-8", -8, false}, {"-9", -9, true}, {"3", 3, true}, {"x", 0, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mileIndex);
        writeIni(QByteArray("[crewmint]\ninbox=\n[Options]\ncollapsetasks=0\nCOLLAPSEMATERIALS=1\nINCMILELOG=2\n"
                            "INCREFLOG=1\nMILEINDEX=") +
                 c.mileIndex + "\n[CSV]\nshowHeader=0\nshowMaterial=1\n");
        SetStartupValues();
        EXPECT_EQ(AppRec.Inbox, m_home.path() + "/CrewmintInbox");
        EXPECT_EQ(AppRec.COLLAPSETASKS, 0);
        EXPECT_EQ(AppRec.COLLAPSEMATERIALS, 1);
        EXPECT_FALSE(AppRec.showHeader);
        EXPECT_TRUE(AppRec.showActivity);
        EXPECT_TRUE(AppRec.showMaterial);
        EXPECT_TRUE(AppRec.INCREFLOG);
        EXPECT_EQ(AppRec.MILEINDEX, c.expectedIndex);
        EXPECT_EQ(AppRec.INCMILELOG, c.milestoneLogging);
    }
}

TEST_F(SettingsTest, ProjectSectionHoldsJobNumberAndDonePhases)
{
    writeIni("[Crewmint]\nInbox=/data/inbox\n; hand-written note\n[Beta]\nJOBNUMBER=  J 7  \n[Gamma]\nJOBNUMBER=\n");
    SetStartupValues();
    QuarvexRec.ProjectOpen = true;
    QuarvexRec.ProjectShort = "Alpha";
    AppRec.JOBNUMBER = "J-1";
    AppRec.MRU_PHASE = QStringList({"12", "15", "40"});
    ASSERT_TRUE(WriteSettings());
    const QString text = QString::fromUtf8(iniBytes());
    EXPECT_TRUE(text.startsWith("[Crewmint]\nInbox=/data/inbox\n; hand-written note\n[Beta]\n"));
    EXPECT_TRUE(text.endsWith("[Alpha]\nJOBNUMBER=J-1\nMRU_PHASE=12,15,40\n"));

    const struct {
        const char *project;
        const char *job;
        QStringList phases;
    } cases[] = {{"alpha", "J-1", {"12", "15", "40"}}, {"Beta", "J 7", {}}, {"Gamma", "Gamma", {}}, {"New", "New", {}}};
    for (const auto &c : cases) {
        ReadProjectSettings(c.project);
        EXPECT_EQ(AppRec.JOBNUMBER, c.job);
        EXPECT_EQ(AppRec.MRU_PHASE, c.phases);
    }
    QuarvexRec.ProjectOpen = false;
}

TEST_F(SettingsTest, AFailedWriteIsShownAndKeepsTheValues)
{
    ScriptedUi ui;
    SetStartupValues();
    AppRec.ProgramFolder = m_home.filePath("missing");
    AppRec.MRU_PHASE = QStringList({"4"});
    EXPECT_FALSE(CloseSettings());
    EXPECT_EQ(ui.shown, QStringList({"error: Unable to write to " + m_home.filePath("missing/ToCrewmint.INI")}));
    EXPECT_EQ(AppRec.COLLAPSETASKS, 2);
    EXPECT_EQ(collapseTasksText(2), "Activity");
    EXPECT_EQ(collapseMaterialsText(2), "Material");
    EXPECT_EQ(collapseMaterialsText(3), "NA");
}
