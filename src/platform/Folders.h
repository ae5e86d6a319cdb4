#pragma once

#include <QString>

// The folder of the running program file, or TOCREWMINT_HOME when set; never
// ends in a separator.
QString programFolder();
// The file name of the running program file, without folder ("tocrewmint").
QString programFileName();
// The file name without its extension.
QString programBaseName();
// The system temporary folder: "Temp", "TEMP", "TMPDIR", then /tmp.
QString systemTempFolder();

// True when path names an existing folder.
bool FolderExists(const QString &path);
// Creates the folder with all missing parents; true when it exists afterwards.
bool MakeFolder(const QString &path);

// Removes one trailing separator ("/" or "\"), if present.
QString withoutTrailingSeparator(const QString &path);
