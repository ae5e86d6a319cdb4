#include "support/ScriptedUi.h"

#include <QObject>

ScriptedUi::ScriptedUi() { Ui::install(this); }

ScriptedUi::~ScriptedUi() { Ui::install(nullptr); }

void ScriptedUi::inform(const QString &text) { shown << QStringLiteral("inform: ") + text; }

void ScriptedUi::warn(const QString &text) { shown << QStringLiteral("warn: ") + text; }

void ScriptedUi::error(const QString &text) { shown << QStringLiteral("error: ") + text; }

Ui::Answer ScriptedUi::confirm(const QString &text)
{
    shown << QStringLiteral("confirm: ") + text;
    return answers.isEmpty() ? Answer::No : answers.dequeue();
}

int ScriptedUi::showModal(QObject *dialog)
{
    modals << (dialog ? dialog->objectName() : QString());
    return onModal ? onModal(dialog) : 0;
}
