#include "export/ExportCSV.h"

#include "db/BatchMove.h"
#include "db/CodePage.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Table.h"
#include "db/TableFiles.h"
#include "env/DebugLog.h"
#include "env/QuarvexRec.h"
#include "export/Restructure.h"
#include "platform/Folders.h"
#include "platform/Ui.h"
#include "settings/Settings.h"
#include "writers/Felv2TXT.h"
#include "writers/Felv2XLS.h"

#include <QFile>

#include <algorithm>

namespace {

const int JobFieldLength = 40;

bool isForbiddenInFileName(QChar c)
{
    return c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c);
}

} // namespace

QString exportNameProblem(const QString &jobNumber, const QString &projectShort)
{
    if (jobNumber.trimmed().isEmpty())
        return QStringLiteral("Job number is empty; enter the job number the export files are named after.");
    for (const QChar c : jobNumber)
        if (isForbiddenInFileName(c))
            return QStringLiteral("Job number \"%1\" cannot name a file: it holds the character %2.")
                .arg(jobNumber, c.isPrint() ? QStringLiteral("\"%1\"").arg(c)
                                            : QStringLiteral("code %1").arg(c.unicode()));
    const bool plainFolderName = !projectShort.trimmed().isEmpty() && projectShort != QLatin1String(".") &&
                                 projectShort != QLatin1String("..") &&
                                 std::none_of(projectShort.begin(), projectShort.end(), isForbiddenInFileName);
    if (!plainFolderName)
        return QStringLiteral("Project short name \"%1\" is not a plain folder name; it cannot name the export files.")
            .arg(projectShort);
    return QString();
}

TExportRun::TExportRun(Progress *writerProgress) : m_writerProgress(writerProgress) {}

TExportRun::~TExportRun()
{
    try {
        removeExportTable();
    } catch (const db::DbError &e) {
        DebugLog(e.message());
    }
}

void TExportRun::setProgress(int position, int maximum)
{
    if (onProgress)
        onProgress(position, maximum);
}

bool TExportRun::exportTableExists() const
{
    return !AppRec.myTemp.isEmpty() && !db::findTableFile(AppRec.myTemp, tableName()).isEmpty();
}

void TExportRun::removeExportTable()
{
    if (exportTableExists())
        db::deleteTableFiles(AppRec.myTemp, tableName());
}

void TExportRun::buildList(GroupKind kind, int level, bool append)
{
    db::BatchMove move(QStringLiteral("BatchMove"));
    move.setDestination(AppRec.myTemp, tableName());
    move.setMode(append ? db::BatchMove::Mode::Append : db::BatchMove::Mode::Copy);
    db::Query query;
    try {
        const QStringList sql = groupingQuery(kind, level);
        if (!sql.isEmpty()) {
            query.setDatabaseName(QuarvexRec.ProjectPath);
            query.setSql(sql);
            query.setFiltered(true);
            query.setFilter(BuildPhaseFilter(AppRec.ExportList));
            query.open();
            move.setSource(&query);
        }
        move.execute();
    } catch (const db::DbError &e) {
        Ui::current().inform(e.message());
        ExportOk = false;
    }
}

void TExportRun::BuildTaskList()
{
    buildList(GroupKind::Tasks, AppRec.COLLAPSETASKS, false);
}

void TExportRun::BuildMaterialList()
{
    buildList(GroupKind::Materials, AppRec.COLLAPSEMATERIALS, exportTableExists());
}

// Two passes, one per field: the job number and the job description become alpha 40.
void TExportRun::restructureJobFields()
{
    TRestructure restruct;
    restruct.setDatabaseName(AppRec.myTemp);
    restruct.setTableName(tableName());
    restruct.setPackTable(true);
    const QStringList names = {QStringLiteral("JOB"), QStringLiteral("JOB_DESC")};
    for (int position = 1; position <= names.size(); ++position) {
        restruct.Field().FieldType = pxAlpha;
        restruct.Field().Name = names.at(position - 1);
        restruct.Field().Length = JobFieldLength;
        restruct.ModifyField(position, false);
        restruct.DoRestructure();
    }
}

void TExportRun::fillRows(const QString &jobNumber)
{
    db::Table table;
    table.setDatabaseName(AppRec.myTemp);
    table.setTableName(tableName());
    table.open();
    const int count = table.recordCount();
    setProgress(0, count);
    table.first();
    for (int i = 1; i <= count; ++i) {
        setProgress(i, count);
        table.edit();
        table.setValue(QStringLiteral("JOB"), jobNumber.left(JobFieldLength));
        table.setValue(QStringLiteral("JOB_DESC"), QuarvexRec.ProjectName.left(JobFieldLength));
        if (table.value(QStringLiteral("CODE")).toString().isEmpty())
            table.setValue(QStringLiteral("CODE"), table.value(QStringLiteral("codeName")).toString());
        table.post();
        table.next();
    }
}

