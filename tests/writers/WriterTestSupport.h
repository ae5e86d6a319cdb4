#pragma once

#include "db/Dataset.h"
#include "platform/Progress.h"
#include "writers/Felv2Cell.h"

#include <QJsonArray>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>

// A dataset held in memory: the rows a writer reads, as a table would give them.
class MemoryDataset : public db::Dataset {
public:
    MemoryDataset(db::FieldList fields, QVector<QVector<QVariant>> rows = {}, int codePage = 1252);

    const db::FieldList &fields() const override { return m_fields; }
    int recordCount() const override { return m_rows.size(); }
    void first() override { m_position = 0; }
    void next() override;
    bool eof() const override { return m_position >= m_rows.size(); }
    QVariant value(int field) const override { return m_rows.at(m_position).at(field); }
    int codePage() const override { return m_codePage; }

    void setFields(const db::FieldList &fields) { m_fields = fields; }
    void appendRow(const QVector<QVariant> &row) { m_rows.append(row); }

    // Called with the new position after each move to the next record; may throw as a failing table does.
    std::function<void(int position)> onNext;

private:
    db::FieldList m_fields;
    QVector<QVector<QVariant>> m_rows;
    int m_codePage;
    int m_position = 0;
};

// Records what a run reports; cancels at the step that announces cancelAt written records.
class RecordingProgress : public Progress {
public:
    void begin(const QString &caption, const QString &status, int maximum) override;
    void step(int position, const QString &status) override;
    bool cancelled() const override { return m_cancelled; }
    void end(const QString &closingText) override;

    int cancelAt = -1;
    QString caption;
    int maximum = -1;
    QStringList statuses; // begin, each step, end
    int begun = 0;
    int ended = 0;

private:
    bool m_cancelled = false;
};

// The export table's fields and the example record of an export.
db::FieldList exportFields();
QVector<QVariant> exampleRecord();

// Sets a writer up as the export run does.
void configureAsProgram(TFelvanBaseComponent &writer, db::Dataset &dataSet, const QString &fileName);

QByteArray fileBytes(const QString &path);
// The rows of a file as read by python's xlrd or csv module.
QJsonArray readXls(const QString &path, const QString &encoding = QStringLiteral("cp1252"));
QJsonArray readCsv(const QString &path, const QString &encoding = QStringLiteral("cp1252"));
// One column's texts, title included, as the reader of the file's format (by its extension) sees them;
// numbers in their shortest form of up to 15 digits.
QStringList readTextColumn(const QString &path, int column, const QString &encoding = QStringLiteral("cp1252"));

// One of the two writers: made with the separator the export run gives it; its extension and file end.
struct WriterKind {
    const char *name;
    QString extension;
    QByteArray fileEnd; // the last bytes of every file it completes
    std::function<std::unique_ptr<TFelvanToCellFile>()> make;
};
const WriterKind &xlsWriter();
const WriterKind &csvWriter();
std::unique_ptr<TFelvanToCellFile> configuredWriter(const WriterKind &kind, db::Dataset &dataSet,
                                                    const QString &fileName);

// Readable texts in the failure messages of the tests.
inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}
