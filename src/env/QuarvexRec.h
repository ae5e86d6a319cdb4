#pragma once

#include <QString>
#include <QStringList>

#include <array>

// quarvex's label captions. Arrays are indexed from 1 like the captions'
// value names; element 0 is unused.
struct TLabelRec {
    std::array<QString, 5> Alteration;
    std::array<QString, 5> BidResult;
    std::array<QString, 5> Contact;
    std::array<QString, 7> General;
    std::array<QString, 5> Location;
    std::array<QString, 9> Mile;
    QString Markup1;
    QString Markup2;
    QString Material1;
    QString Material2;
    QString Labor1;
    QString Labor2;
};

// The current context: quarvex's data folder, the user, the recent projects,
// the open project and the labels.
struct TQuarvexRec {
    QString DataPath;
    QString UserName;
    QString FullName;
    QString UserTitle;
    QString Mobile;
    QString Email;
    QString SystemName;
    std::array<QString, 6> MRU; // 1..5, 1 the most recent; element 0 unused
    QString ProjectName;
    QString ProjectPath;
    QString ProjectShort;
    bool ProjectOpen = false;
    TLabelRec Labels;
};

extern TQuarvexRec QuarvexRec;

// Registry keys under LOCAL_MACHINE.
extern const QString QuarvexSystemKey; // "SOFTWARE\Zentrova Software Corp.\quarvex\2.0\SYSTEM"
extern const QString QuarvexLabelsKey; // "SOFTWARE\Zentrova Software Corp.\quarvex\2.0\Labels"

// Every field takes its reset value; ProjectShort stays.
void ResetQuarvexRec();
// DataPath and UserName from the SYSTEM key, with the data-folder fallback to
// the program folder or its parent, then LoadLabels. Throws RegistryError when
// a value is not text (the fields after it keep their values).
void LoadQuarvexSettings();
// Reads the 36 captions with their defaults; Material2 and Labor2 get "1"
// appended when equal to Material1 and Labor1.
void LoadLabels();
// MRU[1..5] of the current UserName. A value that is not text is shown and
// logged, and ends the reading.
void FillMRU();
// The user's data folders PATH1..PATH4 in that order, missing and empty ones
// left out; Windows paths are mapped through the registry's Wine prefix. A
// value that is not text is shown and logged, and ends the reading.
QStringList ReadDataPathList();
