#include "env/QuarvexRec.h"

#include "env/DebugLog.h"
#include "env/IniOut.h"
#include "platform/Folders.h"

#include <vector>

TQuarvexRec QuarvexRec;

const QString QuarvexSystemKey = QStringLiteral("SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\SYSTEM");
const QString QuarvexLabelsKey = QStringLiteral("SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\Labels");

namespace {
const QString UsersKey = QStringLiteral("SOFTWARE\\Zentrova Software Corp.\\quarvex\\2.0\\USERS\\");
const QString UsersPathKey = QStringLiteral("Software\\Zentrova Software Corp.\\quarvex\\2.0\\users\\");

struct LabelEntry {
    QString *field;
    QString name;
    QString defaultValue;
    QString resetValue;
};

// Captions name1..nameN with their defaults and reset values; an empty list
// stands for the value name itself.
template <std::size_t N>
void addGroup(std::vector<LabelEntry> &entries, std::array<QString, N> &fields, const QString &name,
              const QStringList &defaults, const QStringList &resets)
{
    for (std::size_t i = 1; i < N; ++i) {
        const QString valueName = name + QString::number(i);
        entries.push_back({&fields[i], valueName, defaults.value(int(i) - 1, valueName),
                           resets.value(int(i) - 1, valueName)});
    }
}

// Every caption in reading order.
std::vector<LabelEntry> labelEntries(TLabelRec &labels)
{
    std::vector<LabelEntry> entries;
    const QStringList alteration = {"Phase", "Revision", "Phase2", "Revision2"};
    addGroup(entries, labels.Alteration, "Alteration", alteration, alteration);
    addGroup(entries, labels.BidResult, "BidResult", {"Bid Lists", "Sub-Contracts", "Allowances", "Gen Conditions"},
             {"", "", "", ""});
    addGroup(entries, labels.Contact, "Contact", {}, {});
    addGroup(entries, labels.General, "General", {"Qty", "Width", "Height", "Depth", "Comment", "Reference"},
             {"Qty", "Width", "Height", "Depth", "Comment", "Refernce"});
    addGroup(entries, labels.Location, "Location", {"Location", "Drawing", "Section", "Scope"},
             {"Location", "Drawing", "Section", "Notes"});
    addGroup(entries, labels.Mile, "Mile", {}, {"M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8"});
    entries.push_back({&labels.Markup1, "Markup1", "Markup", "Markup"});
    entries.push_back({&labels.Markup2, "Markup2", "Profit", "Fee"});
    entries.push_back({&labels.Material1, "Material1", "Direct", "Direct"});
    entries.push_back({&labels.Material2, "Material2", "InDirect", "Indirect"});
    entries.push_back({&labels.Labor1, "Labor1", "Direct", "Direct"});
    entries.push_back({&labels.Labor2, "Labor2", "InDirect", "Indirect"});
    return entries;
}

// The two labels of a pair must differ.
void keepApart(const QString &first, QString &second)
{
    if (second == first)
        second += QLatin1Char('1');
}
} // namespace

void ResetQuarvexRec()
{
    const QString projectShort = QuarvexRec.ProjectShort;
    QuarvexRec = TQuarvexRec();
    QuarvexRec.SystemName = QStringLiteral("QuarvexSystem");
    QuarvexRec.ProjectShort = projectShort;
    for (const LabelEntry &entry : labelEntries(QuarvexRec.Labels))
        *entry.field = entry.resetValue;
}

void LoadQuarvexSettings()
{
    QString dataPath = QuarvexReg.ReadRegString(QuarvexSystemKey, QStringLiteral("DATAPATH"), QString());
    if (dataPath.endsWith(QLatin1Char('\\')))
        dataPath.chop(1);
    QuarvexRec.DataPath = nativePathOf(dataPath, QuarvexReg.winePrefix());
    QuarvexRec.UserName = QuarvexReg.ReadRegString(QuarvexSystemKey, QStringLiteral("LASTUSER"), QString());
    const QString system = QStringLiteral("/System");
    if (!FolderExists(QuarvexRec.DataPath + system)) {
        const QString parent = programFolder() + QStringLiteral("/..");
        QuarvexRec.DataPath = programFolder();
        if (!FolderExists(QuarvexRec.DataPath + system) && FolderExists(parent + system))
            QuarvexRec.DataPath = parent;
    }
    LoadLabels();
}

void LoadLabels()
{
    TLabelRec &labels = QuarvexRec.Labels;
    for (const LabelEntry &entry : labelEntries(labels)) {
        *entry.field = QuarvexReg.ReadRegString(QuarvexLabelsKey, entry.name, entry.defaultValue);
        if (entry.field == &labels.Material2)
            keepApart(labels.Material1, labels.Material2);
        if (entry.field == &labels.Labor2)
            keepApart(labels.Labor1, labels.Labor2);
    }
}

void FillMRU()
{
    DebugLog(QStringLiteral("FillMRU"));
    for (QString &title : QuarvexRec.MRU)
        title.clear();
    try {
        for (int n = 1; n <= 5; ++n)
            QuarvexRec.MRU[n] = QuarvexReg.ReadRegString(UsersKey + QuarvexRec.UserName + QStringLiteral("\\MRULIST"),
                                                         QStringLiteral("MRU%1").arg(n), QString());
    } catch (const RegistryError &error) {
        reportRegistryError(error);
    }
}

QStringList ReadDataPathList()
{
    QStringList folders;
    try {
        const QString key = UsersPathKey + QuarvexRec.UserName + QStringLiteral("\\MRUList");
        for (int n = 1; n <= 4; ++n) {
            const QString folder = QuarvexReg.ReadRegString(key, QStringLiteral("PATH%1").arg(n), QString());
            if (!folder.isEmpty())
                folders << nativePathOf(folder, QuarvexReg.winePrefix());
        }
    } catch (const RegistryError &error) {
        reportRegistryError(error);
    }
    return folders;
}
