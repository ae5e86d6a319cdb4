#include "project/ProjectCatalogue.h"

#include "db/DbError.h"
#include "db/Query.h"
#include "env/DebugLog.h"
#include "env/QuarvexRec.h"
#include "platform/Folders.h"
#include "platform/Ui.h"

namespace {

QString catalogueFolder(const QString &dataPath) { return dataPath + QStringLiteral("/System"); }

void report(const QString &text)
{
    Ui::current().inform(text);
    DebugLog(text);
}

// Opens the catalogue and moves to the title; false when it is not there.
bool locateTitle(db::Query &query, const QString &title)
{
    prepareCatalogue(query, QuarvexRec.DataPath);
    query.open();
    return query.locate(QStringLiteral("LongName"), title, Qt::CaseInsensitive);
}

} // namespace

void ClearOpenRec(TOpenRec &rec) { rec = TOpenRec(); }

QStringList catalogueSql() { return {QStringLiteral("Select * from Projname where not(Projname.reservedlibrary =1)")}; }

db::FieldList catalogueFields()
{
    using db::FieldType;
    return {{QStringLiteral("LongName"), FieldType::Alpha, 40},
            {QStringLiteral("ShortName"), FieldType::Alpha, 40},
            {QStringLiteral("Modified"), FieldType::Timestamp, 8},
            {QStringLiteral("Password"), FieldType::Alpha, 10},
            {QStringLiteral("ReservedLibrary"), FieldType::Short, 2}};
}

void prepareCatalogue(db::Query &query, const QString &dataPath)
{
    query.close();
    query.setDatabaseName(catalogueFolder(dataPath));
    query.setSql(catalogueSql());
    query.requireFields(catalogueFields());
}

void GetProjectData(const db::Query &query, const QString &dataPath, TOpenRec &rec)
{
    ClearOpenRec(rec);
    if (!query.isOpen() || query.eof())
        return;
    const QString shortName = query.value(QStringLiteral("ShortName")).toString();
    const QString folder = dataPath + QStringLiteral("/Projects/") + shortName;
    if (shortName.isEmpty() || !FolderExists(folder))
        return;
    rec.Found = true;
    rec.ProjectPath = folder;
    rec.ShortName = shortName;
    rec.LongName = query.value(QStringLiteral("LongName")).toString();
}

void GetProject(const QString &title, TOpenRec &rec)
{
    db::Query query;
    try {
        if (locateTitle(query, title))
            GetProjectData(query, QuarvexRec.DataPath, rec);
        else
            ClearOpenRec(rec);
        query.close();
    } catch (const db::DbError &e) {
        report(QStringLiteral("Error - GetProject ") + title + QStringLiteral("\r\n") + query.databaseName() +
               QStringLiteral("\r\n") + e.message());
    }
}

bool IsProjectHere(const QString &title)
{
    db::Query query;
    try {
        const bool found = locateTitle(query, title);
        query.close();
        return found;
    } catch (const db::DbError &e) {
        report(QStringLiteral("Error - IsProjectHere ") + title + QStringLiteral("\r\n") + query.databaseName() +
               QStringLiteral("\r\n") + e.message());
        return false;
    }
}
