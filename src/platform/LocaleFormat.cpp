#include "platform/LocaleFormat.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

QString longDateText(const QDate &date)
{
    const QLocale locale = QLocale::system();
    return locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(", ") +
           locale.standaloneMonthName(date.month(), QLocale::LongFormat) + QLatin1Char(' ') +
           QString::number(date.day()) + QStringLiteral(", ") + QString::number(date.year());
}

QString stampText(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return QLocale::system().standaloneMonthName(date.month(), QLocale::LongFormat) + QLatin1Char(' ') +
           QString::number(date.day()) + QStringLiteral(", ") + QString::number(date.year()) +
           QStringLiteral(" - ") + QStringLiteral("%1:%2").arg(time.hour(), 2, 10, QLatin1Char('0'))
                                       .arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString sumText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // 15 significant digits "d.dddddddddddddde±x", then decimal rounding at
    // the hundredths, half away from zero.
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const int ePos = scientific.indexOf(QLatin1Char('e'));
    const QString digits = scientific.left(ePos).remove(QLatin1Char('.'));
    const int shift = scientific.mid(ePos + 1).toInt() - 12; // digits × 10^shift = value × 100
    QString hundredths;
    if (shift >= 0) {
        hundredths = digits + QString(shift, QLatin1Char('0'));
    } else {
        const int keep = digits.size() + shift;
        hundredths = keep > 0 ? digits.left(keep) : QStringLiteral("0");
        if (keep >= 0 && digits.at(keep) >= QLatin1Char('5')) {
            int i = hundredths.size() - 1;
            for (; i >= 0 && hundredths.at(i) == QLatin1Char('9'); --i)
                hundredths[i] = QLatin1Char('0');
            if (i < 0)
                hundredths.prepend(QLatin1Char('1'));
            else
                hundredths[i] = QChar(hundredths.at(i).unicode() + 1);
        }
    }
    hundredths.remove(QRegularExpression(QStringLiteral("^0+(?=\\d{3})")));
    hundredths = hundredths.rightJustified(3, QLatin1Char('0'));
    const QString text = hundredths.chopped(2) + QLocale::system().decimalPoint() + hundredths.right(2);
    const bool zero = !hundredths.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return value < 0 && !zero ? QLatin1Char('-') + text : text;
}

QString defaultDateTimeText(const QDateTime &dateTime)
{
    const QLocale locale = QLocale::system();
    // The long time form without the time-zone name.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(dateTime.time(), timeFormat.trimmed());
}