void TExportRun::prepareInbox()
{
    if (AppRec.Inbox == QLatin1String("~"))
        AppRec.Inbox = AppRec.ProgramFolder + QStringLiteral("/CrewmintInbox");
    if (!FolderExists(AppRec.Inbox) && !MakeFolder(AppRec.Inbox))
        throw db::DbError(QStringLiteral("Cannot create the inbox folder %1").arg(AppRec.Inbox));
}

// The spreadsheet, then the text file. A writer that fails or is cancelled
// ends the export, and the files of this run are taken out of the inbox so
// that no partial export is imported.
bool TExportRun::writeFiles(const QString &baseName)
{
    db::Table table;
    table.setDatabaseName(AppRec.myTemp);
    table.setTableName(tableName());
    table.open(db::Table::Access::ReadOnly);
    m_codePage = table.codePage();
    TFelvanToXLS xls;
    TFelvanToText text;
    text.setSeparator(QLatin1Char(','));
    text.setRecordSeparator(QStringLiteral("\r\n"));
    const QVector<QPair<TFelvanToCellFile *, QString>> writers = {{&xls, baseName + QStringLiteral(".xls")},
                                                                  {&text, baseName + QStringLiteral(".csv")}};
    for (const auto &[writer, fileName] : writers) {
        useExportSettings(*writer);
        writer->setDataSet(&table);
        writer->setProgress(m_writerProgress);
        writer->setFileName(fileName);
        const RunStatus status = writer->Execute();
        if (status != RunStatus::Failed && QFile::exists(fileName))
            m_written << fileName;
        if (status != RunStatus::Done) {
            DebugLog(QStringLiteral("Export writer ended without success: ") + writer->closingText());
            ExportOk = false;
            removeWrittenFiles();
            return false;
        }
    }
    XlsFileName = writers.at(0).second;
    CsvFileName = writers.at(1).second;
    return true;
}

void TExportRun::removeWrittenFiles()
{
    for (const QString &fileName : qAsConst(m_written))
        if (!QFile::remove(fileName))
            DebugLog(QStringLiteral("Cannot remove the partial export file ") + fileName);
    m_written.clear();
    XlsFileName.clear();
    CsvFileName.clear();
}

bool TExportRun::readBackCsv()
{
    QFile file(CsvFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Ui::current().inform(
            QStringLiteral("Cannot read the export file %1 back: %2").arg(CsvFileName, file.errorString()));
        ExportOk = false;
        removeWrittenFiles();
        return false;
    }
    QString text = db::decodeText(file.readAll(), m_codePage);
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    if (!text.isEmpty())
        Memo << text.split(QStringLiteral("\r\n"));
    return true;
}

void TExportRun::addSummary()
{
    Memo << QString() << QStringLiteral("\tTasks grouped by\t\t") + groupingWord(GroupKind::Tasks, AppRec.COLLAPSETASKS)
         << QStringLiteral("\tMaterials grouped by\t") + groupingWord(GroupKind::Materials, AppRec.COLLAPSEMATERIALS)
         << QString() << QStringLiteral("** Export sent to:") << CsvFileName;
}

void TExportRun::abort(const QString &message)
{
    Ui::current().inform(message);
    ExportOk = false;
}

void TExportRun::Run()
{
    ExportOk = true;
    Memo.clear();
    m_written.clear();
    XlsFileName.clear();
    CsvFileName.clear();
    setProgress(0, 0);
    Caption = QStringLiteral("Exporting - ") + QuarvexRec.ProjectName;
    const QString jobNumber = AppRec.JOBNUMBER;
    QString startProblem = exportNameProblem(jobNumber, QuarvexRec.ProjectShort);
    if (startProblem.isEmpty()) {
        try {
            removeExportTable();
        } catch (const db::DbError &e) {
            startProblem = e.message();
        }
    }
    if (!startProblem.isEmpty()) {
        abort(startProblem);
        Memo << QStringLiteral("** Export Aborted");
        return;
    }
    if (AppRec.showActivity)
        BuildTaskList();
    if (AppRec.showMaterial)
        BuildMaterialList();
    if (!exportTableExists()) {
        Memo << QStringLiteral("No export file found.");
        return;
    }
    try {
        restructureJobFields();
        fillRows(jobNumber);
        prepareInbox();
        if (ExportOk)
            writeFiles(AppRec.Inbox + QLatin1Char('/') + QuarvexRec.ProjectShort + QLatin1Char('_') + jobNumber);
    } catch (const db::DbError &e) {
        abort(e.message());
    }
    if (ExportOk && readBackCsv())
        addSummary();
    else
        Memo << QStringLiteral("** Export Aborted");
}
