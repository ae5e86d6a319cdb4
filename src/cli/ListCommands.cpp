#include "cli/ListCommands.h"

#include "cli/CliProject.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "env/QuarvexRec.h"
#include "phases/PhaseChecklist.h"
#include "project/ProjectCatalogue.h"
#include "settings/Settings.h"

#include <QDateTime>

int runProjectsCommand(QTextStream &out, QTextStream &err)
{
    db::Query catalogue;
    try {
        prepareCatalogue(catalogue, QuarvexRec.DataPath);
        catalogue.open();
        for (catalogue.first(); !catalogue.eof(); catalogue.next()) {
            const QDateTime modified = catalogue.value(QStringLiteral("Modified")).toDateTime();
            out << catalogue.value(QStringLiteral("LongName")).toString() << '\t'
                << catalogue.value(QStringLiteral("ShortName")).toString() << '\t'
                << (modified.isValid() ? modified.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString())
                << '\n';
        }
    } catch (const db::DbError &e) {
        err << e.message().simplified() << Qt::endl;
        return ExitFailed;
    }
    return ExitOk;
}

int runPhasesCommand(const QString &title, QTextStream &out, QTextStream &err)
{
    QVector<PhaseEntry> phases;
    if (const int opened = openProjectPhases(title, phases, err); opened != ExitOk)
        return opened;
    for (const PhaseEntry &phase : phases)
        out << phase.id << '\t' << phase.name << '\t' << phase.description << '\t' << phase.lineCount << '\t'
            << (phase.state == PhaseState::Grey ? "yes" : "no") << '\n';
    return ExitOk;
}
