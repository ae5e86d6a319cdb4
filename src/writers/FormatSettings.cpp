#include "writers/FormatSettings.h"

#include <QRegularExpression>

namespace {

QString quoted(QChar c) {
    return QLatin1Char('\'') + c + QLatin1Char('\'');
}

// The Qt pattern for dates: the "/" placeholders become the date separator.
QString qtDatePattern(const FormatSettings &settings) {
    QString pattern = settings.shortDatePattern;
    return pattern.replace(QLatin1Char('/'), quoted(settings.dateSeparator));
}

QString qtTimePattern(const FormatSettings &settings) {
    const QString separator = quoted(settings.timeSeparator);
    return QStringLiteral("hh") + separator + QStringLiteral("mm") + separator + QStringLiteral("ss");
}

} // namespace

FormatSettings FormatSettings::fromLocale(const QLocale &locale) {
    FormatSettings settings;
    settings.decimalSeparator = locale.decimalPoint().at(0);
    settings.thousandSeparator = locale.groupSeparator().isEmpty() ? QChar() : locale.groupSeparator().at(0);
    settings.currencyString = locale.currencySymbol();
    settings.shortDatePattern = localeShortDatePattern(locale);
    settings.shortTimePattern = localeShortTimePattern(locale);
    const QRegularExpression separator(QStringLiteral("[^A-Za-z]"));
    const QRegularExpressionMatch date = separator.match(locale.dateFormat(QLocale::ShortFormat));
    settings.dateSeparator = date.hasMatch() ? date.captured().at(0) : QLatin1Char('/');
    const QRegularExpressionMatch time = separator.match(locale.timeFormat(QLocale::ShortFormat));
    settings.timeSeparator = time.hasMatch() ? time.captured().at(0) : QLatin1Char(':');
    return settings;
}

QString FormatSettings::dateText(const QDate &date) const {
    return QLocale::c().toString(date, qtDatePattern(*this));
}

QString FormatSettings::timeText(const QTime &time) const {
    return QLocale::c().toString(time, qtTimePattern(*this));
}

QString FormatSettings::dateTimeText(const QDateTime &dateTime) const {
    return dateText(dateTime.date()) + QLatin1Char(' ') + timeText(dateTime.time());
}

QDate FormatSettings::parseDate(const QString &text) const {
    return QLocale::c().toDate(text, qtDatePattern(*this));
}

QTime FormatSettings::parseTime(const QString &text) const {
    return QLocale::c().toTime(text, qtTimePattern(*this));
}

QDateTime FormatSettings::parseDateTime(const QString &text) const {
    return QLocale::c().toDateTime(text, qtDatePattern(*this) + QLatin1Char(' ') + qtTimePattern(*this));
}

bool FormatSettings::parseNumber(const QString &text, double *value) const {
    if (decimalSeparator != QLatin1Char('.') && text.contains(QLatin1Char('.')))
        return false;
    bool ok = false;
    *value = QString(text).replace(decimalSeparator, QLatin1Char('.')).toDouble(&ok);
    return ok;
}

QString localeShortDatePattern(const QLocale &locale) {
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QStringLiteral("yyyy")))
        pattern.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return pattern;
}

QString localeShortTimePattern(const QLocale &locale) {
    const QString qtPattern = locale.timeFormat(QLocale::ShortFormat);
    const int hour = qtPattern.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    const int marker = qtPattern.indexOf(QRegularExpression(QStringLiteral("[aA]")));
    const bool leadingZero = qtPattern.contains(QStringLiteral("hh"), Qt::CaseInsensitive);
    const QString clock = (leadingZero ? QStringLiteral("hh") : QStringLiteral("h")) + QStringLiteral(":mm");
    if (marker < 0)
        return clock;
    return marker < hour ? QStringLiteral("AMPM ") + clock : clock + QStringLiteral(" AMPM");
}
