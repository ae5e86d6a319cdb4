#pragma once

#include "export/ExportQueries.h"

#include <QString>
#include <QStringList>
#include <functional>

class Progress;

// One export run: the grouped task and material rows of the phases in
// ExportList go into tmpCrew.db in the scratch folder, get their job number,
// job description and code, and are written into the inbox as
// <short>_<job>.xls and .csv. The export dialog shows it; the command line
// runs it without a window. Messages go through the Ui seam.
class TExportRun {
public:
    // writerProgress is shown by the two writers while they write; not owned.
    explicit TExportRun(Progress *writerProgress = nullptr);
    ~TExportRun(); // removes tmpCrew.db
    TExportRun(const TExportRun &) = delete;
    TExportRun &operator=(const TExportRun &) = delete;

    // The run, reading the settings store and the open project.
    void Run();

    void BuildTaskList();
    void BuildMaterialList();
    void removeExportTable();

    // Set true at the start of a run, false by every failure.
    bool ExportOk = true;
    QString Caption = QStringLiteral("Exporting -");
    QStringList Memo;
    // The two files of the last successful run.
    QString XlsFileName;
    QString CsvFileName;
    // The dialog's progress bar: position and maximum.
    std::function<void(int position, int maximum)> onProgress;

    static QString tableName() { return QStringLiteral("tmpCrew.db"); }

private:
    void buildList(GroupKind kind, int level, bool append);
    bool exportTableExists() const;
    void restructureJobFields();
    void fillRows(const QString &jobNumber);
    void prepareInbox();
    bool writeFiles(const QString &baseName);
    bool readBackCsv();
    void addSummary();
    void abort(const QString &message);
    void removeWrittenFiles();
    void setProgress(int position, int maximum);

    Progress *m_writerProgress;
    int m_codePage = 1252;
    QStringList m_written;
};

// Why a job number or a project short name cannot name the export files; empty when they can.
QString exportNameProblem(const QString &jobNumber, const QString &projectShort);
