#include "settings/Settings.h"

#include "env/DebugLog.h"
#include "env/IniOut.h"
#include "env/QuarvexRec.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"
#include "platform/Ui.h"

#include <QRegularExpression>

TAppRec AppRec;

namespace {
const QString Crewmint = QStringLiteral("Crewmint");
const QString Options = QStringLiteral("OPTIONS");
const QString Csv = QStringLiteral("CSV");

QString defaultInbox() { return AppRec.ProgramFolder + QStringLiteral("/CrewmintInbox"); }

// The items of a comma text: separated by commas or blanks, quotes removed.
QStringList commaTextItems(const QString &text)
{
    QStringList items;
    for (QString item : text.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        item.remove(QLatin1Char('"'));
        if (!item.isEmpty())
            items << item;
    }
    return items;
}
} // namespace

QString settingsFilePath() { return AppRec.ProgramFolder + QStringLiteral("/ToCrewmint.INI"); }

void SetStartupValues()
{
    DebugLogOff = false;
    AppRec.ProgramFolder = programFolder();
    const QString baseName = programBaseName();
    AppRec.SystemTemp = systemTempFolder();
    AppRec.myTemp = AppRec.SystemTemp + QLatin1Char('/') + baseName;
    if (!FolderExists(AppRec.myTemp))
        MakeFolder(AppRec.myTemp);
    AppRec.PrivRoot = AppRec.ProgramFolder + QStringLiteral("/Priv");
    AppRec.myPriv = AppRec.PrivRoot + QLatin1Char('/') + baseName;
    AppRec.JOBNUMBER = QStringLiteral("9999");
    ResetQuarvexRec();
    AppRec.Inbox = defaultInbox();
    AppRec.MRU_PHASE.clear();
    AppRec.ExportList.clear();
    AppRec.COLLAPSETASKS = 2;
    AppRec.COLLAPSEMATERIALS = 2;
    AppRec.showHeader = true;
    AppRec.showActivity = true;
    AppRec.showMaterial = false;
    AppRec.INCMILELOG = false;
    AppRec.INCREFLOG = false;
    AppRec.MILEINDEX = 0;
    ReadSettings();
}

void ReadSettings()
{
    DebugLogFile(QStringLiteral("ToCrewmint.INI"));
    const IniFile ini(settingsFilePath());
    try {
        LoadQuarvexSettings();
    } catch (const RegistryError &error) {
        reportRegistryError(error);
    }
    AppRec.Inbox = ini.readString(Crewmint, QStringLiteral("Inbox"), defaultInbox());
    if (AppRec.Inbox.isEmpty())
        AppRec.Inbox = defaultInbox();
    AppRec.COLLAPSETASKS = ini.readInteger(Options, QStringLiteral("COLLAPSETASKS"), 2);
    AppRec.COLLAPSEMATERIALS = ini.readInteger(Options, QStringLiteral("COLLAPSEMATERIALS"), 2);
    AppRec.showHeader = ini.readBool(Csv, QStringLiteral("showHeader"), true);
    AppRec.showActivity = ini.readBool(Csv, QStringLiteral("showActivity"), true);
    AppRec.showMaterial = ini.readBool(Csv, QStringLiteral("showMaterial"), false);
    AppRec.INCMILELOG = ini.readBool(Options, QStringLiteral("INCMILELOG"), false);
    AppRec.INCREFLOG = ini.readBool(Options, QStringLiteral("INCREFLOG"), false);
    AppRec.MILEINDEX = ini.readInteger(Options, QStringLiteral("MILEINDEX"), 0);
    if (AppRec.MILEINDEX >= -8 && AppRec.MILEINDEX <= -1)
        AppRec.INCMILELOG = false;
}

bool WriteSettings()
{
    IniFile ini(settingsFilePath());
    ini.writeString(Crewmint, QStringLiteral("Inbox"), AppRec.Inbox);
    ini.writeInteger(Options, QStringLiteral("COLLAPSETASKS"), AppRec.COLLAPSETASKS);
    ini.writeInteger(Options, QStringLiteral("COLLAPSEMATERIALS"), AppRec.COLLAPSEMATERIALS);
    ini.writeBool(Csv, QStringLiteral("showHeader"), AppRec.showHeader);
    ini.writeBool(Csv, QStringLiteral("showActivity"), AppRec.showActivity);
    ini.writeBool(Csv, QStringLiteral("showMaterial"), AppRec.showMaterial);
    ini.writeBool(Options, QStringLiteral("INCMILELOG"), AppRec.INCMILELOG);
    ini.writeBool(Options, QStringLiteral("INCREFLOG"), AppRec.INCREFLOG);
    ini.writeInteger(Options, QStringLiteral("MILEINDEX"), AppRec.MILEINDEX);
    if (QuarvexRec.ProjectOpen) {
        ini.writeString(QuarvexRec.ProjectShort, QStringLiteral("JOBNUMBER"), AppRec.JOBNUMBER);
        ini.writeString(QuarvexRec.ProjectShort, QStringLiteral("MRU_PHASE"), AppRec.MRU_PHASE.join(QLatin1Char(',')));
    }
    if (ini.save())
        return true;
    Ui::current().error(ini.errorString());
    DebugLog(ini.errorString());
    return false;
}

bool CloseSettings()
{
    const bool written = WriteSettings();
    AppRec.MRU_PHASE.clear();
    AppRec.ExportList.clear();
    return written;
}

void ReadProjectSettings(const QString &projectShort)
{
    const IniFile ini(settingsFilePath());
    AppRec.JOBNUMBER = ini.readString(projectShort, QStringLiteral("JOBNUMBER"), QString()).trimmed();
    if (AppRec.JOBNUMBER.isEmpty())
        AppRec.JOBNUMBER = projectShort;
    AppRec.MRU_PHASE = commaTextItems(ini.readString(projectShort, QStringLiteral("MRU_PHASE"), QString()));
}

QString collapseTasksText(int value)
{
    static const QStringList names = {"Library", "Category", "Activity"};
    return names.value(value, QStringLiteral("NA"));
}

QString collapseMaterialsText(int value)
{
    static const QStringList names = {"Library", "Category", "Material"};
    return names.value(value, QStringLiteral("NA"));
}
