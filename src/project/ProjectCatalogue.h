#pragma once

#include "db/FieldType.h"

#include <QString>
#include <QStringList>

namespace db {
class Query;
}

// The quarvex project catalogue ("Projname" in DataPath/System) and the
// look-ups by title that the program makes without showing the open dialog.

// The open dialog's hand-back record.
struct TOpenRec {
    bool Found = false;
    QString ProjectPath; // DataPath + "/Projects/" + ShortName
    QString ShortName;
    QString LongName;
};

void ClearOpenRec(TOpenRec &rec);

// "Select * from Projname where not(Projname.reservedlibrary =1)"
QStringList catalogueSql();

// The columns the catalogue must have, with their types.
db::FieldList catalogueFields();

// Points the query at the catalogue of dataPath with its fixed field list (not opened).
void prepareCatalogue(db::Query &query, const QString &dataPath);

// Fills rec from the query's current row when that project's folder exists; empties it otherwise.
void GetProjectData(const db::Query &query, const QString &dataPath, TOpenRec &rec);

// Looks the title up (case ignored) in the catalogue of QuarvexRec.DataPath and
// fills rec. A failure is shown and logged; rec then keeps its content.
void GetProject(const QString &title, TOpenRec &rec);

// True when the catalogue of QuarvexRec.DataPath holds the title (case ignored).
// A failure is shown and logged and gives false.
bool IsProjectHere(const QString &title);
