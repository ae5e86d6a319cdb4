#pragma once

#include <QString>

class QObject;

// Every message box, confirmation and modal showing goes through this seam:
// the GUI answers with real dialogs, the command line on its standard streams,
// the tests from a script.
class Ui {
public:
    enum class Answer { Yes, No };

    virtual ~Ui() = default;
    virtual void inform(const QString &text) = 0;
    virtual void warn(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    virtual Answer confirm(const QString &text) = 0;
    // Shows a dialog modally and returns its result code (QDialog::Accepted = 1).
    virtual int showModal(QObject *dialog) = 0;

    // The process-wide instance; never null (a silent default answers No and 0).
    static Ui &current();
    // Installs an instance, not owned; nullptr restores the silent default.
    static void install(Ui *ui);
};
