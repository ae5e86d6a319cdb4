#include "platform/RegistryFile.h"

#include "platform/Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {
const QString MachineRoot = QStringLiteral("HKEY_LOCAL_MACHINE");

QString decodeFile(const QByteArray &bytes, bool *unicode)
{
    *unicode = bytes.startsWith("\xFF\xFE");
    if (*unicode)
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(body);
    return utf8.hasError() ? QString::fromLatin1(body) : text;
}

// One escaped character at text[pos] (just after a backslash) of a Wine file;
// advances pos past it.
QChar wineEscape(const QString &text, int &pos)
{
    static const QString letters = QStringLiteral("abefnrtv");
    static const char16_t codes[] = {7, 8, 27, 12, 10, 13, 9, 11};
    const QChar c = text.at(pos++);
    const int letter = letters.indexOf(c);
    if (letter >= 0)
        return QChar(codes[letter]);
    const bool hex = c == QLatin1Char('x');
    const auto isDigit = [hex](QChar d) {
        return hex ? QStringLiteral("0123456789abcdefABCDEF").contains(d) : d >= QLatin1Char('0') && d <= QLatin1Char('7');
    };
    const int start = hex ? pos : pos - 1;
    int end = start;
    while (end < text.size() && end - start < (hex ? 4 : 3) && isDigit(text.at(end)))
        ++end;
    if (end == start)
        return c; // "\\", "\"" and any other character stand for themselves
    pos = end;
    return QChar(char16_t(text.mid(start, end - start).toUInt(nullptr, hex ? 16 : 8)));
}

// The quoted text starting at text[pos] == '"'; pos ends after the closing
// quote. Exports escape only "\\" and "\""; Wine files escape more.
std::optional<QString> quoted(const QString &text, int &pos, bool wine)
{
    QString out;
    for (++pos; pos < text.size(); ) {
        const QChar c = text.at(pos++);
        if (c == QLatin1Char('"'))
            return out;
        if (c != QLatin1Char('\\') || pos >= text.size()) {
            out += c;
        } else if (wine) {
            out += wineEscape(text, pos);
        } else if (text.at(pos) == QLatin1Char('\\') || text.at(pos) == QLatin1Char('"')) {
            out += text.at(pos++);
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

QString unescapeWineKey(const QString &key)
{
    QString out;
    for (int pos = 0; pos < key.size();) {
        const QChar c = key.at(pos++);
        out += (c == QLatin1Char('\\') && pos < key.size()) ? wineEscape(key, pos) : c;
    }
    return out;
}

// The text of a hex(2) expandable string: UTF-16LE in version 5.00 exports,
// 8-bit in REGEDIT4 ones; the ending NUL dropped.
QString expandableText(const QString &hexList, bool unicode)
{
    QByteArray bytes;
    for (const QString &part : hexList.split(QLatin1Char(','), Qt::SkipEmptyParts))
        bytes.append(char(part.trimmed().toUInt(nullptr, 16)));
    QString text = unicode ? QStringDecoder(QStringDecoder::Utf16LE).decode(bytes) : QString::fromLatin1(bytes);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}
} // namespace

bool RegistryFile::load(const QString &fileName)
{
    m_keys.clear();
    m_fileName = fileName;
    m_error.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot read registry file %1: %2").arg(fileName, file.errorString());
        return false;
    }
    if (!parse(decodeFile(file.readAll(), &m_unicode))) {
        m_error = QStringLiteral("%1 is not a registry file (REGEDIT4, version 5.00 export or Wine hive)")
                      .arg(fileName);
        return false;
    }
    return true;
}

bool RegistryFile::parse(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.constFirst().trimmed().isEmpty())
        lines.removeFirst();
    const QString header = lines.isEmpty() ? QString() : lines.takeFirst().trimmed();
    m_wine = header == QLatin1String("WINE REGISTRY Version 2");
    if (!m_wine && header != QLatin1String("REGEDIT4") && header != QLatin1String("Windows Registry Editor Version 5.00"))
        return false;

    QString root = MachineRoot;
    QString key; // current key, upper-cased with its root; empty after a deleted or foreign key
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i).trimmed();
        while (line.endsWith(QLatin1Char('\\')) && !line.startsWith(QLatin1Char('[')) && i + 1 < lines.size())
            line = line.chopped(1) + lines.at(++i).trimmed();
        if (m_wine && line.startsWith(QLatin1String(";; All keys relative to ")))
            root = line.endsWith(QLatin1String("\\\\Machine")) ? MachineRoot : QStringLiteral("HKEY_USERS");
        if (line.startsWith(QLatin1Char('['))) {
            const QString name = line.mid(1, line.lastIndexOf(QLatin1Char(']')) - 1);
            key = name.startsWith(QLatin1Char('-')) ? QString()
                  : m_wine                            ? (root + QLatin1Char('\\') + unescapeWineKey(name)).toUpper()
                                                      : name.toUpper();
            if (!key.isEmpty())
                m_keys[key];
        } else if (!key.isEmpty() && (line.startsWith(QLatin1Char('"')) || line.startsWith(QLatin1Char('@')))) {
            addValueLine(key, line);
        }
    }
    return true;
}

