#include "WriterTestSupport.h"

#include "platform/LocaleFormat.h"
#include "support/ScriptedUi.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

const db::FieldDef qty{"QTY", db::FieldType::Number, 8};

// Records the writer's text of a number while its run is under way.
class ObservingProgress : public RecordingProgress {
public:
    void step(int position, const QString &status) override {
        RecordingProgress::step(position, status);
        duringRun = writer->GetFieldText(qty, 2.5);
    }

    const TFelvanToCellFile *writer = nullptr;
    QString duringRun;
};

// The program runs under a locale with a decimal comma (this test program's environment).
class CommaLocaleTest : public ::testing::TestWithParam<const WriterKind *> {
protected:
    void SetUp() override { ASSERT_EQ(QLocale::system().decimalPoint(), QStringLiteral(",")); }

    QTemporaryDir dir;
    ScriptedUi ui;
};

TEST_P(CommaLocaleTest, DataFormatsHoldOnlyDuringTheRun) {
    std::unique_ptr<TFelvanToCellFile> writer = GetParam()->make();
    EXPECT_EQ(writer->DataFormats().DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(writer->GetFieldText(qty, 2.5), QStringLiteral("2,5"));

    const QString path = dir.filePath(QStringLiteral("export") + GetParam()->extension);
    MemoryDataset table({{"name", db::FieldType::Alpha, 10}, qty}, {{"a", 12.5}, {"b", 1234567.891}});
    configureAsProgram(*writer, table, path);
    ObservingProgress progress;
    progress.writer = writer.get();
    writer->setProgress(&progress);
    ASSERT_EQ(writer->Execute(), RunStatus::Done);

    EXPECT_EQ(progress.duringRun, QStringLiteral("2.5"));
    EXPECT_EQ(writer->GetFieldText(qty, 2.5), QStringLiteral("2,5"));
    EXPECT_EQ(sumText(2.5), QStringLiteral("2,50"));
    EXPECT_EQ(readTextColumn(path, 1), QStringList({"QTY", "12.5", "1234567.891"}));
}

INSTANTIATE_TEST_SUITE_P(Writers, CommaLocaleTest, ::testing::Values(&xlsWriter(), &csvWriter()),
                         [](const auto &info) { return std::string(info.param->name); });

} // namespace
