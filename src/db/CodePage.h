#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace db {

// Text of Paradox tables is stored in a Windows or DOS code page (1252, 437, 850, ...);
// 0 stands for 1252.
bool isSupportedCodePage(int codePage);
QString decodeText(const QByteArray &bytes, int codePage);
// Characters the code page cannot hold become '?'.
QByteArray encodeText(const QString &text, int codePage);

// The same conversions with the converters kept, for converting many values of one table.
class CodePageText {
public:
    explicit CodePageText(int codePage);
    QString decode(const char *bytes, int length);
    QByteArray encode(const QString &text);

private:
    QByteArray encodeByCharacter(const QString &text);

    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};

} // namespace db
