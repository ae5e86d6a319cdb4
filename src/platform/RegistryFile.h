#pragma once

#include <QHash>
#include <QString>

#include <optional>

// A registry read from a file: a REGEDIT4 export, a "Windows Registry Editor
// Version 5.00" export (UTF-16LE with byte-order mark) or a Wine hive file
// (system.reg, whose keys are relative to HKEY_LOCAL_MACHINE). Keys are full
// paths beginning with their root ("HKEY_LOCAL_MACHINE\SOFTWARE\..."); key and
// value names compare without case. Only text values (plain and expandable
// strings) are read as text; other kinds are kept as "not text".
class RegistryFile {
public:
    struct Value {
        bool isText = false;
        QString text; // the text of a text value, taken as stored
    };

    // Reads the file; false with errorString() naming the file and the reason.
    bool load(const QString &fileName);
    const QString &errorString() const { return m_error; }

    // The value `name` ("" for the default value) of `key`, or nothing.
    std::optional<Value> value(const QString &key, const QString &name) const;
    bool hasKey(const QString &key) const;

private:
    bool parse(const QString &text);
    void addValueLine(const QString &key, const QString &line);

    QHash<QString, QHash<QString, Value>> m_keys; // upper-cased key -> upper-cased name -> value
    QString m_fileName;
    QString m_error;
    bool m_wine = false;
    bool m_unicode = false;
};

// Which registry file stands in for the machine's registry: QUARVEX_REGISTRY,
// else $WINEPREFIX/system.reg, else ~/.wine/system.reg, else none (empty file).
// winePrefix is the prefix folder whose dosdevices map Windows paths, or empty.
struct RegistrySource {
    QString file;
    QString winePrefix;
};
RegistrySource chooseRegistrySource();

// A Windows path ("C:\QData", "d:") as a native path through the prefix's
// dosdevices links, each further component found without regard to case. A
// value that is not a drive path, or any value when there is no prefix, is
// returned unchanged.
QString nativePathOf(const QString &value, const QString &winePrefix);
