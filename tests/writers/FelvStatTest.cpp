#include "WriterTestSupport.h"

#include "support/GuiApp.h"
#include "support/ScriptedUi.h"
#include "writers/FelvStat.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// What the window shows at one moment of a run.
struct Seen {
    bool visible;
    bool modal;
    QString caption;
    QString status;
    int position;
    int maximum;

    bool operator==(const Seen &o) const {
        return visible == o.visible && modal == o.modal && caption == o.caption && status == o.status &&
               position == o.position && maximum == o.maximum;
    }
};

void PrintTo(const Seen &s, std::ostream *os) {
    *os << s.visible << ' ' << s.modal << " \"" << s.caption.toStdString() << "\" \"" << s.status.toStdString() << "\" "
        << s.position << '/' << s.maximum;
}

// A table of ten records read by the text writer into a file of the temporary folder.
class ProgressWindowTest : public ::testing::Test {
protected:
    RunStatus run() {
        writer = configuredWriter(csvWriter(), table, path());
        writer->setProgress(&window);
        return writer->Execute();
    }

    QString path() const { return dir.filePath(QStringLiteral("export.csv")); }

    Seen seen() const {
        return {window.isVisible(),          QApplication::activeModalWidget() == &window,
                window.windowTitle(),        window.lblStatus->text(),
                window.ProgressBar->value(), window.ProgressBar->maximum()};
    }

    QApplication &app = guiApp(); // before the window
    QTemporaryDir dir;
    ScriptedUi ui;
    TfrmFelvProcess window;
    MemoryDataset table{{{"name", db::FieldType::Alpha, 10}}, QVector<QVector<QVariant>>(10, {QStringLiteral("x")})};
    std::unique_ptr<TFelvanToCellFile> writer;
};

TEST_F(ProgressWindowTest, ShowsEachRecordModallyAndHidesAtTheEnd) {
    EXPECT_EQ(window.size(), QSize(442, 87));
    EXPECT_EQ(window.btnCancel->text(), QStringLiteral("&Cancel"));

    QVector<Seen> during;
    table.onNext = [&](int position) {
        if (position <= 2)
            during << seen();
    };
    ASSERT_EQ(run(), RunStatus::Done);

    const QString caption = QStringLiteral("quarvex Crewmint Export");
    EXPECT_EQ(during, QVector<Seen>({{true, true, caption, QStringLiteral("Exporting... (0/10)"), 0, 10},
                                     {true, true, caption, QStringLiteral("Exporting... (1/10)"), 1, 10}}));
    const QString done =
        QStringLiteral("The %1 file was successfully generated with exported data. (10/10)").arg(path());
    EXPECT_EQ(seen(), (Seen{false, false, caption, done, 9, 10}));
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();
}

TEST_F(ProgressWindowTest, CancelButtonEscapeAndClosingStopTheRun) {
    struct Case {
        const char *name;
        std::function<void(TfrmFelvProcess &)> press; // posted: it takes effect when the window handles events
    };
    const Case cases[] = {
        {"button",
         [](TfrmFelvProcess &w) { QMetaObject::invokeMethod(w.btnCancel, &QPushButton::click, Qt::QueuedConnection); }},
        {"Escape",
         [](TfrmFelvProcess &w) {
             QCoreApplication::postEvent(w.btnCancel, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
         }},
        {"close", [](TfrmFelvProcess &w) { QCoreApplication::postEvent(&w, new QCloseEvent); }},
    };
    for (const Case &c : cases) {
        table.onNext = [&](int position) {
            if (position == 2)
                c.press(window);
        };
        ASSERT_EQ(run(), RunStatus::Cancelled) << c.name;
        // Noticed while the third record is announced, which is still written.
        EXPECT_EQ(readTextColumn(path(), 0), QStringList({"name", "x", "x", "x"})) << c.name;
        EXPECT_EQ(window.lblStatus->text(), QStringLiteral("Data export was canceled by user. (10/10)")) << c.name;
        EXPECT_FALSE(window.isVisible()) << c.name;

        // The next run starts uncancelled.
        table.onNext = nullptr;
        EXPECT_EQ(run(), RunStatus::Done) << c.name;
    }
    EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();
}

} // namespace
