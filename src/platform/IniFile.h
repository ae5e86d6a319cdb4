#pragma once

#include <QString>
#include <QStringList>

// A sectioned settings file with the private-profile rules: section and key
// names are found without regard to case, a value read is cut to 2047
// characters, and a write keeps the file's order, replacing a key in place,
// appending a new key at the end of its section and a new section at the end
// of the file. Open, read and write keys in memory, then save() once.
class IniFile {
public:
    static constexpr int MaxValueLength = 2047;

    // Reads the file when it exists; a missing or unreadable file reads as empty.
    explicit IniFile(const QString &fileName);

    const QString &fileName() const { return m_fileName; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A missing key or one that is not an integer gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Any non-zero integer is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    // Written as "1" or "0".
    void writeBool(const QString &section, const QString &key, bool value);

    // Replaces the file in one step (temporary file in the same folder, then
    // rename). On failure the old file stays and errorString() says
    // "Unable to write to <file>".
    bool save();
    const QString &errorString() const { return m_error; }

private:
    struct Range {
        int header = -1; // line of "[section]", -1 when missing
        int end = 0;     // one past the section's last key line
    };
    Range findSection(const QString &section) const;
    int findKey(const Range &range, const QString &key) const;

    QString m_fileName;
    QStringList m_lines;
    QString m_lineEnd = QStringLiteral("\n");
    QString m_error;
};
