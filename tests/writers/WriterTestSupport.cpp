#include "WriterTestSupport.h"

#include "writers/Felv2TXT.h"
#include "writers/Felv2XLS.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

MemoryDataset::MemoryDataset(db::FieldList fields, QVector<QVector<QVariant>> rows, int codePage)
    : m_fields(std::move(fields)), m_rows(std::move(rows)), m_codePage(codePage) {}

void MemoryDataset::next() {
    ++m_position;
    if (onNext)
        onNext(m_position);
}

void RecordingProgress::begin(const QString &text, const QString &status, int max) {
    ++begun;
    caption = text;
    maximum = max;
    statuses << status;
}

void RecordingProgress::step(int position, const QString &status) {
    statuses << status;
    if (cancelAt >= 0 && position >= cancelAt)
        m_cancelled = true;
}

void RecordingProgress::end(const QString &closingText) {
    ++ended;
    statuses << closingText;
}

db::FieldList exportFields() {
    using db::FieldType;
    return {{"JOB", FieldType::Alpha, 40},      {"JOB_DESC", FieldType::Alpha, 40},
            {"PHASE", FieldType::Alpha, 20},    {"PHASE_DESC", FieldType::Alpha, 40},
            {"CODE", FieldType::Alpha, 20},     {"QTY", FieldType::Number, 8},
            {"TYPE", FieldType::Alpha, 1},      {"cost", FieldType::Number, 8},
            {"codeName", FieldType::Alpha, 40}, {"phaseID", FieldType::Long, 4}};
}

QVector<QVariant> exampleRecord() {
    return {
        "J-1001", "Hill Street Offices", "01 Framing", "Wall framing", "LAB-FR", 12.5, "A", 431.25, "Framing labour",
        7};
}

void configureAsProgram(TFelvanBaseComponent &writer, db::Dataset &dataSet, const QString &fileName) {
    useExportSettings(writer);
    writer.setDataSet(&dataSet);
    writer.setFileName(fileName);
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

namespace {

QJsonArray runReader(const QStringList &arguments) {
    QProcess reader;
    const QString script =
        qEnvironmentVariable("TOCREWMINT_SOURCE_DIR") + QStringLiteral("/tests/writers/read_export.py");
    reader.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + arguments);
    EXPECT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
}

} // namespace

QJsonArray readXls(const QString &path, const QString &encoding) {
    return runReader({QStringLiteral("xls"), path, encoding});
}

QJsonArray readCsv(const QString &path, const QString &encoding) {
    return runReader({QStringLiteral("csv"), path, encoding});
}

QStringList readTextColumn(const QString &path, int column, const QString &encoding) {
    const bool xls = path.endsWith(QStringLiteral(".xls"));
    QStringList texts;
    for (const QJsonValue &row : xls ? readXls(path, encoding) : readCsv(path, encoding)) {
        const QJsonValue cell = row.toArray().at(column);
        const QJsonValue value = xls ? cell.toArray().at(1) : cell;
        texts << (value.isDouble() ? QString::number(value.toDouble(), 'g', 15) : value.toString());
    }
    return texts;
}

const WriterKind &xlsWriter() {
    static const WriterKind kind{"xls", QStringLiteral(".xls"), QByteArray::fromHex("0A000000"),
                                 [] { return std::make_unique<TFelvanToXLS>(); }};
    return kind;
}

const WriterKind &csvWriter() {
    static const WriterKind kind{"csv", QStringLiteral(".csv"), "\r\n", [] {
                                     auto writer = std::make_unique<TFelvanToText>();
                                     writer->setSeparator(QLatin1Char(','));
                                     return writer;
                                 }};
    return kind;
}

std::unique_ptr<TFelvanToCellFile> configuredWriter(const WriterKind &kind, db::Dataset &dataSet,
                                                    const QString &fileName) {
    std::unique_ptr<TFelvanToCellFile> writer = kind.make();
    configureAsProgram(*writer, dataSet, fileName);
    return writer;
}
