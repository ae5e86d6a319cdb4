#pragma once

#include <QString>

// The diagnostic log DEBUG.LOG in the program folder: one entry per call,
// "<date time> [<main thread id>]  <message>", CR LF line ends, UTF-8, at most
// 500 entries. A failed write switches the log off for the rest of the run.

// Process-wide switch; true after a failed write.
extern bool DebugLogOff;

// The path of the log file.
QString debugLogPath();

// Appends one entry. Never fails, never shows anything.
void DebugLog(const QString &msg);
// Logs fileName (relative to the program folder) and then its whole text as
// one entry, when the file exists; read failures are ignored.
void DebugLogFile(const QString &fileName);
// Deletes the plain files matched by mask (folder + "/" + pattern, "*.*" for
// all); folders, hidden and special files stay; failures are skipped.
void FlushFolder(const QString &mask);
// "Yes" or "No".
QString YesNo(bool value);
// How many running processes have this program's file name (itself included).
int CountInstances();
