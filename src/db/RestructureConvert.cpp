#include "db/RestructureConvert.h"

#include "platform/FloatFormat.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <optional>

namespace db {

namespace {

bool isBlank(const QVariant &value) {
    return !value.isValid() || value.isNull();
}

QString timeText(const QTime &time) {
    return time.toString(time.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
}

QString textOf(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::Double:
        return generalFloatText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return timeText(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        return stamp.date().toString(Qt::ISODate) + QLatin1Char(' ') + timeText(stamp.time());
    }
    case QMetaType::QByteArray:
        return QString();
    default:
        return value.toString();
    }
}

std::optional<double> numberOf(const QVariant &value) {
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        number = QLocale::c().toDouble(text, &ok);
        if (!ok)
            number = QLocale::system().toDouble(text, &ok);
        break;
    }
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
    case QMetaType::QByteArray:
        break;
    default:
        number = value.toDouble(&ok);
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

QVariant integerOf(const QVariant &value, qint64 limit) {
    const std::optional<double> number = numberOf(value);
    if (!number)
        return {};
    const double rounded = std::round(*number);
    // The most negative value of each width is the stored form of blank, so the range is symmetric.
    if (rounded < -double(limit) || rounded > double(limit))
        return {};
    return int(rounded);
}

QVariant doubleOf(const QVariant &value, int decimals = -1) {
    std::optional<double> number = numberOf(value);
    if (!number)
        return {};
    if (decimals >= 0 && decimals <= 15) {
        const double scale = std::pow(10.0, decimals);
        number = std::round(*number * scale) / scale;
    }
    return *number;
}

QVariant alphaOf(const QVariant &value, int length) {
    QString text = textOf(value);
    if (text.size() > length) {
        text.truncate(length);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
    }
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant dateOf(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value;
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid())
            date = QLocale::system().toDate(text, QLocale::ShortFormat);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    default:
        return {};
    }
}

QVariant timeOf(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QTime:
        return value;
    case QMetaType::QDateTime:
        return value.toDateTime().time();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        QTime time = QTime::fromString(text, Qt::ISODateWithMs);
        if (!time.isValid())
            time = QLocale::system().toTime(text, QLocale::ShortFormat);
        return time.isValid() ? QVariant(time) : QVariant();
    }
    default:
        return {};
    }
}

QVariant timestampOf(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value;
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        QDateTime stamp = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (!stamp.isValid())
            stamp = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!stamp.isValid())
            stamp = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (stamp.isValid())
            return stamp;
        const QVariant date = dateOf(value);
        return date.isValid() ? QVariant(QDateTime(date.toDate(), QTime(0, 0))) : QVariant();
    }
    default:
        return {};
    }
}

QVariant logicalOf(const QVariant &value) {
    if (value.typeId() == QMetaType::Bool)
        return value;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    const std::optional<double> number = numberOf(value);
    return number ? QVariant(*number != 0) : QVariant();
}

} // namespace

QVariant convertFieldValue(const QVariant &value, const FieldDef &target) {
    if (isBlank(value))
        return {};
    switch (target.type) {
    case FieldType::Alpha:
        return alphaOf(value, target.size);
    case FieldType::Short:
        return integerOf(value, 32767);
    case FieldType::Long:
    case FieldType::AutoInc:
        return integerOf(value, 2147483647);
    case FieldType::Number:
    case FieldType::Money:
        return doubleOf(value);
    case FieldType::BCD:
        return doubleOf(value, target.size);
    case FieldType::Date:
        return dateOf(value);
    case FieldType::Time:
        return timeOf(value);
    case FieldType::Timestamp:
        return timestampOf(value);
    case FieldType::Logical:
        return logicalOf(value);
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return {}; // their data lives outside the table file and is not carried over
    case FieldType::Bytes:
        return value.typeId() == QMetaType::QByteArray ? QVariant(value.toByteArray().left(target.size)) : QVariant();
    }
    return {};
}

} // namespace db
