#include "db/ParadoxValue.h"

#include "db/DbError.h"

#include <QDateTime>
#include <QLocale>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace db {

namespace {

constexpr qint64 msPerDay = 86400000;
// Julian day of 0000-12-31, the day before day 1 of the file's day count.
constexpr qint64 dayZero = 1721425;
constexpr int bcdBytes = 17;

bool isBlank(const char *bytes, int size)
{
    for (int i = 0; i < size; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

qint32 readInt(const char *bytes, int size)
{
    if (size == 2)
        return static_cast<qint16>(qFromBigEndian<quint16>(bytes) ^ 0x8000u);
    return static_cast<qint32>(qFromBigEndian<quint32>(bytes) ^ 0x80000000u);
}

void writeInt(qint32 value, char *out, int size)
{
    if (size == 2)
        qToBigEndian<quint16>(static_cast<quint16>(value) ^ 0x8000u, out);
    else
        qToBigEndian<quint32>(static_cast<quint32>(value) ^ 0x80000000u, out);
}

double readDouble(const char *bytes)
{
    quint64 raw = qFromBigEndian<quint64>(bytes);
    const quint64 sign = quint64(1) << 63;
    raw = (raw & sign) ? raw & ~sign : ~raw;
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void writeDouble(double value, char *out)
{
    if (value == 0)
        value = 0; // no negative zero
    quint64 raw;
    std::memcpy(&raw, &value, sizeof raw);
    const quint64 sign = quint64(1) << 63;
    raw = (raw & sign) ? ~raw : raw | sign;
    qToBigEndian<quint64>(raw, out);
}

// Byte 0: sign bit (set for >= 0) and the count of decimals; then 32 digits, one per
// nibble, the last ones being the decimals; a negative value has its digit bytes inverted.
double readBcd(const char *bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    const bool negative = !(b[0] & 0x80);
    const int decimals = b[0] & 0x3f;
    double value = 0;
    for (int nibble = 2; nibble < 2 * bcdBytes; ++nibble) {
        unsigned char byte = b[nibble / 2];
        if (negative)
            byte = ~byte;
        const int digit = nibble % 2 == 0 ? byte >> 4 : byte & 0x0f;
        value = value * 10 + (digit > 9 ? 0 : digit);
    }
    value /= std::pow(10.0, decimals);
    return negative ? -value : value;
}

// False when the value has more digits than the field holds.
bool writeBcd(double value, int decimals, char *out)
{
    const QString digits = QString::number(std::fabs(value), 'f', decimals).remove(QLatin1Char('.'));
    if (digits.size() > 2 * bcdBytes - 2)
        return false;
    auto *b = reinterpret_cast<unsigned char *>(out);
    std::memset(b, 0, bcdBytes);
    const int first = 2 * bcdBytes - digits.size();
    for (int i = 0; i < digits.size(); ++i) {
        const int nibble = first + i;
        const int digit = digits.at(i).digitValue();
        b[nibble / 2] |= nibble % 2 == 0 ? digit << 4 : digit;
    }
    const bool negative = value < 0 && digits.count(QLatin1Char('0')) != digits.size();
    if (negative)
        for (int i = 1; i < bcdBytes; ++i)
            b[i] = ~b[i];
    b[0] = static_cast<unsigned char>((negative ? 0 : 0x80) | decimals);
    return true;
}

QDate dateFromDays(qint64 days)
{
    return QDate::fromJulianDay(days + dayZero);
}

qint64 daysOf(const QDate &date)
{
    return date.toJulianDay() - dayZero;
}

[[noreturn]] void throwMisfit(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    throw DbError(QStringLiteral("Table %1: value \"%2\" does not fit field %3 (%4)")
                      .arg(tableName, value.toString(), field.name, fieldTypeName(field.type)));
}

QVariant toInteger(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    bool ok = false;
    double number = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                          : value.toDouble(&ok);
    if (value.typeId() == QMetaType::Bool)
        number = value.toBool() ? 1 : 0, ok = true;
    const double limit = field.type == FieldType::Short ? 32767 : 2147483647;
    number = std::round(number);
    if (!ok || !std::isfinite(number) || std::fabs(number) > limit)
        throwMisfit(field, value, tableName);
    return static_cast<int>(number);
}

QVariant toDouble(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                          : value.typeId() == QMetaType::Bool  ? (ok = true, value.toBool() ? 1.0 : 0.0)
                                                               : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        throwMisfit(field, value, tableName);
    return number;
}

QVariant toDate(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    QDate date;
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        date = value.toDate();
    else if (value.typeId() == QMetaType::QString)
        date = QDate::fromString(value.toString().trimmed(), Qt::ISODate);
    if (!date.isValid() || daysOf(date) < 1 || daysOf(date) > 2147483647)
        throwMisfit(field, value, tableName);
    return date;
}

QVariant toTime(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    QTime time;
    if (value.typeId() == QMetaType::QTime || value.typeId() == QMetaType::QDateTime)
        time = value.toTime();
    else if (value.typeId() == QMetaType::QString)
        time = QTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
    if (!time.isValid())
        throwMisfit(field, value, tableName);
    return time;
}

QVariant toTimestamp(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    QDateTime stamp;
    if (value.typeId() == QMetaType::QDateTime)
        stamp = value.toDateTime();
    else if (value.typeId() == QMetaType::QDate)
        stamp = QDateTime(value.toDate(), QTime(0, 0));
    else if (value.typeId() == QMetaType::QString)
        stamp = QDateTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
    if (!stamp.isValid() || daysOf(stamp.date()) < 1)
        throwMisfit(field, value, tableName);
    return stamp;
}

QVariant toLogical(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    if (value.typeId() != QMetaType::QString)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    static const QStringList yes = {QStringLiteral("true"), QStringLiteral("t"), QStringLiteral("yes"),
                                    QStringLiteral("y"), QStringLiteral("1")};
    static const QStringList no = {QStringLiteral("false"), QStringLiteral("f"), QStringLiteral("no"),
                                   QStringLiteral("n"), QStringLiteral("0")};
    if (yes.contains(text))
        return true;
    if (no.contains(text))
        return false;
    throwMisfit(field, value, tableName);
}

QString toText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODate);
    return value.toString();
}

} // namespace

int fieldByteSize(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes: return field.size;
    case FieldType::Logical: return 1;
    case FieldType::Short: return 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoInc: return 4;
    case FieldType::Money:
    case FieldType::Number:
    case FieldType::Timestamp: return 8;
    case FieldType::BCD: return bcdBytes;
    }
    return 0;
}

