#pragma once

#include <QString>

namespace db {

// Table names resolve without regard to case inside their folder; a name without
// extension gets ".db". A name may carry a relative folder part ("System/Users.db").

// The existing table file, in whatever case it is spelled; empty when there is none.
QString findTableFile(const QString &folder, const QString &name);
// The path to create: the existing file's spelling when there is one.
QString tableFilePath(const QString &folder, const QString &name);
// Removes the table and its companion files (.px .mb .val .x?? .y?? and our index file), any case.
void deleteTableFiles(const QString &folder, const QString &name); // throws DbError
// The same without the table file itself: what a table replaced in place leaves behind.
void deleteCompanionFiles(const QString &folder, const QString &name); // throws DbError

// Our file of secondary index definitions beside a table file.
QString indexFilePath(const QString &tablePath);

} // namespace db
