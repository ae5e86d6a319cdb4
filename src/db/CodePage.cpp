#include "db/CodePage.h"

namespace db {

namespace {

QByteArray codecName(int codePage)
{
    if (codePage <= 0)
        codePage = 1252;
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
        return "windows-" + QByteArray::number(codePage);
    return "cp" + QByteArray::number(codePage);
}

bool isAscii(const char *bytes, int length)
{
    for (int i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

bool isSupportedCodePage(int codePage)
{
    return QStringDecoder(codecName(codePage).constData()).isValid() &&
           QStringEncoder(codecName(codePage).constData()).isValid();
}

CodePageText::CodePageText(int codePage)
    : m_encoder(codecName(codePage).constData(), QStringConverter::Flag::Stateless),
      m_decoder(codecName(codePage).constData(), QStringConverter::Flag::Stateless)
{
}

QString CodePageText::decode(const char *bytes, int length)
{
    if (isAscii(bytes, length) || !m_decoder.isValid())
        return QString::fromLatin1(bytes, length);
    return m_decoder.decode(QByteArrayView(bytes, length));
}

QByteArray CodePageText::encode(const QString &text)
{
    if (!m_encoder.isValid())
        return text.toLatin1();
    const QByteArray bytes = m_encoder.encode(text);
    if (decode(bytes.constData(), bytes.size()) == text)
        return bytes;
    return encodeByCharacter(text);
}

// The converters put a control byte where a character cannot be mapped; check each
// character by a round trip instead and put '?' where it does not survive.
QByteArray CodePageText::encodeByCharacter(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (int i = 0; i < text.size();) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, length);
        const QByteArray bytes = m_encoder.encode(piece);
        out += decode(bytes.constData(), bytes.size()) == piece ? bytes : QByteArray("?");
        i += length;
    }
    return out;
}

QString decodeText(const QByteArray &bytes, int codePage)
{
    return CodePageText(codePage).decode(bytes.constData(), bytes.size());
}

QByteArray encodeText(const QString &text, int codePage)
{
    return CodePageText(codePage).encode(text);
}

} // namespace db
