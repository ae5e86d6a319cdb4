#include "env/SessionFolders.h"

#include "db/Session.h"
#include "env/DebugLog.h"
#include "env/QuarvexRec.h"
#include "env/ScopedEnv.h"
#include "platform/Folders.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class SessionFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_env.set("TOCREWMINT_HOME", m_home.path());
        DebugLogOff = false;
    }
    QStringList logEntries() const
    {
        QFile file(debugLogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList entries;
        for (const QString &line : QString::fromUtf8(file.readAll()).split("\r\n")) {
            const int start = line.indexOf("]  ");
            if (start >= 0)
                entries << line.mid(start + 3);
        }
        return entries;
    }

    QTemporaryDir m_home;
    ScopedEnv m_env;
    ScriptedUi m_ui;
};

// A dataset of the session that only records being closed.
struct OpenDataset : db::SessionMember {
    void close() override { closed = true; }
    bool closed = false;
};
} // namespace

TEST_F(SessionFoldersTest, NetFileDirFollowsTheDataFolder)
{
    db::Session &session = db::Session::defaultSession();
    OpenDataset dataset;
    session.memberOpened(&dataset);
    QuarvexRec.DataPath = m_home.filePath("Data/Quarvex");
    SetNetFileDir();
    EXPECT_TRUE(FolderExists(QuarvexRec.DataPath));
    EXPECT_EQ(session.netFileDir(), QuarvexRec.DataPath);
    EXPECT_TRUE(dataset.closed);
    EXPECT_FALSE(session.active());
    EXPECT_EQ(logEntries(), QStringList({"SetNetFileDir - Session.NetFileDir = " + QuarvexRec.DataPath}));

    QuarvexRec.DataPath = QuarvexRec.DataPath.toUpper(); // equal but for case: nothing is done
    SetNetFileDir();
    EXPECT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(m_ui.shown.isEmpty());
}

TEST_F(SessionFoldersTest, NetFileDirFailureIsShownAndLogged)
{
    QFile blocker(m_home.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString before = db::Session::defaultSession().netFileDir();
    QuarvexRec.DataPath = blocker.fileName() + "/Data";
    SetNetFileDir();
    ASSERT_EQ(m_ui.shown.size(), 1);
    EXPECT_TRUE(m_ui.shown.at(0).startsWith("error: NetFileDir - failed\r\n"));
    EXPECT_TRUE(m_ui.shown.at(0).contains(QuarvexRec.DataPath));
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_EQ(logEntries().at(0), "Session.NetFileDir - failed");
    EXPECT_EQ(db::Session::defaultSession().netFileDir(), before);
}

TEST_F(SessionFoldersTest, PrivateDirIsTakenByTheOnlyRunningCopy)
{
    db::Session &session = db::Session::defaultSession();
    const QString first = m_home.filePath("Priv/first");
    ASSERT_EQ(CountInstances(), 1) << "another copy of this test program is running";
    SetPrivateDir(first);
    EXPECT_EQ(session.privateDir(), first);
    EXPECT_EQ(logEntries(), QStringList({"SetPrivateDir - Session.PrivateDir = " + first}));

    QTemporaryDir elsewhere;
    const QString copyPath = elsewhere.filePath(programFileName());
    ASSERT_TRUE(QFile::copy("/bin/sleep", copyPath));
    QProcess copy;
    copy.start(copyPath, {"30"});
    ASSERT_TRUE(copy.waitForStarted());
    const QString second = m_home.filePath("Priv/second");
    SetPrivateDir(second);
    copy.kill();
    copy.waitForFinished();
    EXPECT_TRUE(FolderExists(second)); // created although not taken
    EXPECT_EQ(session.privateDir(), first);
    EXPECT_EQ(logEntries().mid(1), QStringList({"SetStartupValues - session.privatedir not set. Instances = 2",
                                                "Default Session.PrivateDir = " + first}));
}