bool hasReadableValue(FieldType type)
{
    switch (type) {
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes: return false;
    default: return true;
    }
}

QVariant decodeValue(const FieldDef &field, const char *bytes, CodePageText &text)
{
    const int size = fieldByteSize(field);
    if (!hasReadableValue(field.type) || isBlank(bytes, size))
        return {};
    switch (field.type) {
    case FieldType::Alpha: return text.decode(bytes, static_cast<int>(qstrnlen(bytes, size)));
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: return readInt(bytes, size);
    case FieldType::Money:
    case FieldType::Number: return readDouble(bytes);
    case FieldType::BCD: return readBcd(bytes);
    case FieldType::Logical: return static_cast<unsigned char>(bytes[0]) != 0x80;
    case FieldType::Date: return dateFromDays(readInt(bytes, 4));
    case FieldType::Time: return QTime::fromMSecsSinceStartOfDay(readInt(bytes, 4) % msPerDay);
    case FieldType::Timestamp: {
        const double stored = readDouble(bytes);
        if (!(stored >= 0 && stored < 1e17))
            return {};
        const auto ms = static_cast<qint64>(stored);
        return QDateTime(dateFromDays(ms / msPerDay), QTime::fromMSecsSinceStartOfDay(ms % msPerDay));
    }
    default: return {};
    }
}

QVariant convertValue(const FieldDef &field, const QVariant &value, const QString &tableName)
{
    const bool emptyText = value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
    if (value.isNull() || !hasReadableValue(field.type) || (emptyText && field.type != FieldType::Alpha))
        return {};
    switch (field.type) {
    case FieldType::Alpha: return toText(value);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: return toInteger(field, value, tableName);
    case FieldType::Money:
    case FieldType::Number:
    case FieldType::BCD: return toDouble(field, value, tableName);
    case FieldType::Logical: return toLogical(field, value, tableName);
    case FieldType::Date: return toDate(field, value, tableName);
    case FieldType::Time: return toTime(field, value, tableName);
    case FieldType::Timestamp: return toTimestamp(field, value, tableName);
    default: return {};
    }
}

void encodeValue(const FieldDef &field, const QVariant &value, char *out, CodePageText &text,
                 const QString &tableName)
{
    const QVariant v = convertValue(field, value, tableName);
    const int size = fieldByteSize(field);
    std::memset(out, 0, size);
    if (v.isNull())
        return;
    switch (field.type) {
    case FieldType::Alpha: {
        const QByteArray bytes = text.encode(v.toString());
        std::memcpy(out, bytes.constData(), std::min<int>(bytes.size(), size));
        break;
    }
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: writeInt(v.toInt(), out, size); break;
    case FieldType::Money:
    case FieldType::Number: writeDouble(v.toDouble(), out); break;
    case FieldType::BCD:
        if (!writeBcd(v.toDouble(), field.size, out))
            throwMisfit(field, value, tableName);
        break;
    case FieldType::Logical: out[0] = static_cast<char>(v.toBool() ? 0x81 : 0x80); break;
    case FieldType::Date: writeInt(static_cast<qint32>(daysOf(v.toDate())), out, 4); break;
    case FieldType::Time: writeInt(v.toTime().msecsSinceStartOfDay(), out, 4); break;
    case FieldType::Timestamp: {
        const QDateTime stamp = v.toDateTime();
        writeDouble(static_cast<double>(daysOf(stamp.date()) * msPerDay + stamp.time().msecsSinceStartOfDay()), out);
        break;
    }
    default: break;
    }
}

} // namespace db
