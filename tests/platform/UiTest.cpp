#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

TEST(Ui, ScriptedUiIsInstalledAndAnswersFromItsQueue)
{
    {
        ScriptedUi ui;
        ui.answers.enqueue(Ui::Answer::Yes);
        EXPECT_EQ(Ui::current().confirm(QStringLiteral("Sure?")), Ui::Answer::Yes);
        EXPECT_EQ(Ui::current().confirm(QStringLiteral("Again?")), Ui::Answer::No);
        Ui::current().warn(QStringLiteral("careful"));
        EXPECT_EQ(ui.shown, QStringList({"confirm: Sure?", "confirm: Again?", "warn: careful"}));
    }
    // The silent default is back once the script is gone.
    EXPECT_EQ(Ui::current().confirm(QStringLiteral("x")), Ui::Answer::No);
}
