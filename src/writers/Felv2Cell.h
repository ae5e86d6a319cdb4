#pragma once

#include "db/CodePage.h"
#include "platform/Progress.h"
#include "writers/ExportDS.h"
#include "writers/FelvEngDB.h"

#include <QSaveFile>

#include <memory>

enum class RunStatus { Running, Done, Cancelled, Failed };

// The export sequence: data source, file name, columns, progress and the outcome of a run.
class TFelvanBaseComponent : public TFelvCustomBaseComponent {
public:
    db::Dataset *DataSet() const { return m_dataSet; }
    void setDataSet(db::Dataset *dataSet) { m_dataSet = dataSet; }
    const QString &FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    // Empty columns are filled from the dataset for each run and removed again after it.
    const TFelvColumns &Columns() const { return m_columns; }
    void setColumns(const TFelvColumns &columns) { m_columns = columns; }
    // Shown while AnimatedStatus is on; not owned. Without one the run shows nothing.
    void setProgress(Progress *progress) { m_progress = progress; }

    // Writes the dataset into FileName, reports errors itself and returns the outcome.
    RunStatus Execute();
    RunStatus status() const { return m_status; }
    const QString &errorText() const { return m_errorText; }
    // The text a run ends with: done, cancelled or the error.
    QString closingText() const;

protected:
    virtual std::unique_ptr<TFelvCustomDataEngine> CreateDataEngine();
    virtual void BeginExport();
    virtual void EndExport();

    TFelvCustomDataEngine &engine() const { return *m_engine; }
    Progress &progress() const;
    int recordCount() const { return m_recordCount; }
    int visibleColumnCount() const { return m_visible.size(); }
    const TFelvColumn &visibleColumn(int column) const { return m_columns.at(m_visible.at(column)); }
    int visibleField(int column) const { return m_visibleFields.at(column); }

private:
    void findVisibleColumns();
    void reportError(const QString &text, bool inRowLoop);

    db::Dataset *m_dataSet = nullptr;
    QString m_fileName;
    TFelvColumns m_columns;
    Progress *m_progress = nullptr;
    mutable NullProgress m_noProgress;
    std::unique_ptr<TFelvCustomDataEngine> m_engine;
    RunStatus m_status = RunStatus::Done;
    QString m_errorText;
    int m_recordCount = 0;
    bool m_columnsFilled = false;
    bool m_progressShown = false;
    QVector<int> m_visible;
    QVector<int> m_visibleFields;
};

// Writes the dataset as a file of rows and cells: title row, one row per record.
// The file is written under a temporary name and put in place when the run ends;
// a failed run removes it, a cancelled one keeps the rows written so far.
class TFelvanToCellFile : public TFelvanBaseComponent {
public:
    // The ended-row counts at which the last run flushed its file to disk.
    const QVector<int> &flushedRows() const { return m_flushedRows; }

protected:
    static constexpr int FlushInterval = 1025;

    virtual bool HasTitleRow() const { return true; }
    void RunExport() override;
    void OpenFile(const QString &name);
    void WriteText(const QByteArray &bytes);
    virtual void BeginFile();
    virtual void EndFile() {}
    virtual void WriteDimensions(int /*rows*/, int /*columns*/) {}
    virtual void WriteColumnWidth(int /*column*/, int /*width*/) {}
    virtual void EndRow();
    virtual void WriteCell(TFelvCellType cellType, int row, int column, const QString &text, TAlignment alignment,
                           const TFelvFont &font) = 0;
    void StartFile(const QString &name, int titleRows);
    void CloseFile();

    // The text in the code page of the data source.
    QByteArray encoded(const QString &text);

private:
    void writeTitleRow();
    void writeDataRow(int row);
    void flushToDisk();
    void abandonFile();
    QString fileErrorText(const QString &action) const;

    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<db::CodePageText> m_codePageText;
    int m_endedRows = 0;
    QVector<int> m_flushedRows;
};
