#include "cli/CliUi.h"

CliUi::CliUi(QTextStream &err, Answer confirmAnswer) : m_err(err), m_confirmAnswer(confirmAnswer) {}

void CliUi::line(const QString &text)
{
    // Messages written for a window break lines with CR LF; one line each here.
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_err << flat.simplified() << Qt::endl;
}

void CliUi::inform(const QString &text) { line(text); }

void CliUi::warn(const QString &text) { line(text); }

void CliUi::error(const QString &text) { line(text); }

Ui::Answer CliUi::confirm(const QString &text)
{
    line(text + (m_confirmAnswer == Answer::Yes ? QStringLiteral(" yes") : QStringLiteral(" no")));
    return m_confirmAnswer;
}

int CliUi::showModal(QObject *) { return 0; }
