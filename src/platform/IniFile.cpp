#include "platform/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace {
bool isSectionLine(const QString &line) { return line.trimmed().startsWith(QLatin1Char('[')); }

QString sectionName(const QString &line)
{
    const QString text = line.trimmed().mid(1);
    const int close = text.indexOf(QLatin1Char(']'));
    return (close < 0 ? text : text.left(close)).trimmed();
}

// The key of a "key=value" line, empty for blank, comment and other lines.
QString keyOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return {};
    return line.left(eq).trimmed();
}

QString valueOf(const QString &line)
{
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QString singleLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}
} // namespace

IniFile::IniFile(const QString &fileName) : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(file.readAll());
    if (text.contains(QLatin1String("\r\n")))
        m_lineEnd = QStringLiteral("\r\n");
    m_lines = text.split(QLatin1Char('\n'));
    if (m_lines.constLast().isEmpty())
        m_lines.removeLast();
    for (QString &line : m_lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
}

IniFile::Range IniFile::findSection(const QString &section) const
{
    Range range;
    int i = 0;
    for (; i < m_lines.size() && range.header < 0; ++i) {
        if (isSectionLine(m_lines.at(i)) && sectionName(m_lines.at(i)).compare(section, Qt::CaseInsensitive) == 0)
            range.header = i;
    }
    if (range.header < 0)
        return range;
    while (i < m_lines.size() && !isSectionLine(m_lines.at(i)))
        ++i;
    // New keys go after the section's last non-blank line.
    while (i > range.header + 1 && m_lines.at(i - 1).trimmed().isEmpty())
        --i;
    range.end = i;
    return range;
}

int IniFile::findKey(const Range &range, const QString &key) const
{
    for (int i = range.header + 1; range.header >= 0 && i < range.end; ++i) {
        if (keyOf(m_lines.at(i)).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(findSection(section), key) >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int line = findKey(findSection(section), key);
    return (line < 0 ? defaultValue : valueOf(m_lines.at(line))).left(MaxValueLength);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString text = singleLine(value);
    const Range range = findSection(section);
    if (range.header < 0) {
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + text;
        return;
    }
    const int line = findKey(range, key);
    if (line >= 0)
        m_lines[line] = keyOf(m_lines.at(line)) + QLatin1Char('=') + text;
    else
        m_lines.insert(range.end, key + QLatin1Char('=') + text);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save()
{
    m_error.clear();
    QSaveFile file(m_fileName);
    QString text;
    for (const QString &line : std::as_const(m_lines))
        text += line + m_lineEnd;
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    m_error = QStringLiteral("Unable to write to %1").arg(m_fileName);
    return false;
}
