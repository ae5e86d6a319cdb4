#pragma once

#include "platform/Ui.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Records every text the code shows and answers from queues. Installs itself
// for its lifetime.
class ScriptedUi : public Ui {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    void inform(const QString &text) override;
    void warn(const QString &text) override;
    void error(const QString &text) override;
    Answer confirm(const QString &text) override;
    int showModal(QObject *dialog) override;

    QStringList shown;                         // every text, prefixed "inform: ", "warn: ", "error: ", "confirm: "
    QQueue<Answer> answers;                    // for confirm; No when empty
    std::function<int(QObject *)> onModal;     // drives a modal dialog; returns its result
    QStringList modals;                        // objectName of every dialog shown modally
};