void RegistryFile::addValueLine(const QString &key, const QString &line)
{
    int pos = 0;
    std::optional<QString> name = QString();
    if (line.startsWith(QLatin1Char('@')))
        pos = 1;
    else
        name = quoted(line, pos, m_wine);
    if (!name || pos >= line.size() || line.at(pos) != QLatin1Char('='))
        return; // not a value line
    const QString data = line.mid(pos + 1).trimmed();
    QHash<QString, Value> &values = m_keys[key];
    if (data == QLatin1String("-")) {
        values.remove(name->toUpper());
        return;
    }
    Value value;
    int start = 0;
    if (data.startsWith(QLatin1String("str(2):")))
        start = 7;
    if (data.mid(start).startsWith(QLatin1Char('"'))) {
        const std::optional<QString> text = quoted(data, start, m_wine);
        if (!text)
            return;
        value = {true, *text};
    } else if (data.startsWith(QLatin1String("hex(2):"), Qt::CaseInsensitive)) {
        value = {true, expandableText(data.mid(7), m_unicode)};
    }
    values.insert(name->toUpper(), value);
}

std::optional<RegistryFile::Value> RegistryFile::value(const QString &key, const QString &name) const
{
    const auto k = m_keys.constFind(key.toUpper());
    if (k == m_keys.constEnd())
        return std::nullopt;
    const auto v = k->constFind(name.toUpper());
    if (v == k->constEnd())
        return std::nullopt;
    return *v;
}

bool RegistryFile::hasKey(const QString &key) const { return m_keys.contains(key.toUpper()); }

RegistrySource chooseRegistrySource()
{
    const QString chosen = qEnvironmentVariable("QUARVEX_REGISTRY");
    if (!chosen.isEmpty()) {
        const QString folder = QFileInfo(chosen).absolutePath();
        return {chosen, FolderExists(folder + QStringLiteral("/dosdevices")) ? folder : QString()};
    }
    const QStringList prefixes = {qEnvironmentVariable("WINEPREFIX"), QDir::homePath() + QStringLiteral("/.wine")};
    for (const QString &prefix : prefixes) {
        const QString file = withoutTrailingSeparator(prefix) + QStringLiteral("/system.reg");
        if (!prefix.isEmpty() && QFileInfo(file).isFile())
            return {file, withoutTrailingSeparator(prefix)};
    }
    return {};
}

QString nativePathOf(const QString &value, const QString &winePrefix)
{
    static const QRegularExpression drivePath(QStringLiteral("^([A-Za-z]):([\\\\/].*)?$"));
    const QRegularExpressionMatch match = drivePath.match(value);
    if (winePrefix.isEmpty() || !match.hasMatch())
        return value;
    QString path = winePrefix + QStringLiteral("/dosdevices/") + match.captured(1).toLower() + QLatin1Char(':');
    bool found = true;
    for (const QString &part : match.captured(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts)) {
        QString name = part;
        if (found && !QFileInfo::exists(path + QLatin1Char('/') + part)) {
            const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            const auto same = std::find_if(entries.begin(), entries.end(), [&](const QString &entry) {
                return entry.compare(part, Qt::CaseInsensitive) == 0;
            });
            found = same != entries.end();
            if (found)
                name = *same;
        }
        path += QLatin1Char('/') + name;
    }
    return path;
}
