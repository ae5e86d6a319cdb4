#include "env/IniOut.h"

#include "env/DebugLog.h"
#include "platform/Ui.h"

#include <QFileInfo>

TIniOut QuarvexReg(TRegRoots::LOCAL_MACHINE);

const RegistryFile *TIniOut::source()
{
    const RegistrySource choice = chooseRegistrySource();
    const QFileInfo info(choice.file);
    if (choice.file.isEmpty())
        m_read = m_valid = false;
    else if (!m_read || choice.file != m_choice.file || info.lastModified() != m_modified || info.size() != m_size) {
        m_read = true;
        m_modified = info.lastModified();
        m_size = info.size();
        m_valid = m_file.load(choice.file);
        if (!m_valid)
            DebugLog(m_file.errorString());
    }
    m_choice = choice;
    return m_valid ? &m_file : nullptr;
}

QString TIniOut::ReadRegString(const QString &Key, const QString &Name, const QString &Default)
{
    const RegistryFile *file = RegistryRoot == TRegRoots::LOCAL_MACHINE ? source() : nullptr;
    if (!file)
        return Default;
    const std::optional<RegistryFile::Value> value = file->value(QStringLiteral("HKEY_LOCAL_MACHINE\\") + Key, Name);
    if (!value)
        return Default;
    if (!value->isText)
        throw RegistryError(
            QStringLiteral("Invalid data type for '%1' in key %2 of %3").arg(Name, Key, m_choice.file));
    return value->text;
}

QString TIniOut::winePrefix()
{
    source();
    return m_choice.winePrefix;
}

void reportRegistryError(const RegistryError &error)
{
    Ui::current().error(error.message());
    DebugLog(error.message());
}
