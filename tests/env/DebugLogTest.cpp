#include "env/DebugLog.h"

#include "env/ScopedEnv.h"
#include "platform/Folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_env.set("TOCREWMINT_HOME", m_home.path());
        DebugLogOff = false;
    }
    QByteArray logBytes() const
    {
        QFile file(debugLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList logLines() const
    {
        QStringList lines = QString::fromUtf8(logBytes()).split("\r\n");
        lines.removeLast(); // after the last line end
        return lines;
    }
    void writeLog(int lines) const
    {
        QFile file(debugLogPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= lines; ++i)
            file.write(QByteArray("old ") + QByteArray::number(i) + "\r\n");
    }

    QTemporaryDir m_home;
    ScopedEnv m_env;
};
} // namespace

TEST_F(DebugLogTest, EntryHasDateTimeMainThreadIdAndMessage)
{
    DebugLog("first");
    DebugLog(QString::fromUtf8("Démolition"));
    EXPECT_EQ(debugLogPath(), m_home.path() + "/DEBUG.LOG");
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression entry("^(.+) \\[" + QString::number(::getpid()) + "\\]  (.*)$");
    const auto match = entry.match(lines.at(1));
    ASSERT_TRUE(match.hasMatch()) << lines.at(1).toStdString();
    EXPECT_EQ(match.captured(2), QString::fromUtf8("Démolition"));
    EXPECT_TRUE(match.captured(1).contains(QRegularExpression("\\d+:\\d\\d:\\d\\d")));
    EXPECT_FALSE(logBytes().contains("\n\n") || logBytes().replace("\r\n", "").contains('\n'));
}

TEST_F(DebugLogTest, KeepsAtMost500Entries)
{
    const struct {
        int before;
        int firstKept;
    } cases[] = {{499, 1}, {500, 2}, {800, 302}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before);
        writeLog(c.before);
        DebugLog("new");
        const QStringList lines = logLines();
        ASSERT_EQ(lines.size(), std::min(c.before + 1, 500));
        EXPECT_EQ(lines.first(), "old " + QString::number(c.firstKept));
        EXPECT_EQ(lines.at(lines.size() - 2), "old " + QString::number(c.before));
        EXPECT_TRUE(lines.last().endsWith("]  new"));
    }
}

TEST_F(DebugLogTest, AMessageOfTwoLinesCountsOnceWhenWrittenAndTwiceAfterwards)
{
    writeLog(499);
    DebugLog("top\r\nbottom");
    QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 501);
    EXPECT_TRUE(lines.at(499).endsWith("]  top"));
    EXPECT_EQ(lines.at(500), "bottom");
    DebugLog("next");
    lines = logLines();
    ASSERT_EQ(lines.size(), 500);
    EXPECT_EQ(lines.first(), "old 3");
}

TEST_F(DebugLogTest, AFailedWriteSwitchesTheLogOffSilently)
{
    ASSERT_TRUE(QDir().mkpath(debugLogPath())); // a folder where the file should be
    DebugLog("lost");
    EXPECT_TRUE(DebugLogOff);
    ASSERT_TRUE(QDir().rmdir(debugLogPath()));
    DebugLog("also lost");
    EXPECT_FALSE(QFile::exists(debugLogPath()));
}

TEST_F(DebugLogTest, DebugLogFileWritesTheNameAndTheWholeText)
{
    DebugLogFile("Missing.INI");
    EXPECT_FALSE(QFile::exists(debugLogPath()));
    QFile ini(m_home.filePath("Some.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Crewmint]\nInbox=/x\n");
    ini.close();
    DebugLogFile("Some.INI");
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.at(0).endsWith("]  Some.INI"));
    EXPECT_TRUE(lines.at(1).endsWith("]  [Crewmint]"));
    EXPECT_EQ(lines.at(2), "Inbox=/x");
    EXPECT_EQ(lines.at(3), "");
}

TEST_F(DebugLogTest, FlushFolderDeletesPlainFilesOnly)
{
    QDir dir(m_home.path());
    ASSERT_TRUE(dir.mkpath("scratch/sub"));
    for (const char *name : {"scratch/a.db", "scratch/b", "scratch/.hidden", "scratch/sub/c.txt"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    FlushFolder(dir.filePath("scratch") + "/*.*");
    EXPECT_EQ(QDir(dir.filePath("scratch")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({".hidden", "sub"}));
    EXPECT_TRUE(QFile::exists(dir.filePath("scratch/sub/c.txt")));
    EXPECT_EQ(YesNo(false), "No");
    EXPECT_EQ(YesNo(true), "Yes");
}

TEST_F(DebugLogTest, CountInstancesCountsOurFileNameFromAnyFolderOnly)
{
    QTemporaryDir elsewhere;
    const QString sameName = elsewhere.filePath(programFileName().toUpper());
    const QString otherName = elsewhere.filePath("other-program");
    ASSERT_TRUE(QFile::copy("/bin/sleep", sameName) && QFile::copy("/bin/sleep", otherName));
    const int alone = CountInstances();
    EXPECT_GE(alone, 1);
    QProcess copy;
    QProcess other;
    copy.start(sameName, {"30"});
    other.start(otherName, {"30"});
    ASSERT_TRUE(copy.waitForStarted() && other.waitForStarted());
    EXPECT_EQ(CountInstances(), alone + 1);
    copy.kill();
    other.kill();
    copy.waitForFinished();
    other.waitForFinished();
}
