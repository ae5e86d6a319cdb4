#include "app/WidgetUi.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {
QWidget *parentWindow() { return QApplication::activeWindow(); }

QString title() { return QApplication::applicationName(); }
} // namespace

void WidgetUi::inform(const QString &text) { QMessageBox::information(parentWindow(), title(), text); }

void WidgetUi::warn(const QString &text) { QMessageBox::warning(parentWindow(), title(), text); }

void WidgetUi::error(const QString &text) { QMessageBox::critical(parentWindow(), title(), text); }

Ui::Answer WidgetUi::confirm(const QString &text)
{
    return QMessageBox::question(parentWindow(), title(), text, QMessageBox::Yes | QMessageBox::No) ==
                   QMessageBox::Yes
               ? Answer::Yes
               : Answer::No;
}

int WidgetUi::showModal(QObject *dialog)
{
    auto *window = qobject_cast<QDialog *>(dialog);
    return window ? window->exec() : 0;
}
