#pragma once

#include "platform/Ui.h"

#include <QTextStream>

// The command line's side of the Ui seam: every message is one line on
// standard error; questions take the answer the options gave.
class CliUi : public Ui {
public:
    explicit CliUi(QTextStream &err, Answer confirmAnswer = Answer::No);

    void inform(const QString &text) override;
    void warn(const QString &text) override;
    void error(const QString &text) override;
    Answer confirm(const QString &text) override;
    int showModal(QObject *dialog) override;

private:
    void line(const QString &text);

    QTextStream &m_err;
    Answer m_confirmAnswer;
};
