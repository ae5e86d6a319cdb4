#include "cli/CliProject.h"

#include "db/DbError.h"
#include "env/QuarvexRec.h"
#include "platform/Folders.h"
#include "project/ProjectCatalogue.h"
#include "settings/Settings.h"

void startCliSettings(const QString &dataFolder)
{
    SetStartupValues();
    if (!dataFolder.isEmpty())
        QuarvexRec.DataPath = withoutTrailingSeparator(dataFolder);
}

bool openProjectByTitle(const QString &title, QTextStream &err)
{
    TOpenRec rec;
    GetProject(title, rec);
    if (!rec.Found) {
        err << "Project not found: \"" << title << "\" in " << QuarvexRec.DataPath << "/System (or its folder is missing)"
            << Qt::endl;
        return false;
    }
    QuarvexRec.ProjectName = rec.LongName;
    QuarvexRec.ProjectPath = rec.ProjectPath;
    QuarvexRec.ProjectShort = rec.ShortName;
    QuarvexRec.ProjectOpen = true;
    ReadProjectSettings(rec.ShortName);
    return true;
}

int openProjectPhases(const QString &title, QVector<PhaseEntry> &phases, QTextStream &err)
{
    if (!openProjectByTitle(title, err))
        return ExitNotFound;
    try {
        FillPhaseEntries(QuarvexRec.ProjectPath, QStringLiteral("Link_Phs"), phases);
    } catch (const db::DbError &e) {
        err << e.message().simplified() << Qt::endl;
        return ExitFailed;
    }
    MarkDonePhases(phases, AppRec.MRU_PHASE);
    return ExitOk;
}
