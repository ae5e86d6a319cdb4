#include "env/QuarvexRec.h"

#include "env/DebugLog.h"
#include "env/IniOut.h"
#include "env/ScopedEnv.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QString Quarvex = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\";

// A program folder "prog" inside a temporary folder, and a registry export
// chosen through QUARVEX_REGISTRY.
class QuarvexRecTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(home()));
        m_env.set("TOCREWMINT_HOME", home());
        m_env.set("HOME", m_root.filePath("nohome"));
        m_env.set("WINEPREFIX", "");
        m_env.set("QUARVEX_REGISTRY", "");
        ResetQuarvexRec();
    }
    QString home() const { return m_root.filePath("prog"); }
    void makeSystemFolder(const QString &dataFolder) const { ASSERT_TRUE(QDir().mkpath(dataFolder + "/System")); }
    // keyLines: lines after the quarvex key prefix, e.g. "SYSTEM]" then values.
    void useRegistry(const QString &keyLines)
    {
        static int count = 0;
        const QString path = m_root.filePath(QString("reg%1.reg").arg(++count));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("REGEDIT4\r\n\r\n" + QString(keyLines).replace("[", Quarvex)).toUtf8());
        m_env.set("QUARVEX_REGISTRY", path);
    }

    QTemporaryDir m_root;
    ScopedEnv m_env;
};

QString nativeString(const QString &path) { return QString(path).replace("\\", "\\\\"); }
} // namespace

TEST_F(QuarvexRecTest, WithoutRegistryEverythingTakesItsDefault)
{
    LoadQuarvexSettings();
    FillMRU();
    EXPECT_EQ(QuarvexRec.DataPath, home());
    EXPECT_EQ(QuarvexRec.UserName, "");
    const TLabelRec &l = QuarvexRec.Labels;
    const QStringList got = {l.Alteration[1], l.BidResult[4], l.Contact[2], l.General[6], l.Location[4],
                             l.Mile[1],       l.Mile[8],      l.Markup2,    l.Material2,  l.Labor2};
    EXPECT_EQ(got, QStringList({"Phase", "Gen Conditions", "Contact2", "Reference", "Scope", "Mile1", "Mile8", "Profit",
                                "InDirect", "InDirect"}));
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(QuarvexRec.MRU[n], "");
}

TEST_F(QuarvexRecTest, ResetValuesKeepTheProjectShortName)
{
    QuarvexRec.ProjectShort = "ALPHA";
    QuarvexRec.ProjectOpen = true;
    QuarvexRec.DataPath = "/x";
    ResetQuarvexRec();
    EXPECT_EQ(QuarvexRec.ProjectShort, "ALPHA");
    EXPECT_FALSE(QuarvexRec.ProjectOpen);
    EXPECT_EQ(QuarvexRec.DataPath, "");
    EXPECT_EQ(QuarvexRec.SystemName, "QuarvexSystem");
    const TLabelRec &l = QuarvexRec.Labels;
    EXPECT_EQ(QStringList({l.BidResult[1], l.General[6], l.Location[4], l.Mile[3], l.Markup2, l.Labor2}),
              QStringList({"", "Refernce", "Notes", "M3", "Fee", "Indirect"}));
}

TEST_F(QuarvexRecTest, DataFolderFallsBackToTheProgramFolderOrItsParent)
{
    const QString data = m_root.filePath("data");
    const QString bare = m_root.filePath("bare");
    ASSERT_TRUE(QDir().mkpath(bare));
    makeSystemFolder(data);
    useRegistry("[SYSTEM]\r\n\"DATAPATH\"=\"" + nativeString(data) + "\"\r\n\"LASTUSER\"=\" Ann \"\r\n");
    LoadQuarvexSettings();
    EXPECT_EQ(QuarvexRec.DataPath, data);
    EXPECT_EQ(QuarvexRec.UserName, " Ann "); // not trimmed

    useRegistry("[SYSTEM]\r\n\"DATAPATH\"=\"" + nativeString(bare) + "\"\r\n");
    LoadQuarvexSettings();
    EXPECT_EQ(QuarvexRec.DataPath, home()); // neither holds System

    makeSystemFolder(m_root.path());
    LoadQuarvexSettings();
    EXPECT_EQ(QuarvexRec.DataPath, home() + "/.."); // only the parent does

    makeSystemFolder(home());
    LoadQuarvexSettings();
    EXPECT_EQ(QuarvexRec.DataPath, home());
}

