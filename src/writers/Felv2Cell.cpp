#include "writers/Felv2Cell.h"

#include "platform/Ui.h"

#include <QDir>

#include <unistd.h>

RunStatus TFelvanBaseComponent::Execute() {
    m_status = RunStatus::Running;
    m_errorText.clear();
    bool begun = false;
    try {
        BeginExport();
        begun = true;
        RunExport();
    } catch (const std::exception &e) {
        reportError(QString::fromStdString(e.what()), begun);
    }
    EndExport();
    return m_status;
}

QString TFelvanBaseComponent::closingText() const {
    switch (m_status) {
    case RunStatus::Done:
        return Message(2, m_fileName);
    case RunStatus::Cancelled:
        return Message(16);
    case RunStatus::Failed:
        return Message(3) + QStringLiteral(": ") + m_errorText;
    case RunStatus::Running:
        break;
    }
    return QString();
}

std::unique_ptr<TFelvCustomDataEngine> TFelvanBaseComponent::CreateDataEngine() {
    if (!m_dataSet)
        throw WriterError(Message(0, QStringLiteral("Dataset")));
    return std::make_unique<TFelvDatasetDataEngine>(*m_dataSet);
}

void TFelvanBaseComponent::BeginExport() {
    m_engine = CreateDataEngine();
    if (m_fileName.isEmpty())
        throw WriterError(Message(0, QStringLiteral("FileName")));
    m_recordCount = qMax(0, m_engine->RecordCount());
    applyDataFormats();
    progress().begin(KeyGenerator(), Message(8), m_recordCount);
    m_progressShown = true;
    if (m_columns.isEmpty()) {
        m_engine->FillColumns(m_columns);
        m_columnsFilled = true;
    }
    findVisibleColumns();
}

void TFelvanBaseComponent::EndExport() {
    if (m_columnsFilled)
        m_columns.clear();
    m_columnsFilled = false;
    if (m_status == RunStatus::Running)
        m_status = progress().cancelled() ? RunStatus::Cancelled : RunStatus::Done;
    if (m_progressShown)
        progress().end(closingText() + QStringLiteral(" (%1/%1)").arg(m_recordCount));
    m_progressShown = false;
    if (Options().testFlag(soShowMessage) && !AnimatedStatus() && m_status != RunStatus::Failed)
        Ui::current().inform(closingText());
    restoreFormatSettings();
    m_engine.reset();
}

Progress &TFelvanBaseComponent::progress() const {
    if (AnimatedStatus() && m_progress)
        return *m_progress;
    return m_noProgress;
}

void TFelvanBaseComponent::findVisibleColumns() {
    m_visible.clear();
    m_visibleFields.clear();
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_columns[i].Visible)
            continue;
        const int field = m_engine->FindField(m_columns[i]);
        if (field < 0)
            throw WriterError(QStringLiteral("The data has no field \"%1\".").arg(m_columns[i].FieldName));
        m_visible.append(i);
        m_visibleFields.append(field);
    }
}

// Errors of the file and its rows are shown as they are; errors before the
// file is begun (and every error of a run without progress) as an export error.
void TFelvanBaseComponent::reportError(const QString &text, bool inRowLoop) {
    m_status = RunStatus::Failed;
    m_errorText = text;
    if (inRowLoop && AnimatedStatus())
        Ui::current().error(text);
    else if (Options().testFlag(soShowMessage))
        Ui::current().inform(closingText());
}

void TFelvanToCellFile::RunExport() {
    m_codePageText = std::make_unique<db::CodePageText>(engine().CodePage());
    const int titleRows = AddTitle() && HasTitleRow() ? 1 : 0;
    engine().First();
    try {
        StartFile(FileName(), titleRows);
        // A cancel noticed while a record is announced takes effect after that record.
        for (int written = 0; !progress().cancelled() && !engine().Eof(); ++written) {
            progress().step(written, Message(8) + QStringLiteral(" (%1/%2)").arg(written).arg(recordCount()));
            writeDataRow(titleRows + written);
            EndRow();
            engine().Next();
        }
        CloseFile();
    } catch (...) {
        abandonFile();
        throw;
    }
}

void TFelvanToCellFile::OpenFile(const QString &name) {
    m_file = std::make_unique<QSaveFile>(name);
    if (!m_file->open(QIODevice::WriteOnly))
        throw WriterError(fileErrorText(QStringLiteral("create")));
}

void TFelvanToCellFile::WriteText(const QByteArray &bytes) {
    if (m_file->write(bytes) != bytes.size())
        throw WriterError(fileErrorText(QStringLiteral("write")));
}

void TFelvanToCellFile::BeginFile() {
    m_endedRows = 0;
    m_flushedRows.clear();
}

void TFelvanToCellFile::EndRow() {
    if (++m_endedRows % FlushInterval == 0)
        flushToDisk();
}

void TFelvanToCellFile::StartFile(const QString &name, int titleRows) {
    OpenFile(name);
    BeginFile();
    WriteDimensions(titleRows + recordCount(), visibleColumnCount() + 1);
    for (int c = 0; c < visibleColumnCount(); ++c)
        WriteColumnWidth(c, visibleColumn(c).Width);
    if (titleRows > 0)
        writeTitleRow();
}

void TFelvanToCellFile::CloseFile() {
    if (!m_file)
        return;
    EndFile();
    if (!m_file->commit())
        throw WriterError(fileErrorText(QStringLiteral("write")));
    m_file.reset();
}

QByteArray TFelvanToCellFile::encoded(const QString &text) {
    return m_codePageText->encode(text);
}

void TFelvanToCellFile::writeTitleRow() {
    for (int c = 0; c < visibleColumnCount(); ++c) {
        const TFelvColumnTitle &title = visibleColumn(c).Title;
        WriteCell(ctText, 0, c, title.Caption, title.Alignment, title.Font);
    }
    EndRow();
}

void TFelvanToCellFile::writeDataRow(int row) {
    for (int c = 0; c < visibleColumnCount(); ++c) {
        const TFelvColumn &column = visibleColumn(c);
        const db::FieldDef &field = engine().Field(visibleField(c));
        const QString text = GetFieldText(field, engine().GetValue(visibleField(c)));
        WriteCell(cellTypeOf(field.type), row, c, text, column.Alignment, column.Font);
    }
}

void TFelvanToCellFile::flushToDisk() {
    if (!m_file->flush() || ::fsync(m_file->handle()) != 0)
        throw WriterError(fileErrorText(QStringLiteral("write")));
    m_flushedRows.append(m_endedRows);
}

void TFelvanToCellFile::abandonFile() {
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

QString TFelvanToCellFile::fileErrorText(const QString &action) const {
    return QStringLiteral("Cannot %1 file \"%2\". %3")
        .arg(action, QDir::toNativeSeparators(m_file->fileName()), m_file->errorString());
}
