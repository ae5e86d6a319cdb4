#pragma once

#include "phases/PhaseChecklist.h"

#include <QString>
#include <QTextStream>

// What the subcommands share: exit codes, the start-up of the settings and
// the opening of a project by its title.

enum CliExit { ExitOk = 0, ExitUsage = 1, ExitNotFound = 2, ExitFailed = 3 };

// Folders, settings and quarvex's registry values as the window reads them at
// start; a non-empty dataFolder replaces quarvex's data folder.
void startCliSettings(const QString &dataFolder);

// Looks the title up as the window does (case ignored, its folder must exist)
// and makes it the open project with its job number and done phases. False,
// with one line on err, when there is no such project.
bool openProjectByTitle(const QString &title, QTextStream &err);

// Opens the project and reads its phases with their done state. ExitOk, or
// ExitNotFound / ExitFailed after one line on err.
int openProjectPhases(const QString &title, QVector<PhaseEntry> &phases, QTextStream &err);
