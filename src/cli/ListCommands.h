#pragma once

#include <QString>
#include <QTextStream>

// "projects": title, folder and last change of every catalogue entry, tab-separated.
int runProjectsCommand(QTextStream &out, QTextStream &err);

// "phases TITLE": id, name, description, line count and done (yes/no) of every
// phase of the project that has line items, tab-separated.
int runPhasesCommand(const QString &title, QTextStream &out, QTextStream &err);
