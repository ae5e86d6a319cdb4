#pragma once

#include <QString>
#include <QStringList>

// The program's settings store; the user-editable part lives in ToCrewmint.INI
// in the program folder.
struct TAppRec {
    QString ProgramFolder; // folder of the program file (or TOCREWMINT_HOME)
    QString SystemTemp;    // the system temporary folder
    QString myTemp;        // SystemTemp + "/" + program base name: scratch folder, emptied at exit
    QString PrivRoot;      // ProgramFolder + "/Priv"
    QString myPriv;        // PrivRoot + "/" + program base name: the session's private folder
    QString Inbox;
    int COLLAPSETASKS = 2;     // 0 library, 1 category, 2 activity
    int COLLAPSEMATERIALS = 2; // 0 library, 1 category, 2 material
    bool showHeader = true;
    bool showActivity = true;
    bool showMaterial = false;
    bool INCMILELOG = false;
    bool INCREFLOG = false;
    int MILEINDEX = 0; // 0..7 for M1..M8
    QString JOBNUMBER;
    QStringList MRU_PHASE;  // ids of the current project's done phases
    QStringList ExportList; // ids of the ticked phases; never stored
};

extern TAppRec AppRec;

// ProgramFolder + "/ToCrewmint.INI".
QString settingsFilePath();

// Folders, defaults, reset of the context record, then ReadSettings.
void SetStartupValues();
// Reads the global keys (and quarvex's registry values) into the store.
void ReadSettings();
// Writes the global keys and, with a project open, its section. A failed
// write is shown and logged ("Unable to write to <file>") and gives false;
// the values in memory stay.
bool WriteSettings();
// WriteSettings, then empties MRU_PHASE and ExportList.
bool CloseSettings();
// The job number (trimmed; empty gives projectShort) and MRU_PHASE of the
// project's section.
void ReadProjectSettings(const QString &projectShort);

// Captions of the grouping values: "Library", "Category", "Activity" /
// "Material", any other value "NA".
QString collapseTasksText(int value);
QString collapseMaterialsText(int value);
