#include "platform/RegistryFile.h"

#include "env/ScopedEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QString SystemKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\SYSTEM";

struct Format {
    const char *name;
    QByteArray bytes;
};

QByteArray utf16WithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

// The same values in the three file formats: escapes, an empty value, other
// value kinds (one continued over two lines), an expandable string, non-ASCII
// text, a deleted key and the same path under another root.
std::vector<Format> formats()
{
    const QString exportBody = QString::fromUtf8(
        "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\SYSTEM]\r\n"
        "\"DATAPATH\"=\"C:\\\\QData\\\\\"\r\n"
        "\"Bin\"=hex:01,02,\\\r\n  03,04\r\n"
        "\"LastUser\"=\"Ann \\\"AJ\\\" Lee\"\r\n"
        "\"Count\"=dword:00000001\r\n"
        "\"Empty\"=\"\"\r\n"
        "\"Phase\"=\"Démolition\"\r\n"
        "@=\"default\"\r\n"
        "%EXPAND%"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\SYSTEM]\r\n"
        "\"Other\"=\"user\"\r\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\r\n"
        "\"Ghost\"=\"x\"\r\n");
    const QString expand5 = "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n";   // "%T%" in UTF-16LE
    const QString expand4 = "\"Expand\"=hex(2):25,54,25,00\r\n";                // "%T%" in 8 bits
    const QByteArray wine = "WINE REGISTRY Version 2\n"
                            ";; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
                            "[Software\\\\Zentrova Software Corp.\\\\quarvex\\\\2.0\\\\SYSTEM] 1700000000\n"
                            "#time=1d9a0b0c0d0e0f0\n"
                            "\"DATAPATH\"=\"C:\\\\QData\\\\\"\n"
                            "\"Bin\"=hex:01,02,\\\n  03,04\n"
                            "\"LastUser\"=\"Ann \\\"AJ\\\" Lee\"\n"
                            "\"Count\"=dword:00000001\n"
                            "\"Empty\"=\"\"\n"
                            "\"Phase\"=\"D\\x00e9molition\"\n"
                            "\"Expand\"=str(2):\"%T%\"\n"
                            "@=\"default\"\n";
    return {{"REGEDIT4", ("REGEDIT4\r\n" + QString(exportBody).replace("%EXPAND%", expand4)).toUtf8()},
            {"version 5.00", utf16WithBom("Windows Registry Editor Version 5.00\r\n" + QString(exportBody).replace("%EXPAND%", expand5))},
            {"Wine hive", wine}};
}
} // namespace

TEST(RegistryFile, ReadsTheThreeFormatsAlike)
{
    QTemporaryDir dir;
    for (const Format &format : formats()) {
        SCOPED_TRACE(format.name);
        const QString path = dir.filePath("reg.reg");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(format.bytes);
        file.close();

        RegistryFile reg;
        ASSERT_TRUE(reg.load(path)) << reg.errorString().toStdString();
        const auto text = [&](const QString &key, const QString &name) {
            const auto value = reg.value(key, name);
            return value && value->isText ? value->text : QStringLiteral("<none>");
        };
        EXPECT_EQ(text(SystemKey.toLower(), "datapath"), "C:\\QData\\");
        EXPECT_EQ(text(SystemKey, "LASTUSER"), "Ann \"AJ\" Lee");
        EXPECT_EQ(text(SystemKey, "Empty"), "");
        EXPECT_EQ(text(SystemKey, "Phase"), QString::fromUtf8("Démolition"));
        EXPECT_EQ(text(SystemKey, "Expand"), "%T%");
        EXPECT_EQ(text(SystemKey, ""), "default");
        ASSERT_TRUE(reg.value(SystemKey, "Count").has_value());
        EXPECT_FALSE(reg.value(SystemKey, "Count")->isText);
        EXPECT_FALSE(reg.value(SystemKey, "Bin")->isText);
        EXPECT_FALSE(reg.value(SystemKey, "Missing").has_value());
        EXPECT_FALSE(reg.value(SystemKey, "Other").has_value());
        EXPECT_FALSE(reg.hasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"));
    }
}

TEST(RegistryFile, RefusesAFileOfAnotherKindByName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Crewmint]\nInbox=/tmp\n");
    file.close();
    RegistryFile reg;
    EXPECT_FALSE(reg.load(path));
    EXPECT_TRUE(reg.errorString().contains(path));
    EXPECT_FALSE(reg.load(dir.filePath("missing.reg")));
    EXPECT_TRUE(reg.errorString().contains("missing.reg"));
}

TEST(RegistryFile, ChoosesTheExplicitFileThenTheWinePrefixThenHome)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath("prefix");
    const QString home = dir.filePath("home");
    ASSERT_TRUE(QDir().mkpath(prefix + "/dosdevices") && QDir().mkpath(home + "/.wine"));
    for (const QString &file : {prefix + "/system.reg", home + "/.wine/system.reg"}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ScopedEnv env;
    env.set("HOME", home);
    env.set("QUARVEX_REGISTRY", prefix + "/system.reg");
    env.set("WINEPREFIX", "");
    EXPECT_EQ(chooseRegistrySource().file, prefix + "/system.reg");
    EXPECT_EQ(chooseRegistrySource().winePrefix, prefix); // dosdevices beside the file
    env.set("QUARVEX_REGISTRY", home + "/.wine/system.reg");
    EXPECT_EQ(chooseRegistrySource().winePrefix, ""); // no dosdevices there
    env.set("QUARVEX_REGISTRY", "");
    env.set("WINEPREFIX", prefix + "/");
    EXPECT_EQ(chooseRegistrySource().file, prefix + "/system.reg");
    EXPECT_EQ(chooseRegistrySource().winePrefix, prefix);
    env.set("WINEPREFIX", "");
    EXPECT_EQ(chooseRegistrySource().file, home + "/.wine/system.reg");
    EXPECT_EQ(chooseRegistrySource().winePrefix, home + "/.wine");
    env.set("HOME", dir.filePath("nobody"));
    EXPECT_EQ(chooseRegistrySource().file, "");
}

TEST(RegistryFile, MapsWindowsPathsThroughDosdevicesWithoutCase)
{
    QTemporaryDir dir;
    const QString prefix = dir.path();
    ASSERT_TRUE(QDir().mkpath(prefix + "/drive_c/QData/System") && QDir().mkpath(prefix + "/dosdevices"));
    ASSERT_TRUE(QFile::link(prefix + "/drive_c", prefix + "/dosdevices/c:"));
    const struct {
        QString value;
        QString prefix;
        QString expected;
    } cases[] = {
        {"C:\\qdata\\SYSTEM", prefix, prefix + "/dosdevices/c:/QData/System"},
        {"c:\\QData\\New\\x", prefix, prefix + "/dosdevices/c:/QData/New/x"},
        {"C:", prefix, prefix + "/dosdevices/c:"},
        {"/srv/qdata", prefix, "/srv/qdata"},
        {"\\\\server\\share", prefix, "\\\\server\\share"},
        {"C:\\QData", "", "C:\\QData"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nativePathOf(c.value, c.prefix), c.expected) << c.value.toStdString();
}
