#pragma once

#include "platform/RegistryFile.h"

#include <QDateTime>
#include <QString>

#include <stdexcept>

// A registry value of a kind other than text was read as text.
class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

enum class TRegRoots { CLASSES_ROOT, CURRENT_USER, LOCAL_MACHINE, USERS, PERFORMANCE_DATA, CURRENT_CONFIG, DYN_DATA };

// Reads text values of the registry under one root. Only LOCAL_MACHINE has a
// source here: the registry file of chooseRegistrySource(), read again when
// the choice or the file changes. Nothing is ever written.
class TIniOut {
public:
    explicit TIniOut(TRegRoots root = TRegRoots::CURRENT_USER) : RegistryRoot(root) {}

    TRegRoots RegistryRoot;

    // The value `Name` of `Key` (relative to the root), or Default when the
    // key or value is missing. An empty value gives empty text. A value that
    // is not text throws RegistryError.
    QString ReadRegString(const QString &Key, const QString &Name, const QString &Default);

    // The Wine prefix of the current source, empty when there is none.
    QString winePrefix();

private:
    const RegistryFile *source();

    RegistrySource m_choice;
    QDateTime m_modified;
    qint64 m_size = -1;
    bool m_read = false; // m_file was read for m_choice, m_modified and m_size
    bool m_valid = false;
    RegistryFile m_file;
};

// The environment's reader, rooted at LOCAL_MACHINE.
extern TIniOut QuarvexReg;

// Shows and logs a registry error.
void reportRegistryError(const RegistryError &error);
