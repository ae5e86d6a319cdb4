#include "WriterTestSupport.h"

#include "db/DbError.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// What both writers do the same way in a run: progress, cancel, failures, flushing.
class WriterRunTest : public ::testing::TestWithParam<const WriterKind *> {
protected:
    QString path(const QString &name = QStringLiteral("export")) const {
        return dir.filePath(name + GetParam()->extension);
    }

    RunStatus run(db::Dataset &dataSet, const QString &fileName) {
        writer = configuredWriter(*GetParam(), dataSet, fileName);
        writer->setProgress(&progress);
        return writer->Execute();
    }

    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    ScriptedUi ui;
    RecordingProgress progress;
    std::unique_ptr<TFelvanToCellFile> writer;
};

// A table of named rows: "name" holds "row 0", "row 1", ...
MemoryDataset namedRows(int count) {
    MemoryDataset table({{"name", db::FieldType::Alpha, 10}, {"n", db::FieldType::Long, 4}});
    for (int i = 0; i < count; ++i)
        table.appendRow({QStringLiteral("row %1").arg(i), i});
    return table;
}

QStringList namesWithTitle(int count) {
    QStringList names{QStringLiteral("name")};
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("row %1").arg(i);
    return names;
}

TEST_P(WriterRunTest, ProgressShowsEachRecordAndTheClosingText) {
    MemoryDataset table = namedRows(2);
    ASSERT_EQ(run(table, path()), RunStatus::Done);

    EXPECT_EQ(progress.caption, QStringLiteral("quarvex Crewmint Export"));
    EXPECT_EQ(progress.maximum, 2);
    const QString done = QStringLiteral("The %1 file was successfully generated with exported data.").arg(path());
    EXPECT_EQ(progress.statuses, QStringList({"Exporting...", "Exporting... (0/2)", "Exporting... (1/2)",
                                              done + QStringLiteral(" (2/2)")}));
    EXPECT_EQ(writer->closingText(), done);
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();
    EXPECT_EQ(readTextColumn(path(), 0), namesWithTitle(2));
}

TEST_P(WriterRunTest, CancelKeepsTheRowsWrittenSoFarInAValidFile) {
    MemoryDataset table = namedRows(10);
    progress.cancelAt = 3; // noticed while the fourth record is announced, which is still written
    ASSERT_EQ(run(table, path()), RunStatus::Cancelled);

    EXPECT_EQ(writer->closingText(), QStringLiteral("Data export was canceled by user."));
    EXPECT_EQ(progress.statuses.last(), QStringLiteral("Data export was canceled by user. (10/10)"));
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();
    EXPECT_TRUE(fileBytes(path()).endsWith(GetParam()->fileEnd));
    EXPECT_EQ(readTextColumn(path(), 0), namesWithTitle(4));
    EXPECT_EQ(filesInDir(), QStringList{QFileInfo(path()).fileName()});
}

TEST_P(WriterRunTest, AFolderThatDoesNotExistFailsAndCreatesNothing) {
    struct Case {
        bool animated;
        QString shownPrefix;
    };
    const Case cases[] = {{true, QStringLiteral("error: ")},
                          {false, QStringLiteral("inform: Error of data export.: ")}};
    for (const Case &c : cases) {
        ui.shown.clear();
        const QString fileName = dir.filePath(QStringLiteral("missing/export") + GetParam()->extension);
        MemoryDataset table = namedRows(2);
        writer = configuredWriter(*GetParam(), table, fileName);
        writer->setAnimatedStatus(c.animated);
        ASSERT_EQ(writer->Execute(), RunStatus::Failed) << c.animated;

        EXPECT_TRUE(writer->errorText().contains(QDir::toNativeSeparators(fileName)))
            << writer->errorText().toStdString();
        EXPECT_EQ(ui.shown, QStringList{c.shownPrefix + writer->errorText()});
        EXPECT_EQ(writer->closingText(), QStringLiteral("Error of data export.: ") + writer->errorText());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
        EXPECT_TRUE(filesInDir().isEmpty()) << filesInDir().join(' ').toStdString();
    }
}

TEST_P(WriterRunTest, AReadErrorMidwayLeavesTheOlderFileUntouched) {
    {
        QFile old(path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older export");
    }
    MemoryDataset table = namedRows(5);
    table.onNext = [](int position) {
        if (position == 3)
            throw db::DbError(QStringLiteral("Table \"tmpCrew.db\": block 2 is damaged."));
    };
    ASSERT_EQ(run(table, path()), RunStatus::Failed);

    EXPECT_EQ(writer->errorText(), QStringLiteral("Table \"tmpCrew.db\": block 2 is damaged."));
    EXPECT_EQ(ui.shown, QStringList{QStringLiteral("error: Table \"tmpCrew.db\": block 2 is damaged.")});
    EXPECT_EQ(fileBytes(path()), QByteArray("older export"));
    EXPECT_EQ(filesInDir(), QStringList{QFileInfo(path()).fileName()});
}

TEST_P(WriterRunTest, WithoutADatasetNothingIsWritten) {
    writer = GetParam()->make();
    writer->setFileName(path());
    ASSERT_EQ(writer->Execute(), RunStatus::Failed);
    EXPECT_EQ(ui.shown,
              QStringList{QStringLiteral("inform: Error of data export.: Property Dataset is not specified.")});
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_P(WriterRunTest, FlushesAfterEvery1025thEndedRowTitleIncluded) {
    MemoryDataset table = namedRows(3000);
    ASSERT_EQ(run(table, path()), RunStatus::Done);
    EXPECT_EQ(writer->flushedRows(), QVector<int>({1025, 2050}));
    EXPECT_EQ(readTextColumn(path(), 0), namesWithTitle(3000));

    // The count starts again with each file.
    MemoryDataset small = namedRows(1024);
    configureAsProgram(*writer, small, path());
    ASSERT_EQ(writer->Execute(), RunStatus::Done);
    EXPECT_EQ(writer->flushedRows(), QVector<int>({1025}));
}

TEST_P(WriterRunTest, EachRunTakesTheTablesCurrentFields) {
    writer = GetParam()->make();
    MemoryDataset first = namedRows(1);
    configureAsProgram(*writer, first, path(QStringLiteral("first")));
    ASSERT_EQ(writer->Execute(), RunStatus::Done);
    EXPECT_TRUE(writer->Columns().isEmpty());

    MemoryDataset second({{"code", db::FieldType::Alpha, 8}}, {{QStringLiteral("LAB-FR")}});
    configureAsProgram(*writer, second, path(QStringLiteral("second")));
    ASSERT_EQ(writer->Execute(), RunStatus::Done);
    EXPECT_EQ(readTextColumn(path(QStringLiteral("second")), 0), QStringList({"code", "LAB-FR"}));
}

TEST_P(WriterRunTest, TextIsWrittenInTheTablesCodePage) {
    const QString text = QStringLiteral("Łódź ąę");
    MemoryDataset table({{"t", db::FieldType::Alpha, 20}}, {{text}}, 1250);
    ASSERT_EQ(run(table, path()), RunStatus::Done);
    EXPECT_TRUE(fileBytes(path()).contains(QByteArray::fromHex("a3f3649f20b9ea")));
    EXPECT_EQ(readTextColumn(path(), 0, QStringLiteral("cp1250")), QStringList({"t", text}));
}

INSTANTIATE_TEST_SUITE_P(Writers, WriterRunTest, ::testing::Values(&xlsWriter(), &csvWriter()),
                         [](const auto &info) { return std::string(info.param->name); });

} // namespace
