#pragma once

#include <QString>

// Points the default session's network control folder at QuarvexRec.DataPath.
// Failures are shown and logged, never thrown.
void SetNetFileDir();
// Points the default session's private folder at folder when this is the
// only running copy of the program (see CountInstances in DebugLog.h).
void SetPrivateDir(const QString &folder);
