#include "cli/CliProject.h"

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
