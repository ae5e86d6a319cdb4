#pragma once

#include <QString>
#include <QTextStream>

// The "sql" subcommand: runs one local SQL statement on the tables of a folder
// and prints the rows as UTF-8 CSV with a title row. Returns 0, or 3 after one
// line on err when the statement, a table or the filter fails.
int runSqlCommand(const QString &folder, const QString &statement, const QString &filter, QTextStream &out,
                  QTextStream &err);
