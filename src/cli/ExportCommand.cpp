#include "cli/ExportCommand.h"

#include "cli/CliProject.h"
#include "db/DbError.h"
#include "env/QuarvexRec.h"
#include "export/ExportCSV.h"
#include "export/ExportLogging.h"
#include "phases/PhaseChecklist.h"
#include "settings/Settings.h"

#include <QDir>

namespace {

void applyOptions(const ExportOptions &options)
{
    if (options.inbox)
        AppRec.Inbox = QDir::cleanPath(QDir::current().absoluteFilePath(*options.inbox));
    AppRec.COLLAPSETASKS = options.tasksBy.value_or(AppRec.COLLAPSETASKS);
    AppRec.COLLAPSEMATERIALS = options.materialsBy.value_or(AppRec.COLLAPSEMATERIALS);
    AppRec.showActivity = options.tasks.value_or(AppRec.showActivity);
    AppRec.showMaterial = options.materials.value_or(AppRec.showMaterial);
    AppRec.INCMILELOG = options.stampMilestone.has_value();
    AppRec.MILEINDEX = options.stampMilestone.value_or(1) - 1;
    AppRec.INCREFLOG = options.stampReference;
}

// Ticks the phases asked for; false with one line on err for an unknown id.
bool tickPhases(const ExportOptions &options, QVector<PhaseEntry> &phases, QTextStream &err)
{
    for (PhaseEntry &phase : phases)
        if (options.pending && phase.state == PhaseState::White)
            phase.state = PhaseState::Ticked;
    for (const QString &id : options.phases) {
        auto found = std::find_if(phases.begin(), phases.end(),
                                  [&](const PhaseEntry &phase) { return QString::number(phase.id) == id; });
        if (found == phases.end()) {
            err << "Phase " << id << " not found in project \"" << QuarvexRec.ProjectName
                << "\" (only phases with line items can be exported)" << Qt::endl;
            return false;
        }
        found->state = PhaseState::Ticked;
    }
    return true;
}

bool stampExportedPhases(QTextStream &err)
{
    bool stamped = true;
    for (const QString &id : qAsConst(AppRec.ExportList))
        stamped = DoLogging(id.toUInt()) && stamped;
    if (!stamped)
        err << "Stamping the exported line items failed for at least one phase" << Qt::endl;
    return stamped;
}

// Sets exported once the files are in the inbox.
int exportPhases(QVector<PhaseEntry> &phases, bool &exported, QTextStream &out, QTextStream &err)
{
    if (!AppRec.showActivity && !AppRec.showMaterial) {
        err << "Both Activities and Materials have been disabled" << Qt::endl;
        return ExitFailed;
    }
    AppRec.ExportList = RebuildExportList(phases);
    if (AppRec.ExportList.isEmpty()) {
        err << "No pending phases in project \"" << QuarvexRec.ProjectName << "\"; nothing exported" << Qt::endl;
        return ExitOk;
    }
    TExportRun run;
    run.Run();
    if (!run.ExportOk || run.CsvFileName.isEmpty()) {
        err << "Export of \"" << QuarvexRec.ProjectName << "\" failed: " << run.Memo.value(run.Memo.size() - 1)
            << Qt::endl;
        return ExitFailed;
    }
    exported = true;
    AppRec.MRU_PHASE = MarkExportedPhases(phases);
    out << run.XlsFileName << '\n' << run.CsvFileName << '\n';
    out.flush();
    return stampExportedPhases(err) ? ExitOk : ExitFailed;
}

} // namespace

int runExportCommand(const ExportOptions &options, QTextStream &out, QTextStream &err)
{
    QVector<PhaseEntry> phases;
    if (const int opened = openProjectPhases(options.title, phases, err); opened != ExitOk)
        return opened;
    if (!tickPhases(options, phases, err))
        return ExitNotFound;
    // The options hold for this run only; what the export records is kept.
    const TAppRec stored = AppRec;
    AppRec.JOBNUMBER = options.job.value_or(AppRec.JOBNUMBER);
    applyOptions(options);
    bool exported = false;
    const int result = exportPhases(phases, exported, out, err);
    const TAppRec afterRun = AppRec;
    AppRec = stored;
    AppRec.JOBNUMBER = afterRun.JOBNUMBER;
    AppRec.MRU_PHASE = afterRun.MRU_PHASE;
    if (!options.inbox)
        AppRec.Inbox = afterRun.Inbox; // "~" is stored as the folder it became, as the window does
    if (exported && !WriteSettings()) {
        err << "The exported phases could not be recorded in " << settingsFilePath() << Qt::endl;
        return ExitFailed;
    }
    return result;
}