TEST_F(QuarvexRecTest, WindowsDataPathIsMappedThroughTheWinePrefix)
{
    const QString prefix = m_root.filePath("wine");
    makeSystemFolder(prefix + "/drive_d/QData");
    ASSERT_TRUE(QDir().mkpath(prefix + "/dosdevices"));
    ASSERT_TRUE(QFile::link(prefix + "/drive_d", prefix + "/dosdevices/d:"));
    QFile hive(prefix + "/system.reg");
    ASSERT_TRUE(hive.open(QIODevice::WriteOnly));
    hive.write("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
               "[Software\\\\Zentrova Software Corp.\\\\quarvex\\\\2.0\\\\System] 1700000000\n"
               "\"DataPath\"=\"D:\\\\qdata\\\\\"\n\"LastUser\"=\"ann\"\n");
    hive.close();
    m_env.set("WINEPREFIX", prefix);
    LoadQuarvexSettings();
    EXPECT_EQ(QuarvexRec.DataPath, prefix + "/dosdevices/d:/QData");
    EXPECT_EQ(QuarvexRec.UserName, "ann");
}

TEST_F(QuarvexRecTest, LabelsKeepPairsApartAndEmptyValuesEmpty)
{
    const struct {
        QString values;
        QStringList expected; // Material1, Material2, Labor1, Labor2, Mile3, Mile4
    } cases[] = {
        {"\"Material1\"=\"Cost\"\r\n\"Material2\"=\"Cost\"\r\n\"Labor1\"=\"InDirect\"\r\n\"Mile3\"=\"\"\r\n",
         {"Cost", "Cost1", "InDirect", "InDirect1", "", "Mile4"}},
        {"\"Labor1\"=\"Direct\"\r\n\"Labor2\"=\"direct\"\r\n\"Material2\"=\"Direct\"\r\n\"Mile4\"=\"Hand-over\"\r\n",
         {"Direct", "Direct1", "Direct", "direct", "Mile3", "Hand-over"}},
    };
    for (const auto &c : cases) {
        useRegistry("[Labels]\r\n" + c.values);
        LoadLabels();
        const TLabelRec &l = QuarvexRec.Labels;
        EXPECT_EQ(QStringList({l.Material1, l.Material2, l.Labor1, l.Labor2, l.Mile[3], l.Mile[4]}), c.expected);
    }
}

TEST_F(QuarvexRecTest, FillMRUAndTheDataFolderListReadTheUsersKey)
{
    useRegistry("[USERS\\Ann\\MRULIST]\r\n\"MRU1\"=\"Tower\"\r\n\"MRU2\"=\"Depot\"\r\n\"MRU4\"=\"\"\r\n"
                "\"PATH1\"=\"C:\\\\QData\"\r\n\"PATH3\"=\"/srv/q\"\r\n\"PATH4\"=\"\"\r\n");
    QuarvexRec.UserName = "ann";
    QuarvexRec.MRU[5] = "stale";
    FillMRU();
    EXPECT_EQ(QStringList(QuarvexRec.MRU.begin() + 1, QuarvexRec.MRU.end()),
              QStringList({"Tower", "Depot", "", "", ""}));
    EXPECT_EQ(ReadDataPathList(), QStringList({"C:\\QData", "/srv/q"}));
    EXPECT_TRUE(QString::fromUtf8([] {
                    QFile log(debugLogPath());
                    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
                }()).contains("]  FillMRU\r\n"));
    QuarvexRec.UserName = "";
    FillMRU();
    EXPECT_EQ(QuarvexRec.MRU[1], "");
}

TEST_F(QuarvexRecTest, AValueThatIsNotTextIsAnError)
{
    useRegistry("[SYSTEM]\r\n\"DATAPATH\"=\"/nowhere\"\r\n\"LASTUSER\"=dword:00000007\r\n"
                "[USERS\\Ann\\MRULIST]\r\n\"MRU1\"=\"Tower\"\r\n\"MRU2\"=hex:01\r\n\"MRU3\"=\"Depot\"\r\n");
    QuarvexRec.UserName = "before";
    try {
        LoadQuarvexSettings();
        FAIL() << "no error";
    } catch (const RegistryError &error) {
        EXPECT_TRUE(error.message().startsWith("Invalid data type for 'LASTUSER'")) << error.message().toStdString();
    }
    EXPECT_EQ(QuarvexRec.DataPath, "/nowhere");
    EXPECT_EQ(QuarvexRec.UserName, "before");

    ScriptedUi ui;
    QuarvexRec.UserName = "Ann";
    FillMRU();
    EXPECT_EQ(QuarvexRec.MRU[1], "Tower");
    EXPECT_EQ(QuarvexRec.MRU[3], "");
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.shown.at(0).startsWith("error: Invalid data type for 'MRU2'"));
}
