#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
class IniFileTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Test.INI")); }
    void writeFile(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(IniFileTest, ReadsSectionsAndKeysWithoutCaseAndTrimsValues)
{
    writeFile("; a comment\n[Options]\n  Width = 12 \nName=\"quoted text\"\nBad=12x\n[empty]\n[OPTIONS]\nWidth=99\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.readInteger("options", "WIDTH", 0), 12); // the first section of that name holds
    EXPECT_EQ(ini.readString("OPTIONS", "name", "-"), "quoted text");
    EXPECT_EQ(ini.readInteger("Options", "Bad", 7), 7);
    EXPECT_EQ(ini.readString("Options", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("Nowhere", "Width", "dflt"), "dflt");
    EXPECT_TRUE(ini.readBool("Options", "Width", false));
    EXPECT_FALSE(ini.hasKey("empty", "Width"));
}

TEST_F(IniFileTest, WriteKeepsOrderAppendsKeysToTheirSectionAndSectionsAtTheEnd)
{
    writeFile("[First]\r\nA=1\r\n; keep me\r\nb=2\r\n\r\n[Second]\r\nC=3\r\n");
    IniFile ini(path());
    ini.writeString("first", "B", "two");
    ini.writeInteger("FIRST", "New", 5);
    ini.writeBool("Third", "Flag", true);
    ini.writeString("Second", "C", "line\nbreak");
    ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();
    EXPECT_EQ(fileBytes(), QByteArray("[First]\r\nA=1\r\n; keep me\r\nb=two\r\nNew=5\r\n\r\n[Second]\r\nC=line break\r\n"
                                      "[Third]\r\nFlag=1\r\n"));
}

TEST_F(IniFileTest, LongValuesAreReadCutTo2047Characters)
{
    const QString longValue(3000, QLatin1Char('x'));
    IniFile ini(path());
    ini.writeString("S", "K", longValue);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(IniFile(path()).readString("S", "K", ""), QString(2047, QLatin1Char('x')));
}

TEST_F(IniFileTest, SaveReplacesTheFileInOneStep)
{
    writeFile("[S]\nK=old\n");
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    IniFile ini(path());
    ini.writeString("S", "K", "new");
    ASSERT_TRUE(ini.save());
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino); // a new file renamed over the old one, not rewritten in place
    EXPECT_EQ(fileBytes(), QByteArray("[S]\nK=new\n"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Test.INI"});
}

TEST_F(IniFileTest, FailedSaveNamesTheFile)
{
    const QString missing = m_dir.filePath(QStringLiteral("no/such/folder/Test.INI"));
    IniFile ini(missing);
    ini.writeString("S", "K", "v");
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(ini.errorString(), "Unable to write to " + missing);
}
